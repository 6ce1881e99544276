// REvo2: a stand-in for the mouse's companion monitor program.
//
//   REvo2 [--log FILE] [--stay]          own the TK4812MonMain window and log
//                                        every message it receives; it ends a few
//                                        seconds after the configuration window
//                                        has gone, unless --stay
//   REvo2 --send close|language|reload   post UM_CLOSE_CONFIG, UM_LANGUAGE_CHANGED
//                                        or UM_RELOAD_PROFILE to the configuration
//                                        window; exit 1 when there is none
//
// SIGINT and SIGTERM end the monitor cleanly (its socket is removed).

#include "MonitorStandIn.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowMessages.h"

#include <QCommandLineParser>
#include <QCoreApplication>
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(kMonitorProgramFile));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in for the K4812 monitor program."));
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
    MonitorStandIn monitor(out, parser.value(logOption));
    QString error;
    if (!monitor.start(&error)) {
        err << "REvo2: " << error << Qt::endl;
        return 1;
    }
    if (!parser.isSet(stayOption))
        monitor.followWindow(absentMs);
    quitOnSignals(app);
    return QCoreApplication::exec();
}
