#pragma once
// The monitor's tray icon: the active mode as a digit drawn at run time, a
// tooltip with the profile of each mode, whether the mouse is there and why
// nothing switches, and a menu: "Mode 1", "Mode 2", the five profiles for
// the active mode, "Use Mode N for <focused application>", "Start with the
// desktop", "Open settings" and "Quit". Its texts follow the active
// translation (retranslate()).

#include "monitor/MonitorService.h"

#include <QIcon>
#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace k4812 {

class MonitorTray final : public QObject {
    Q_OBJECT
public:
    struct Actions {
        // Starts the configuration window or brings the open one forward;
        // why it could not (a reason, in English), or an empty text.
        std::function<QString()> openSettings;
        std::function<void()> quit;
        QString monitorProgram;               // for the autostart entry
    };

    MonitorTray(MonitorService& service, Actions actions, QObject* parent = nullptr);
    ~MonitorTray() override;

    // Shows the icon when the desktop has a tray; false (and nothing shown) otherwise.
    bool show();

    // Fills texts, checks, icon and tooltip from the monitor's state.
    void refresh();
    void retranslate() { refresh(); }

    QMenu* menu() const { return m_menu.get(); }
    QString toolTip() const;
    QIcon icon() const;

    // The icon of mode `mode` (0 or 1): its digit on a round badge.
    static QIcon modeIcon(int mode);

signals:
    // A problem was told to the user (a switch not made, a setting not stored).
    void problemShown(const QString& text);

private:
    // Refreshes after a switch the user chose; tells why when it was not made.
    void tell(const ModeSwitchOutcome& outcome);
    void useModeForFocusedApp();
    void setStartWithDesktop(bool on);
    void showProblem(const QString& text);

    MonitorService& m_service;
    Actions m_actions;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_tray = nullptr;
    QAction* m_modes[2] = {};
    QAction* m_profiles[5] = {};
    QAction* m_useMode = nullptr;
    QAction* m_startWithDesktop = nullptr;
    QAction* m_openSettings = nullptr;
    QAction* m_quit = nullptr;
    MonitorModes m_modesNow;
};

} // namespace k4812
