#pragma once
// The "System Setting" tab: the desktop's double-click time, pointer speed,
// "Enhance pointer precision" and wheel scroll lines as the current profile
// keeps them, and a test area. Every change is stored in the profile at once
// and reaches the desktop through the one pending action, 500 ms after the
// last change.
//
// Its track bars, check box and radios report every change, the page's own
// too: a reload after start-up stores the values back and leaves the last
// changed control's action pending, so the loaded profile's settings reach
// the desktop half a second later.
//
// A setting the desktop's pointer-settings back end cannot take (GNOME: the
// scroll lines; plain X11: speed, double-click time and scroll lines) is
// shown disabled, with the back end's reason as tool tip and accessible
// description; its value stays in the profile and is loaded and stored as
// any other.

#include "app/pages/PageContext.h"

#include <QWidget>

#include <memory>

namespace k4812 {

class PointerSettings;

// The window's TimerDoAction: a 500 ms wait on `timer` (a QTimer unless the
// window injects its clock) whose end applies the pending action through
// `settings` with the current profile's values, under the busy cursor.
std::unique_ptr<PendingSystemAction> makeTimerDoAction(TDM& dm, MainWindowState& state,
                                                       std::shared_ptr<PointerSettings> settings,
                                                       std::unique_ptr<ActionTimer> timer = makeQtActionTimer());

class CheckBox;
class ImageView;
class RadioButton;
class TrackBar;

class SystemSettingPage final : public QWidget {
    Q_OBJECT
public:
    // The page's English title, shown translated on its tab.
    static constexpr const char* kTitle = "System Setting";

    SystemSettingPage(PageContext context, QWidget* parent = nullptr);

    // The "SetMouseParam" command.
    void LoadSystemPage();

private:
    void DOSpeedValueChangedEvent(QObject* sender);
    void schedule(const char* action);
    void markWhatTheDesktopCannotApply();

    bool initializing() const { return m_ctx.initializing && m_ctx.initializing(); }
    TMOUSEPROFILEINFO& profile() { return m_ctx.dm->FCurrentProfileInfo(); }

    PageContext m_ctx;
    TrackBar* m_doubleClick = nullptr;
    TrackBar* m_pointerSpeed = nullptr;
    CheckBox* m_enhance = nullptr;
    RadioButton* m_scroll = nullptr;
    TrackBar* m_scrollSpeed = nullptr;
    RadioButton* m_onePage = nullptr;
    ImageView* m_testImage = nullptr;
    bool m_scrollApplies = true; // the desktop takes the wheel's scroll lines
};

} // namespace k4812
