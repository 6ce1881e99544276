// StartMonitor: a running monitor is brought forward, never started again;
// a missing one is started from the program folder.

#include "app/MonitorLauncher.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

namespace k4812 {
namespace {

struct Recorder {
    bool exists = false;
    bool startWorks = true;
    int forward = 0;
    QStringList started;

    MonitorLauncher::Operations ops()
    {
        return {[this] { return exists; }, [this] { ++forward; },
                [this](const QString& program, const QString& folder) {
                    started << program + QLatin1Char('@') + folder;
                    return startWorks;
                }};
    }
};

TEST(MonitorLauncher, StartsTheMonitorOnlyWhenItsWindowIsMissing)
{
    Recorder r;
    MonitorLauncher launcher(r.ops());
    EXPECT_EQ(launcher.StartMonitor(QStringLiteral("/opt/k4812")), MonitorLauncher::Outcome::Started);
    EXPECT_EQ(r.started, QStringList{QStringLiteral("/opt/k4812/REvo2@/opt/k4812")});

    r.exists = true;
    EXPECT_EQ(launcher.StartMonitor(QStringLiteral("/opt/k4812")), MonitorLauncher::Outcome::BroughtForward);
    EXPECT_EQ(r.started.size(), 1);
    EXPECT_EQ(r.forward, 1);
}

TEST(MonitorLauncher, AMissingProgramIsReportedToTheCallerOnly)
{
    Recorder r;
    r.startWorks = false;
    MonitorLauncher launcher(r.ops());
    EXPECT_EQ(launcher.StartMonitor(QStringLiteral("/nowhere")), MonitorLauncher::Outcome::StartFailed);
}

TEST(MonitorLauncher, TheRealStartFailsQuietlyForAMissingFile)
{
    test::TestEnvironment env; // a runtime folder of its own: no monitor runs there
    MonitorLauncher launcher;
    const MonitorLauncher::Outcome outcome = launcher.StartMonitor(QStringLiteral("/nonexistent-k4812-folder"));
    EXPECT_EQ(outcome, MonitorLauncher::Outcome::StartFailed);
}

} // namespace
} // namespace k4812
