#pragma once
// The macro manager: the modal window in which the user creates, deletes,
// records and edits the macros of the current profile.
//
// Three columns: the macro list with New and Delete; the action editor (the
// selected macro's actions, its totals, the record buttons); the recording
// options. Every edit goes at once into the working copy
// (MacroManagerSession); the window keeps no macro state of its own beyond
// what its controls show. OK writes the working copy back to the caller and
// every macro to its file; CANCEL (after asking) and the close button leave
// the caller's list as it was.
//
// Escape asks as CANCEL does; the window system's close leaves as the close
// button does.
//
// Recording runs through TuiHook's macro recorder: while it runs the action
// list shows the keys as they come (LiveRecordingRows), only the stop button
// works, by pointer (no key works the window, Escape included, and the
// window system's close is refused), and the window holds the keyboard; at
// the stop the recording becomes the selected macro's actions (replace mode,
// the start button) or is inserted after the selected action ("Insert
// Actions").

#include "app/macro/LiveRecordingRows.h"
#include "app/macro/MacroManagerEnvironment.h"
#include "app/macro/MacroManagerSession.h"
#include "ui/windows/SkinDialog.h"

#include <memory>
#include <vector>

class QAbstractButton;
class QListWidget;

namespace k4812 {

class CheckBox;
class ListBox;
class NumberBox;
class ScopedKeyboardGrab;
class SkinButton;
class SkinLabel;
class TuiMenuEx;

class TFrmMacro final : public SkinDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 760;
    static constexpr int kHeight = 520;

    // Action tools menu items, by item number.
    enum ActionTool {
        kInsertActions = 1, kDeleteAction, kMoveActionUp, kMoveActionDown, kCopyAction, kCutAction, kPasteAction
    };

    // `session` is the working copy; OK commits it into `list` and `index`.
    TFrmMacro(MacroManagerSession& session, TMACROKEYINFOLIST& list, int& index, MacroManagerEnvironment environment,
              QWidget* parent = nullptr);
    ~TFrmMacro() override;

    TuiMacroClass& FMacroClass() { return m_session.macros(); }
    TuiHook& hook() { return *m_hook; }
    bool recording() const { return m_recording; }
    TuiMenuEx& actionMenu() { return *m_actionMenu; }

    void FillMacroList();
    void ShowMacroActions();

    // Handlers, public so that the window's behaviour can be driven without a pointer.
    void BTNNEWClick();
    void BTNDELETEClick();
    void BTNSTARTRECORDClick();
    void BTNSTOPRECORDClick();
    void BTNOKClick();
    void BTNCANCELClick();
    void ActionToolsClick(int item);

    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SkinLabel* addLabel(const char* objectName, const char* text, const QRect& geometry);
    SkinButton* addButton(const char* objectName, const QRect& geometry);
    CheckBox* addOption(const char* objectName, const char* text, const QRect& geometry);
    void buildActionMenu();

    RecordingOptions recordingOptions() const;
    void startRecording(LiveRecordingRows::Mode mode);
    void setRecordingControls(bool recording);
    void onMacroKey(int state, std::uint32_t totalTime, const QString& keyName);
    void onRecordingStopped(const std::vector<TMACROKEYHOOK>& recording);

    void macroRowChanged(int row);
    void actionRowChanged(int row);
    void selectActionRow(int actionIndex);
    void setErrorIcons();
    void showTotals();
    void afterActionEdit();
    // Keeps the action editor on the action the list shows selected (a
    // fresh editor starts on the first action).
    void syncActionIndex();
    void storeLoopValue();

    void editDelay(int row);
    void commitDelayEdit();

    int ask(const char* title, const char* text);

    MacroManagerSession& m_session;
    TMACROKEYINFOLIST& m_callerList;
    int& m_callerIndex;
    MacroManagerEnvironment m_environment;
    std::unique_ptr<TuiHook> m_hook;
    std::unique_ptr<ScopedKeyboardGrab> m_grab;
    LiveRecordingRows m_live;
    bool m_recording = false;
    bool m_filling = false;
    int m_delayEditRow = -1;
    TuiMenuEx* m_actionMenu = nullptr;

public:
    // Controls, by object name.
    SkinButton* BTNCLOSE = nullptr;
    SkinButton* BTNMIN = nullptr;
    SkinButton* BTNUP = nullptr;
    SkinButton* BTNDOWN = nullptr;
    ListBox* ListBoxMacro = nullptr;
    SkinButton* BTNNEW = nullptr;
    SkinButton* BTNDELETE = nullptr;
    ListBox* ListBoxAction = nullptr;
    NumberBox* DELAYEDIT = nullptr;
    SkinLabel* LabelTotalTime = nullptr;
    SkinLabel* LabelTotalActions = nullptr;
    SkinLabel* LabelReachedMax = nullptr;
    SkinButton* BTNSTARTRECORD = nullptr;
    SkinButton* BTNSTOPRECORD = nullptr;
    CheckBox* OptionRecordDelay = nullptr;
    CheckBox* OptionDefaultDelay = nullptr;
    NumberBox* NumBoxDefaultDelay = nullptr;
    CheckBox* OptionLoop = nullptr;
    NumberBox* NumBoxLoop = nullptr;
    SkinButton* BTNOK = nullptr;
    SkinButton* BTNCANCEL = nullptr;
};

} // namespace k4812
