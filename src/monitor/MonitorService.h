#pragma once
// The monitor's work, without its windows: it follows the focused
// application and switches the mouse's mode by the rules, makes the switches
// the tray asks for, and keeps its status file up to date. One runs per user
// session: start() takes the lock "TK4812MonMain" in the runtime folder.
//
// Every switch goes through MonitorCore (the mode buttons' sequence under the
// mouse's lock). A focus change that wants another mode within a second of
// the last switch is held back and made when the second is over, if the
// focus has not moved on.

#include "monitor/FocusSource.h"
#include "monitor/MonitorCore.h"
#include "monitor/MonitorSettings.h"
#include "monitor/MonitorStatus.h"
#include "monitor/SwitchDecision.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace k4812 {

class HotplugSource;
class SingleInstanceLock;

// The texts of the monitor's notifications and tray, in English (the source
// texts of the translation).
inline constexpr const char* kTextModeSwitched = "Switched to %1";
inline constexpr const char* kTextMouseConnected = "Mouse connected";
inline constexpr const char* kTextMouseDisconnected = "Mouse disconnected";
inline constexpr const char* kTextProfileOf = "%1: profile %2";

// Makes the stored interface language (CurrentLanguage, as the window keeps
// it) the active translation; English when it cannot be read.
void UseStoredLanguage();

class MonitorService final : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString settingsPath = MonitorSettings::defaultPath();
        QString statusPath = MonitorStatus::defaultPath();
        bool startedWithDesktop = false;
        int deviceWaitMs = 2000;
    };

    MonitorService(TuiHIDData& device, SequenceHost& host, Options options, QObject* parent = nullptr);
    ~MonitorService() override;

    // Takes the session's monitor lock and reads the settings; false, with
    // `error` set, when another monitor runs or the settings cannot be read.
    bool start(QString& error);

    // Starts following `source` (nullptr: none, for `reason`); a source
    // that cannot start is dropped with its reason.
    void setFocusSource(std::unique_ptr<FocusSource> source, const QString& reason);
    void setTray(bool available, const QString& reason);
    // The clock of the switch rule (milliseconds, only differences count).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // It has work of its own and outlives the configuration window: rules to
    // follow, or it was started with the desktop.
    bool hasWork() const;

    const MonitorSettings& settings() const { return m_settings; }
    // Where notifications go (summary, body); none by default.
    void setNotifier(std::function<void(const QString&, const QString&)> notify) { m_notify = std::move(notify); }
    // Notices the mouse coming and going from `source`'s events.
    void watchHotplug(HotplugSource& source);
    bool mousePresent() const { return m_present; }

    // Stores changed settings; false, with `error` set, when they cannot be stored.
    bool changeSettings(const MonitorSettings& settings, QString& error);
    // Reads the settings file again (k4812ctl changes it).
    void reloadSettings();

    MonitorCore& core() { return m_core; }
    const MonitorStatus& status() const { return m_status; }

    // A switch asked for by the user (the tray's menu).
    ModeSwitchOutcome switchMode(int mode);
    // A profile chosen in the tray's menu (bound to the active mode).
    ModeSwitchOutcome switchProfile(int profile);
    // The focus moved to `app`.
    void focusChanged(const QString& app);
    // Makes a switch held back by the once-a-second limit when it is due (a
    // timer calls it then).
    void tick();

signals:
    // A switch to `mode` begins (the moment the once-a-second limit counts).
    void switchStarting(int mode);
    // The monitor switched the mouse to `mode` (0 or 1).
    void modeSwitched(int mode);
    // A switch could not be made, with the reason.
    void switchRefused(const QString& reason);
    // The profile of the active mode was changed from the tray.
    void profileSwitched(int profile);
    // The mouse was plugged in (true) or out.
    void mousePresenceChanged(bool present);
    // A focus change has been dealt with (any switch it made is over).
    void focusHandled(const QString& app);

private:
    void writeStatus();
    // Runs tick() when the held-back switch is due.
    void armHeldBack();
    void checkPresence();
    // A focus change that came during a switch's pauses, handled now.
    void takeUpFocusDuringSwitch();

    TuiHIDData& m_device;
    Options m_options;
    MonitorCore m_core;
    MonitorSettings m_settings;
    SwitchDecision m_decision;
    std::unique_ptr<SingleInstanceLock> m_lock;
    std::unique_ptr<FocusSource> m_focus;
    MonitorStatus m_status;
    QTimer m_heldBack;
    QElapsedTimer m_elapsed;
    std::function<qint64()> m_clock;
    bool m_switching = false;
    bool m_present = false;
    std::function<void(const QString&, const QString&)> m_notify;
    std::optional<QString> m_focusDuringSwitch;
};

} // namespace k4812
