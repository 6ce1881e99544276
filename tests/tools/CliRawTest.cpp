#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include "emulator/EmulatorFaults.h"
#include "emulator/EmulatorStateFile.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::runCtl;
using k4812::test::TestEnvironment;
using k4812::test::writeFile;

namespace {

// A temporary home with an emulated mouse and a trace file in it.
class CliRaw : public ::testing::Test {
protected:
    test::CliResult ctl(QStringList args)
    {
        args.prepend(QStringLiteral("--trace=") + trace());
        args.prepend(QStringLiteral("--device=emulator:") + state());
        return runCtl(args);
    }
    QString state() const { return env.path("emu/mouse.state"); }
    QString trace() const { return env.path("trace.txt"); }
    QStringList traceLines() const
    {
        return QString::fromLatin1(readFile(trace())).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    TestEnvironment env;
};

QString zeros(int count)
{
    QStringList z;
    for (int i = 0; i < count; ++i)
        z << QStringLiteral("00");
    return z.join(QLatin1Char(' '));
}

} // namespace

TEST_F(CliRaw, WriteThenReadInAFreshRun)
{
    const auto write = ctl({"raw", "write", "0x40", "1"});
    ASSERT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(write.out, QString());
    EXPECT_EQ(readFile(trace()), "SET 02 02 40 00 01 00 FA FA 01 00 00 00 00 00 00 00\n");

    const auto read = ctl({"raw", "read", "0x40", "1"});
    ASSERT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "01\n");
    const QStringList lines = traceLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], "SET 02 03 40 00 01 00 FA FA " + zeros(8));
    EXPECT_EQ(lines[2], "GET 02 03 40 00 01 00 FA FA 01 " + zeros(7));

    ASSERT_EQ(ctl({"raw", "write", "72", "0x0a", "255", "0"}).status, 0);
    EXPECT_EQ(ctl({"raw", "read", "0x47", "5"}).out, "00 0A FF 00 01\n");   // then the factory CPI block
    EXPECT_EQ(ctl({"emulator", "dump", "0x3E", "4"}).out, "81 00 01 00\n");
}

TEST_F(CliRaw, EachCommandSendsOneReport)
{
    struct Case {
        QStringList args;
        QString line;
    };
    const Case cases[] = {
        {{"raw", "activate", "1", "4"}, "SET 02 01 01 04 " + zeros(12)},
        {{"raw", "mark", "0"}, "SET 02 06 " + zeros(14)},
        {{"raw", "mark", "1"}, "SET 02 06 01 " + zeros(13)},
        {{"raw", "preview", "0xFF", "0", "0x80", "3", "2"}, "SET 02 04 FF 00 80 03 02 " + zeros(9)},
    };
    for (const Case& c : cases) {
        QFile::remove(trace());
        const auto result = ctl(c.args);
        EXPECT_EQ(result.status, 0) << c.args.join(' ').toStdString() << result.err.toStdString();
        EXPECT_EQ(traceLines(), QStringList{c.line}) << c.args.join(' ').toStdString();
    }
    QString error;
    const auto stored = loadEmulatorState(state(), error);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->shownLight, (std::array<std::uint8_t, 5>{0xFF, 0x00, 0x80, 0x03, 0x02}));
    EXPECT_EQ(stored->lastActivation, (std::array<std::uint8_t, 2>{1, 4}));
}

TEST_F(CliRaw, BadCommandLinesSendNothing)
{
    const QStringList bad[] = {
        {"raw"},
        {"raw", "poke", "1"},
        {"raw", "write", "0x40"},
        {"raw", "write", "0x10000", "1"},
        {"raw", "write", "0x40", "256"},
        {"raw", "write", "0x40", "1", "-2"},
        {"raw", "read", "0x40"},
        {"raw", "read", "0", "2041"},
        {"raw", "read", "0", "1", "2"},
        {"raw", "activate", "1"},
        {"raw", "mark", "2"},
        {"raw", "preview", "1", "2", "3", "4"},
        {"emulator"},
        {"emulator", "dump", "0x1187", "1"},
        {"emulator", "dump", "0x1180", "8"},
    };
    for (const QStringList& args : bad) {
        const auto result = ctl(args);
        EXPECT_EQ(result.status, cli::kExitUsage) << args.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("Usage: k4812ctl")) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(trace()));
    EXPECT_FALSE(QFileInfo::exists(state()));
}

TEST_F(CliRaw, DeviceFailuresNameTheError)
{
    struct Case {
        const char* faults;
        QStringList args;
        QString message;
    };
    const Case cases[] = {
        {"absent", {"raw", "write", "0x40", "1"}, "writing 1 byte at 0x0040 failed: No such device"},
        {"fail=1", {"raw", "mark", "0"}, "update mark failed: Input/output error"},
        {"fail=2", {"raw", "read", "0x40", "1"}, "reading 1 byte at 0x0040 failed: Input/output error"},
        {"", {"raw", "write", "0x1186", "1", "2"}, "writing 2 bytes at 0x1186 failed: Bad address"},
        {"nonsense", {"raw", "mark", "0"}, "K4812_EMULATOR_FAULTS: unknown emulator fault \"nonsense\""},
    };
    for (const Case& c : cases) {
        QFile::remove(state());
        env.set(kEmulatorFaultsVariable, QString::fromLatin1(c.faults));
        const auto result = ctl(c.args);
        EXPECT_EQ(result.status, cli::kExitFailure) << c.faults;
        EXPECT_EQ(result.out, QString()) << c.faults;
        EXPECT_TRUE(result.err.contains(c.message)) << c.faults << ": " << result.err.toStdString();
    }
}

TEST_F(CliRaw, DamagedStateFileStopsEveryVerbAndIsKept)
{
    ASSERT_TRUE(writeFile(state(), "not a mouse"));
    for (const QStringList& args : {QStringList{"raw", "mark", "0"}, QStringList{"emulator", "dump", "0", "1"}}) {
        const auto result = ctl(args);
        EXPECT_EQ(result.status, cli::kExitFailure);
        EXPECT_TRUE(result.err.contains("is damaged")) << result.err.toStdString();
    }
    EXPECT_EQ(readFile(state()), "not a mouse");
    EXPECT_FALSE(QFileInfo::exists(trace()));
}

TEST_F(CliRaw, DumpNeedsTheEmulatorAndShowsANewMouse)
{
    const auto hidraw = runCtl({"--device=hidraw", "emulator", "dump", "0", "1"});
    EXPECT_EQ(hidraw.status, cli::kExitFailure);
    EXPECT_TRUE(hidraw.err.contains("needs the emulator"));

    // No state file yet: the memory of a new mouse (bank 1's factory light), and still no file.
    const auto fresh = ctl({"emulator", "dump", "0x1181", "6"});
    EXPECT_EQ(fresh.status, 0);
    EXPECT_EQ(fresh.out, "FF 00 FF 01 01 00\n");
    EXPECT_FALSE(QFileInfo::exists(state()));

    // The default state file through K4812_DEVICE.
    env.set("K4812_DEVICE", QStringLiteral("emulator"));
    ASSERT_EQ(runCtl({"raw", "write", "0x1186", "0x5A"}).status, 0);
    EXPECT_EQ(runCtl({"emulator", "dump", "0x1186", "1"}).out, "5A\n");
}

TEST_F(CliRaw, HelpDescribesEachVerb)
{
    for (const char* verb : {"raw", "emulator"}) {
        const auto help = runCtl({verb, "--help"});
        EXPECT_EQ(help.status, 0);
        EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: k4812ctl"))) << verb;
    }
}
