// REvo2: the mouse's companion monitor program.
//
//   REvo2 [--log FILE] [--stay] [--with-desktop] [--device SEL] [--trace=FILE] [--verbose]
//                                        own the TK4812MonMain window, log every
//                                        message it receives, and switch the mouse's
//                                        mode by the per-application rules; one runs
//                                        per session. Without rules it ends a few
//                                        seconds after the configuration window has
//                                        gone, unless --stay or --with-desktop
//   REvo2 --send close|language|reload   post UM_CLOSE_CONFIG, UM_LANGUAGE_CHANGED
//                                        or UM_RELOAD_PROFILE to the configuration
//                                        window; exit 1 when there is none
//
// SIGINT and SIGTERM end the monitor cleanly (its socket is removed).

#include "MonitorStandIn.h"

#include "app/MonitorTray.h"
#include "emulator/HidBackendFactory.h"
#include "monitor/DesktopNotifier.h"
#include "monitor/MonitorService.h"
#include "monitor/WindowRaiser.h"
#include "platform/desktop/DeviceSequenceLock.h"
#include "platform/hid/TracingHidBackend.h"
#include "platform/hid/UdevHotplugSource.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/SingleInstanceLock.h"
#include "platform/desktop/WindowMessages.h"
#include "platform/storage/IniFile.h"
#include "platform/storage/ProgramFolder.h"
#include "sequences/SequenceHost.h"
#include "i18n/Translation.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QProcess>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace k4812;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// Turns SIGINT and SIGTERM into a quit of the event loop.
void quitOnSignals(QCoreApplication& app)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

// The monitor's side of a device sequence: its pauses keep the event loop
// (and so the monitor's window) running; the monitor is itself the window
// the sequence would tell.
class MonitorHost final : public SequenceHost {
public:
    void pause(int milliseconds) override
    {
        QEventLoop loop;
        QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
        loop.exec();
    }
    SendResult sendToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
    SendResult postToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
};

std::unique_ptr<TuiHIDData> openDevice(const QString& option, const QString& trace, QString& error)
{
    const std::optional<DeviceSelection> selection = resolveDeviceSelection(option, error);
    if (!selection)
        return nullptr;
    std::unique_ptr<HidBackend> backend = createHidBackend(*selection, error);
    if (!backend)
        return nullptr;
    if (!trace.isEmpty()) {
        error = TracingHidBackend::traceFileProblem(trace);
        if (!error.isEmpty())
            return nullptr;
        backend = std::make_unique<TracingHidBackend>(std::move(backend), trace, [](const QString& text) {
            QTextStream(stderr) << "REvo2: warning: " << text << "; the rest of the trace is lost" << Qt::endl;
        });
    }
    const IniFile config = IniFile::fromFile(programFile(QStringLiteral("config.ini")));
    return std::make_unique<TuiHIDData>(std::move(backend), TuiHIDData::readIncludeList(config));
}

int sendToConfigWindow(const QString& what, QTextStream& out, QTextStream& err)
{
    std::int32_t number = 0;
    if (what == QLatin1String("close"))
        number = UM_CLOSE_CONFIG;
    else if (what == QLatin1String("language"))
        number = UM_LANGUAGE_CHANGED;
    else if (what == QLatin1String("reload"))
        number = UM_RELOAD_PROFILE;
    else {
        err << "REvo2: --send takes close, language or reload, not \"" << what << "\"" << Qt::endl;
        return 2;
    }
    const WindowMessage message{number, 0, 0};
    const SendResult result = postWindowMessage(QLatin1String(kConfigWindowClass), message);
    switch (result.status) {
    case SendStatus::Answered:
        out << "sent " << describeWindowMessage(message) << " to " << kConfigWindowClass << Qt::endl;
        return 0;
    case SendStatus::NoWindow:
        err << "REvo2: no configuration window (" << kConfigWindowClass << ") is running" << Qt::endl;
        return 1;
    case SendStatus::TimedOut:
    case SendStatus::Failed:
        break;
    }
    err << "REvo2: cannot send to " << kConfigWindowClass << ": " << result.error << Qt::endl;
    return 1;
}

