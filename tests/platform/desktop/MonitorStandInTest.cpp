// The monitor stand-in REvo2, run as its own process.

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowEndpoint.h"
#include "platform/desktop/WindowMessages.h"

#include "QtEventLoop.h"
#include "TestEnvironment.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::runEventsUntil;
using k4812::test::TestEnvironment;

namespace {

const QString kProgram = QStringLiteral(K4812_BIN_DIR "/REvo2");

// Reads the process's standard output until `count` lines have come, or
// gives up after the time-out.
QStringList readLines(QProcess& process, int count, int timeoutMs = 5000)
{
    QStringList lines;
    QDeadlineTimer deadline(timeoutMs);
    while (lines.size() < count && !deadline.hasExpired()) {
        if (!process.canReadLine() && !process.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (process.canReadLine() && lines.size() < count)
            lines << QString::fromUtf8(process.readLine()).trimmed();
    }
    return lines;
}

class MonitorStandInTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (monitor.state() != QProcess::NotRunning) {
            monitor.kill();
            monitor.waitForFinished(5000);
        }
    }

    void startMonitor()
    {
        monitor.start(kProgram, {QStringLiteral("--stay"), QStringLiteral("--log"), logFile});
        ASSERT_TRUE(monitor.waitForStarted(5000)) << monitor.errorString().toStdString();
        ASSERT_EQ(readLines(monitor, 1), QStringList{"listening as TK4812MonMain"});
    }

    TestEnvironment env;
    QString logFile = env.path(QStringLiteral("monitor.log"));
    QProcess monitor;
};

} // namespace

TEST_F(MonitorStandInTest, LogsEveryMessageWithItsNumbersAndAnswersZero)
{
    startMonitor();
    ASSERT_TRUE(findWindow(QLatin1String(kMonitorWindowClass)));

    const SendResult settings = sendWindowMessage(QLatin1String(kMonitorWindowClass), {UM_DEVICE_SETTINGS_CHANGED, 0, 0});
    EXPECT_EQ(settings.status, SendStatus::Answered) << settings.error.toStdString();
    EXPECT_EQ(settings.answer, 0);
    EXPECT_EQ(sendWindowMessage(QLatin1String(kMonitorWindowClass), {UM_LANGUAGE_CHANGED, 0, 0}).status,
              SendStatus::Answered);
    EXPECT_EQ(postWindowMessage(QLatin1String(kMonitorWindowClass), {UM_DEVICE_SETTINGS_CHANGED, 1, 2}).status,
              SendStatus::Answered);

    const QStringList expected{
        "received UM_DEVICE_SETTINGS_CHANGED (7035) wParam=0 lParam=0",
        "received UM_LANGUAGE_CHANGED (7037) wParam=0 lParam=0",
        "received UM_DEVICE_SETTINGS_CHANGED (7035) wParam=1 lParam=2",
    };
    EXPECT_EQ(readLines(monitor, 3), expected);

    monitor.terminate();
    ASSERT_TRUE(monitor.waitForFinished(5000));
    EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(monitor.exitCode(), 0);
    EXPECT_FALSE(findWindow(QLatin1String(kMonitorWindowClass))); // its socket went with it
    EXPECT_EQ(QString::fromUtf8(k4812::test::readFile(logFile)).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList{"listening as TK4812MonMain"} + expected);
}

TEST_F(MonitorStandInTest, SecondMonitorIsRefused)
{
    startMonitor();
    QProcess second;
    second.start(kProgram, {QStringLiteral("--stay")});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_TRUE(second.readAllStandardError().contains("exists already"));
}

TEST_F(MonitorStandInTest, TheSocketOfAKilledMonitorIsTakenOverByTheNext)
{
    startMonitor();
    // Answered: the monitor is set up and in its event loop.
    ASSERT_EQ(sendWindowMessage(QLatin1String(kMonitorWindowClass), {UM_RELOAD_PROFILE, 0, 0}).status,
              SendStatus::Answered);
    const QString socket = windowSocketPath(QLatin1String(kMonitorWindowClass));
    monitor.kill(); // SIGKILL: the socket file stays behind
    ASSERT_TRUE(monitor.waitForFinished(5000));
    ASSERT_TRUE(QFileInfo::exists(socket));
    EXPECT_FALSE(findWindow(QLatin1String(kMonitorWindowClass)));
    EXPECT_EQ(sendWindowMessage(QLatin1String(kMonitorWindowClass), {UM_RELOAD_PROFILE, 0, 0}).status,
              SendStatus::NoWindow);

    startMonitor();
    const SendResult r = sendWindowMessage(QLatin1String(kMonitorWindowClass), {UM_RELOAD_PROFILE, 0, 0});
    EXPECT_EQ(r.status, SendStatus::Answered) << r.error.toStdString() << monitor.readAllStandardError().toStdString();
}

