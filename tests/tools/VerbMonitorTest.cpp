// k4812ctl monitor: rules are stored for the monitor to read, a bad command
// changes nothing, and status says why nothing would switch.

#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include "monitor/MonitorSettings.h"
#include "monitor/MonitorStatus.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/SingleInstanceLock.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::runCtl;
using k4812::test::TestEnvironment;

namespace {

class VerbMonitor : public ::testing::Test {
protected:
    test::CliResult ctl(QStringList args)
    {
        args.prepend(QStringLiteral("--device=emulator:") + env.path("mouse.state"));
        return runCtl(args);
    }
    TestEnvironment env;
};

} // namespace

TEST_F(VerbMonitor, RulesAreAddedListedAndRemoved)
{
    ASSERT_EQ(ctl({"monitor", "rules", "add", "Steam", "2"}).status, 0);
    ASSERT_EQ(ctl({"monitor", "rules", "add", "org.kde.konsole", "1"}).status, 0);
    ASSERT_EQ(ctl({"monitor", "rules", "add", "Steam", "1"}).status, 0) << "a second rule for an app replaces it";
    ASSERT_EQ(ctl({"monitor", "rules", "return", "2"}).status, 0);
    ASSERT_EQ(ctl({"monitor", "rules", "remove", "org.kde.konsole"}).status, 0);

    QString error;
    const auto settings = MonitorSettings::load(MonitorSettings::defaultPath(), error);
    ASSERT_TRUE(settings) << error.toStdString();
    EXPECT_EQ(settings->rules, (std::map<QString, int>{{QStringLiteral("Steam"), 0}}));
    EXPECT_EQ(settings->returnMode, 1);
    EXPECT_EQ(ctl({"monitor", "rules", "list"}).out, "Mode 1: Steam\nOther applications: Mode 2\n");
}

TEST_F(VerbMonitor, BadCommandsChangeNothing)
{
    ASSERT_EQ(ctl({"monitor", "rules", "add", "Steam", "2"}).status, 0);
    const QByteArray before = readFile(MonitorSettings::defaultPath());
    const std::vector<std::pair<QStringList, int>> cases = {
        {{"monitor", "rules", "add", "Steam", "3"}, 2},
        {{"monitor", "rules", "add", "", "1"}, 2},
        {{"monitor", "rules", "add", "two\nlines", "1"}, 2},
        {{"monitor", "rules", "remove", "Firefox"}, 1},
        {{"monitor", "rules", "return", "0"}, 2},
        {{"monitor", "rules", "drop"}, 2},
        {{"monitor"}, 2},
    };
    for (const auto& [args, status] : cases) {
        const test::CliResult result = ctl(args);
        EXPECT_EQ(result.status, status) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(result.err.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_EQ(readFile(MonitorSettings::defaultPath()), before);
}

TEST_F(VerbMonitor, ADamagedSettingsFileIsReportedAndKept)
{
    ASSERT_TRUE(QDir().mkpath(env.path(".config/k4812")));
    ASSERT_TRUE(test::writeFile(MonitorSettings::defaultPath(), "rule=9 game\n"));
    const test::CliResult result = ctl({"monitor", "rules", "add", "Steam", "2"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.err.contains(QLatin1String("line 1"))) << result.err.toStdString();
    EXPECT_EQ(readFile(MonitorSettings::defaultPath()), "rule=9 game\n");
}

TEST_F(VerbMonitor, StatusTellsWhyNothingSwitches)
{
    test::CliResult result = ctl({"monitor", "status"});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QLatin1String("Monitor: not running")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Mode 1: profile 1 [active]")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Not switching: there are no rules")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Not switching: the monitor is not running")));

    // A monitor that runs (its lock held here) and has told its state.
    SingleInstanceLock monitorLock{QLatin1String(kMonitorWindowClass)};
    ASSERT_TRUE(monitorLock.tryAcquire());
    MonitorStatus status;
    status.noFocusReason = QStringLiteral("GNOME on Wayland does not say");
    status.noTrayReason = QStringLiteral("no tray on this desktop");
    ASSERT_TRUE(status.write(MonitorStatus::defaultPath()));
    ASSERT_EQ(ctl({"monitor", "rules", "add", "Steam", "2"}).status, 0);
    result = ctl({"monitor", "status"});
    EXPECT_TRUE(result.out.contains(QLatin1String("Monitor: running"))) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QLatin1String("Not switching: no focus source: GNOME on Wayland does not say")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Not switching: no tray: no tray on this desktop")));
    EXPECT_FALSE(result.out.contains(QLatin1String("there are no rules")));
}
