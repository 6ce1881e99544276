#pragma once
// The button column of the main window: the nine entries (seven buttons, two
// wheel directions), their menus, and what a choice in them stores.
//
// A click on an entry opens its menu beside it with the entry's stored choice
// marked; a choice goes through the core's assignment rules into the current
// profile (TDM's working copy, written back into its store) and the entry's
// text follows. Choices that need a value first run their dialog; Cancel
// stores nothing. Any choice in the button menus marks the settings as
// changed (a cancelled dialog too), a wheel choice does not: the mouse does
// not carry the wheel's functions.
//
// The dialogs and the message box are injected, so tests answer them; the
// defaults are the program's own dialogs.

#include "records/Records.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class QAbstractButton;

namespace k4812 {

class GlyphWarmer;
class TDM;
class TuiMenuEx;
class TuiMenuItemEx;
struct MainWindowState;

class ButtonAssignmentPanel final : public QObject {
    Q_OBJECT
public:
    static constexpr int kButtonEntries = 7;
    static constexpr int kWheelEntries = 2;

    struct Dialogs {
        std::function<int(TSINGLEKEYINFO&)> singleKey;
        std::function<int(TCOMBOKEYINFO&)> comboKey;
        std::function<int(TFIREKEYINFO&)> fire;
        // List, macro to select (in and out), macro folder.
        std::function<int(TMACROKEYINFOLIST&, int&, const QString&)> macroManager;
        // Title and text, both translated by the caller; 1 for OK.
        std::function<int(const QString&, const QString&)> message;
    };

    // BtnSet1 ... BtnSet7, then BtnSet8 and Btnset9 (wheel up, wheel down).
    struct Entries {
        std::array<QAbstractButton*, kButtonEntries> buttons{};
        std::array<QAbstractButton*, kWheelEntries> wheels{};
    };

    // Empty members of `dialogs` take the program's dialogs, parented to `window`.
    ButtonAssignmentPanel(TDM& dm, MainWindowState& state, Entries entries, Dialogs dialogs = {},
                          QWidget* window = nullptr);
    ~ButtonAssignmentPanel() override;

    // Prepares, in steps from the event loop, the font and the glyphs that
    // the first opening of the entries' menus would load on the spot
    // (GlyphWarmer.h); the window asks once its first frame is out.
    void prepareMenus();

    TuiMenuEx& uiMenuEx1() { return *m_menu1; }
    TuiMenuEx& uiMenuExLRBUTTON() { return *m_menuLR; }
    TuiMenuEx& uiMenuEx2() { return *m_menu2; }

    // Entry clicks: remember the entry and open its menu beside it.
    void BtnSet1Click(int tag);   // entries 1 and 2
    void BtnSet3Click(int tag);   // entries 3 to 7
    void BtnSet8Click(int tag);   // wheel entries (tag 0 or 1)

    // Menu clicks.
    void uiMenuEx1ItemsClick(quint32 AMenuItemID);
    void uiMenuEx2ItemsClick(quint32 AMenuItemID);

    void AssignButtonFunction(int tag, int id);
    void AssignWheelFunction(int id);

    void SetButtonText(int index, int id);
    void SetWheelButtonText(int index, int id);
    // The hint of button entry `tag`, set when the pointer enters it.
    void UpdateButtonHint(int tag);
    void RebuildMacroMenu();
    // After the macro manager: every macro button matched again by name.
    void SweepMacroButtons();
    // The Macro sub-menu and the nine entries' texts from the current profile.
    void RefreshButtonTexts();
    // After a language switch: an open menu shows its items in the new language.
    void UpdateMenuStates();

    int FPlaceButtonTag = 0;
    int FPlaceWheelButtonTag = 0;
    int FCurrentMacro = 0;
    QString FMacroPath;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMOUSEPROFILEINFO& profile();
    void store(int tag, int id);
    void warnTooManyMacros();
    void warnKeyNotSendable(const QString& keyText);
    void assignSingleKey(int tag);
    void assignComboKey(int tag);
    void assignFireKey(int tag);
    void assignMacro(int tag, int id);
    void runMacroManager(int tag);
    QString currentMacroPath();

    TDM& m_dm;
    MainWindowState& m_state;
    Entries m_entries;
    Dialogs m_dialogs;
    TuiMenuEx* m_menu1 = nullptr;
    TuiMenuEx* m_menuLR = nullptr;
    TuiMenuEx* m_menu2 = nullptr;
    std::unique_ptr<GlyphWarmer> m_menuWarmer;
};

} // namespace k4812