TEST_F(MonitorStandInTest, SendsEachRequestToTheConfigurationWindow)
{
    WindowEndpoint configWindow{QLatin1String(kConfigWindowClass)};
    QList<WindowMessage> received;
    configWindow.setHandler([&](const WindowMessage& m) {
        received << m;
        return 0;
    });
    ASSERT_TRUE(configWindow.listen());

    struct Case {
        const char* what;
        std::int32_t message;
    };
    for (const Case c : {Case{"close", UM_CLOSE_CONFIG}, Case{"language", UM_LANGUAGE_CHANGED},
                         Case{"reload", UM_RELOAD_PROFILE}}) {
        received.clear();
        QProcess sender;
        sender.start(kProgram, {QStringLiteral("--send"), QLatin1String(c.what)});
        ASSERT_TRUE(sender.waitForFinished(10000));
        EXPECT_EQ(sender.exitCode(), 0) << c.what << sender.readAllStandardError().toStdString();
        EXPECT_TRUE(runEventsUntil([&] { return !received.isEmpty(); })) << c.what;
        EXPECT_EQ(received, (QList<WindowMessage>{{c.message, 0, 0}})) << c.what;
    }
}

TEST_F(MonitorStandInTest, SendWithoutAConfigurationWindowFails)
{
    struct Case {
        QStringList args;
        int exitCode;
        const char* error;
    };
    const Case cases[] = {
        {{"--send", "close"}, 1, "no configuration window (TK4812CfgMain) is running"},
        {{"--send", "restart"}, 2, "--send takes close, language or reload"},
    };
    for (const Case& c : cases) {
        QProcess sender;
        sender.start(kProgram, c.args);
        ASSERT_TRUE(sender.waitForFinished(10000));
        EXPECT_EQ(sender.exitCode(), c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(sender.readAllStandardError().contains(c.error)) << c.args.join(' ').toStdString();
    }
}

TEST_F(MonitorStandInTest, EndsSoonAfterTheConfigurationWindowHasGone)
{
    // A configuration window of this process, then none.
    auto window = std::make_unique<WindowEndpoint>(QLatin1String(kConfigWindowClass));
    QString error;
    ASSERT_TRUE(window->listen(&error)) << error.toStdString();
    monitor.setProcessChannelMode(QProcess::MergedChannels);
    monitor.start(kProgram, {QStringLiteral("--end-after"), QStringLiteral("200")});
    ASSERT_TRUE(monitor.waitForStarted(5000));
    // The endpoint answers from this thread's event loop while the monitor looks for it.
    ASSERT_EQ(readLines(monitor, 2), (QStringList{"listening as TK4812MonMain", "following TK4812CfgMain"}));
    EXPECT_EQ(monitor.state(), QProcess::Running);

    window.reset();
    ASSERT_TRUE(monitor.waitForFinished(10000)) << "the monitor stayed behind the window";
    EXPECT_EQ(monitor.exitCode(), 0);
    EXPECT_TRUE(monitor.readAll().contains("TK4812CfgMain has gone; ending"));
    EXPECT_FALSE(findWindow(QLatin1String(kMonitorWindowClass)));
}

TEST_F(MonitorStandInTest, EndsWhenNoConfigurationWindowCame)
{
    monitor.start(kProgram, {QStringLiteral("--end-after"), QStringLiteral("100")});
    ASSERT_TRUE(monitor.waitForFinished(10000));
    EXPECT_EQ(monitor.exitCode(), 0);
    EXPECT_TRUE(monitor.readAllStandardOutput().contains("no TK4812CfgMain came; ending"));
}
