// Runs the real k4812ctl program as separate processes: the emulated mouse
// must keep what one process wrote for the next.

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using k4812::test::readFile;
using k4812::test::TestEnvironment;

namespace {

struct ProcessResult {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProcessResult k4812ctl(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(K4812_BIN_DIR "/k4812ctl"), args);
    ProcessResult run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

TEST(CliProcess, TwoRunsSeeTheSameEmulatedMouse)
{
    TestEnvironment env;
    const QString device = QStringLiteral("--device=emulator:") + env.path("mouse.state");
    const QString trace = QStringLiteral("--trace=") + env.path("trace.txt");

    const ProcessResult written = k4812ctl({device, trace, "raw", "write", "0x40", "1"});
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_EQ(readFile(env.path("trace.txt")), "SET 02 02 40 00 01 00 FA FA 01 00 00 00 00 00 00 00\n");

    const ProcessResult readBack = k4812ctl({device, "raw", "read", "0x40", "1"});
    ASSERT_EQ(readBack.status, 0) << readBack.err.toStdString();
    EXPECT_EQ(readBack.out, "01\n");

    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("absent"));
    const ProcessResult absent = k4812ctl({device, "raw", "read", "0x40", "1"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(absent.err.contains("No such device")) << absent.err.toStdString();
}

TEST(CliProcess, StartsInAHomeFolderWithAVeryLongPath)
{
    TestEnvironment env;
    QString home = env.path("home");
    for (int i = 0; i < 6; ++i)
        home += QLatin1Char('/') + QString(99, QLatin1Char('h'));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_GT(home.size(), 600);
    env.set("HOME", home);
    env.set("XDG_CONFIG_HOME", home + "/.config");
    env.set("XDG_DATA_HOME", home + "/.local/share");

    const QString device = QStringLiteral("--device=emulator:") + env.path("m.state");
    const ProcessResult r = k4812ctl({device, "set", "rate", "250"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const ProcessResult shown = k4812ctl({"profile", "show", "1"});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.contains("Report rate: 250 Hz")) << shown.out.toStdString();
    EXPECT_TRUE(QFile::exists(home + "/.config/k4812/registry.sqlite3")) << "the settings database is in the long home";
}