// A tray needs a display; without one (a session with no desktop) the
// monitor runs on without it.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char* argv[])
{
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (env.contains(QStringLiteral("DISPLAY")) || env.contains(QStringLiteral("WAYLAND_DISPLAY"))
        || env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QLatin1String(kMonitorProgramFile));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The K4812 mouse's monitor: switches its mode by the focused application and shows it in "
                       "the tray."));
    parser.addHelpOption();
    const QCommandLineOption logOption(QStringLiteral("log"), QStringLiteral("Also append every message to FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption sendOption(
        QStringLiteral("send"), QStringLiteral("Post close, language or reload to the configuration window and exit."),
        QStringLiteral("WHAT"));
    const QCommandLineOption stayOption(
        QStringLiteral("stay"), QStringLiteral("Keep running when no configuration window is there."));
    const QCommandLineOption absentOption(
        QStringLiteral("end-after"),
        QStringLiteral("End when no configuration window has been there for MS milliseconds (default 5000)."),
        QStringLiteral("MS"), QStringLiteral("5000"));
    const QCommandLineOption desktopOption(
        QStringLiteral("with-desktop"),
        QStringLiteral("Started with the desktop: keep running when no configuration window is there."));
    const QCommandLineOption deviceOption(
        QStringLiteral("device"), QStringLiteral("The mouse: hidraw, emulator or emulator:FILE (default K4812_DEVICE, else hidraw)."),
        QStringLiteral("SEL"));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"),
        QStringLiteral("Tell on standard error what the monitor does: focus changes, switches, notifications."));
    const QCommandLineOption traceOption(
        QStringLiteral("trace"), QStringLiteral("Append every feature report exchanged to FILE."), QStringLiteral("FILE"));
    parser.addOption(traceOption);
    parser.addOption(verboseOption);
    parser.addOption(desktopOption);
    parser.addOption(deviceOption);
    parser.addOption(logOption);
    parser.addOption(sendOption);
    parser.addOption(stayOption);
    parser.addOption(absentOption);
    if (!parser.parse(QCoreApplication::arguments())) {
        err << "REvo2: " << parser.errorText() << Qt::endl;
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        out << parser.helpText();
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        err << "REvo2: unexpected argument \"" << parser.positionalArguments().first() << "\"" << Qt::endl;
        return 2;
    }
    if (parser.isSet(sendOption))
        return sendToConfigWindow(parser.value(sendOption), out, err);

    bool validAbsence = false;
    const int absentMs = parser.value(absentOption).toInt(&validAbsence);
    if (!validAbsence || absentMs < 0) {
        err << "REvo2: --end-after takes milliseconds, not \"" << parser.value(absentOption) << "\"" << Qt::endl;
        return 2;
    }
    QString error;
    const std::unique_ptr<TuiHIDData> device = openDevice(parser.value(deviceOption), parser.value(traceOption), error);
    if (!device) {
        err << "REvo2: " << error << Qt::endl;
        return 1;
    }
    MonitorHost host;
    MonitorService::Options options;
    options.startedWithDesktop = parser.isSet(desktopOption);
    // A switch waits less for the mouse than a command the user typed,
    // unless the wait is set for every program.
    if (qEnvironmentVariableIsSet("K4812_DEVICE_WAIT_MS"))
        options.deviceWaitMs = DeviceSequenceLock::waitLimitMs();
    MonitorStandIn monitor(out, parser.value(logOption));
    if (!monitor.start(&error)) {
        err << "REvo2: " << error << Qt::endl;
        return 1;
    }
    MonitorService service(*device, host, options);
    if (!service.start(error)) {
        err << "REvo2: " << error << Qt::endl;
        return 1;
    }
    // With --verbose, what the monitor does of its own goes to standard
    // error; the log (and standard output) keep the messages only.
    const bool verbose = parser.isSet(verboseOption);
    const auto note = [&err, verbose](const QString& line) {
        if (verbose)
            err << line << Qt::endl;
    };
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&service, &MonitorService::switchStarting, &monitor, [&note, &clock](int mode) {
        note(QStringLiteral("switching to Mode %1 at %2 ms").arg(mode + 1).arg(clock.elapsed()));
    });
    QObject::connect(&service, &MonitorService::modeSwitched, &monitor,
                     [&note](int mode) { note(QStringLiteral("switched to Mode %1").arg(mode + 1)); });
    QObject::connect(&service, &MonitorService::switchRefused, &monitor,
                     [&note](const QString& reason) { note(QStringLiteral("no switch: ") + reason); });
    QObject::connect(&service, &MonitorService::focusHandled, &monitor,
                     [&note](const QString& focused) { note(QStringLiteral("focus: ") + focused); });
    std::unique_ptr<FocusSource> focus = createFocusSource(QProcessEnvironment::systemEnvironment(), error);
    service.setFocusSource(std::move(focus), error);
    note(service.status().focusSource.isEmpty()
                     ? QStringLiteral("not following the focus: ") + service.status().noFocusReason
                     : QStringLiteral("following the focus through ") + service.status().focusSource);
    // The language the window stores; the tray's title (what panels list it
    // as) is the application's title in it.
    const auto useLanguage = [] {
        UseStoredLanguage();
        QGuiApplication::setApplicationDisplayName(translate(QLatin1String(kApplicationTitle)));
    };
    useLanguage();
    MonitorTray::Actions trayActions;
    trayActions.quit = [] { QCoreApplication::quit(); };
    trayActions.monitorProgram = QCoreApplication::applicationFilePath();
    trayActions.openSettings = [&note] {
        // A second k4812-config would end at once, showing nothing: the one
        // that runs is brought forward instead.
        if (const std::optional<qint64> pid = SingleInstanceLock::runningHolder()) {
            QString problem;
            if (raiseWindowOfProcess(*pid, QProcessEnvironment::systemEnvironment(), problem))
                note(QStringLiteral("brought the configuration window (process %1) forward").arg(*pid));
            else
                note(QStringLiteral("cannot bring the configuration window forward: ") + problem);
            return problem;
        }
        if (!QProcess::startDetached(programFile(QStringLiteral("k4812-config")), {}))
            return QStringLiteral("cannot start %1").arg(programFile(QStringLiteral("k4812-config")));
        return QString();
    };
    std::unique_ptr<MonitorTray> tray;
    if (qobject_cast<QApplication*>(&app) != nullptr) {
        tray = std::make_unique<MonitorTray>(service, trayActions);
        const bool shown = tray->show();
        service.setTray(shown, QStringLiteral("the desktop has no system tray"));
        if (!shown)
            tray.reset();
    } else {
        service.setTray(false, QStringLiteral("no display"));
    }

    DesktopNotifier notifier;
    service.setNotifier([&notifier, &note](const QString& summary, const QString& body) {
        note(QStringLiteral("notification: ") + summary + (body.isEmpty() ? QString() : QStringLiteral(" / ") + body));
        notifier.notify(summary, body);
    });
    QString hotplugError;
    const std::unique_ptr<UdevHotplugSource> hotplug = UdevHotplugSource::create(&hotplugError);
    if (hotplug)
        service.watchHotplug(*hotplug);
    else
        note(QStringLiteral("not watching the mouse come and go: ") + hotplugError);
    monitor.onMessage = [&tray, &useLanguage](const WindowMessage& message) {
        if (message.message == UM_LANGUAGE_CHANGED) {
            useLanguage();
            if (tray)
                tray->retranslate();
        } else if (message.message == UM_DEVICE_SETTINGS_CHANGED && tray) {
            // The window switched the mode or profile, or applied.
            tray->refresh();
        }
    };
    if (!parser.isSet(stayOption) && !service.hasWork())
        monitor.followWindow(absentMs);
    quitOnSignals(app);
    return QCoreApplication::exec();
}
