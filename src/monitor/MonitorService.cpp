#include "monitor/MonitorService.h"

#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/hid/HotplugSource.h"
#include "profiles/ProfileManager.h"
#include "platform/desktop/SingleInstanceLock.h"
#include "platform/storage/StorageError.h"

#include <QCoreApplication>
#include <QFile>

#include <utility>

namespace k4812 {

void UseStoredLanguage()
{
    int index = -1;
    try {
        index = TDM().FAllProfileSettingInfo().CurrentLanguage;
    } catch (const StorageError&) {
    } catch (const std::logic_error&) {
    }
    TuiLanguage language;
    const QString shortId = language.GetLanguageShortIDByIndex(index);
    language.SetLang(shortId.isEmpty() ? QStringLiteral("en") : shortId);
}

MonitorService::MonitorService(TuiHIDData& device, SequenceHost& host, Options options, QObject* parent)
    : QObject(parent)
    , m_device(device)
    , m_options(std::move(options))
    , m_core(device, host)
{
    m_elapsed.start();
    m_clock = [this] { return m_elapsed.elapsed(); };
    m_heldBack.setSingleShot(true);
    m_heldBack.setTimerType(Qt::PreciseTimer);
    connect(&m_heldBack, &QTimer::timeout, this, &MonitorService::tick);
    m_status.pid = QCoreApplication::applicationPid();
    m_status.noFocusReason = QStringLiteral("not started");
    m_status.noTrayReason = QStringLiteral("not started");
}

MonitorService::~MonitorService()
{
    if (m_lock && m_lock->isHeld() && !m_options.statusPath.isEmpty())
        QFile::remove(m_options.statusPath);
}

bool MonitorService::start(QString& error)
{
    m_lock = std::make_unique<SingleInstanceLock>(QLatin1String(kMonitorWindowClass));
    if (!m_lock->tryAcquire()) {
        error = m_lock->anotherInstance()
                    ? QStringLiteral("a monitor runs already in this session (process %1)")
                          .arg(SingleInstanceLock::runningHolder(QLatin1String(kMonitorWindowClass)).value_or(0))
                    : m_lock->errorString();
        return false;
    }
    const std::optional<MonitorSettings> settings = MonitorSettings::load(m_options.settingsPath, error);
    if (!settings)
        return false;
    m_settings = *settings;
    m_decision.setRules(m_settings.rules, m_settings.returnMode);
    m_present = m_core.mousePresent();
    writeStatus();
    return true;
}

void MonitorService::watchHotplug(HotplugSource& source)
{
    connect(&source, &HotplugSource::deviceEvent, this, &MonitorService::checkPresence);
}

void MonitorService::checkPresence()
{
    const bool present = m_core.mousePresent();
    if (present == m_present)
        return;   // another device, or a change of this one
    m_present = present;
    emit mousePresenceChanged(present);
    reloadSettings();
    if (m_settings.notifyPlug && m_notify)
        m_notify(translate(QLatin1String(present ? kTextMouseConnected : kTextMouseDisconnected)), QString());
}

void MonitorService::setFocusSource(std::unique_ptr<FocusSource> source, const QString& reason)
{
    m_focus = std::move(source);
    QString problem = reason;
    if (m_focus) {
        connect(m_focus.get(), &FocusSource::focusChanged, this, &MonitorService::focusChanged);
        // Started once connected: a source reports the focus it finds at once.
        if (!m_focus->start(problem))
            m_focus.reset();
    }
    m_status.focusSource = m_focus ? m_focus->name() : QString();
    m_status.noFocusReason = m_focus ? QString() : problem;
    writeStatus();
}

void MonitorService::setTray(bool available, const QString& reason)
{
    m_status.tray = available;
    m_status.noTrayReason = available ? QString() : reason;
    writeStatus();
}

bool MonitorService::hasWork() const
{
    return m_options.startedWithDesktop || !m_settings.rules.empty();
}

bool MonitorService::changeSettings(const MonitorSettings& settings, QString& error)
{
    try {
        settings.save(m_options.settingsPath);
    } catch (const StorageError& e) {
        error = e.message();
        return false;
    }
    m_settings = settings;
    m_decision.setRules(m_settings.rules, m_settings.returnMode);
    writeStatus();
    return true;
}

void MonitorService::reloadSettings()
{
    QString error;
    // A file that cannot be read keeps the rules in force.
    if (const std::optional<MonitorSettings> settings = MonitorSettings::load(m_options.settingsPath, error)) {
        m_settings = *settings;
        m_decision.setRules(m_settings.rules, m_settings.returnMode);
    }
}

ModeSwitchOutcome MonitorService::switchMode(int mode)
{
    if (m_switching) {
        ModeSwitchOutcome busy;
        busy.refused = QStringLiteral("a switch is under way");
        return busy;
    }
    // The switch's pauses run the event loop: a focus change meanwhile is
    // taken up once the switch is over.
    m_switching = true;
    emit switchStarting(mode);
    ModeSwitchOutcome outcome = m_core.switchMode(mode, m_options.deviceWaitMs);
    m_switching = false;
    if (outcome.switched) {
        emit modeSwitched(mode);
        if (m_settings.notifySwitch && m_notify) {
            const QString modeName = translate(QStringLiteral("Mode %1").arg(mode + 1));
            QString body;
            QString error;
            if (const std::optional<MonitorModes> modes = m_core.modes(error))
                body = translate(QLatin1String(kTextProfileOf))
                           .arg(modeName)
                           .arg(modes->profileOfMode[std::size_t(mode)] + 1);
            if (!m_status.focusedApp.isEmpty())
                body += QStringLiteral(" (%1)").arg(m_status.focusedApp);
            m_notify(translate(QLatin1String(kTextModeSwitched)).arg(modeName), body);
        }
    }
    else if (!outcome.refused.isEmpty())
        emit switchRefused(outcome.refused);
    m_status.lastSwitch = outcome.switched ? QStringLiteral("Mode %1").arg(mode + 1) : outcome.refused;
    writeStatus();
    takeUpFocusDuringSwitch();
    return outcome;
}

void MonitorService::takeUpFocusDuringSwitch()
{
    if (m_focusDuringSwitch) {
        const QString app = *std::exchange(m_focusDuringSwitch, std::nullopt);
        focusChanged(app);
    }
}

ModeSwitchOutcome MonitorService::switchProfile(int profile)
{
    if (m_switching) {
        ModeSwitchOutcome busy;
        busy.refused = QStringLiteral("a switch is under way");
        return busy;
    }
    m_switching = true;
    ModeSwitchOutcome outcome = m_core.switchProfile(profile, m_options.deviceWaitMs);
    m_switching = false;
    if (outcome.switched)
        emit profileSwitched(profile);
    else if (!outcome.refused.isEmpty())
        emit switchRefused(outcome.refused);
    m_status.lastSwitch = outcome.switched ? QStringLiteral("profile %1").arg(profile + 1) : outcome.refused;
    writeStatus();
    takeUpFocusDuringSwitch();
    return outcome;
}

void MonitorService::focusChanged(const QString& app)
{
    m_status.focusedApp = app;
    if (m_switching) {
        m_focusDuringSwitch = app;
        return;
    }
    reloadSettings();
    QString error;
    const std::optional<MonitorModes> modes = m_core.modes(error);
    if (!modes) {
        m_status.lastSwitch = error;
        writeStatus();
        emit focusHandled(app);
        return;
    }
    const std::optional<int> mode = m_decision.focusChanged(app, m_clock(), modes->activeMode);
    if (mode)
        switchMode(*mode);
    else
        writeStatus();
    armHeldBack();
    emit focusHandled(app);
}

void MonitorService::armHeldBack()
{
    if (const std::optional<qint64> due = m_decision.dueAt())
        m_heldBack.start(int(qMax<qint64>(0, *due - m_clock())));
    else
        m_heldBack.stop();
}

void MonitorService::tick()
{
    QString error;
    const std::optional<MonitorModes> modes = m_core.modes(error);
    if (!modes) {
        armHeldBack();
        return;
    }
    if (const std::optional<int> mode = m_decision.tick(m_clock(), modes->activeMode))
        switchMode(*mode);
    // A timer may fire a little early; the switch then waits for the next.
    armHeldBack();
}

void MonitorService::writeStatus()
{
    m_status.staysRunning = hasWork();
    if (!m_options.statusPath.isEmpty())
        m_status.write(m_options.statusPath);
}

} // namespace k4812
