// Two programs reaching one mouse at once: each device sequence holds the
// mouse from its first exchange to its last, so the exchanges of two applies
// never interleave, and a sequence that cannot have the mouse in time gives
// up naming the holder and sends nothing.

#include "TestEnvironment.h"

#include "emulator/EmulatorFaults.h"
#include "emulator/EmulatorHidBackend.h"
#include "sequences/DeviceLocking.h"
#include "sequences/Pauser.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::TestEnvironment;

namespace {

class CliTwoWriters : public ::testing::Test {
protected:
    CliTwoWriters()
    {
        env.set("K4812_POINTER_SETTINGS", QStringLiteral("journal:") + env.path("journal.txt"));
        env.set("K4812_EMULATOR_FAULTS", QString());
        env.set("LC_ALL", QStringLiteral("en_US.UTF-8"));
    }

    QString state() const { return env.path("emu/mouse.state"); }
    QStringList traceLines(const QString& name) const
    {
        return QString::fromLatin1(readFile(env.path(name))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    void start(QProcess& process, const QString& trace, QStringList args) const
    {
        args.prepend(QStringLiteral("--trace=") + env.path(trace));
        args.prepend(QStringLiteral("--device=emulator:") + state());
        process.start(QStringLiteral(K4812_BIN_DIR "/k4812ctl"), args);
    }
    static void finish(QProcess& process, int expectedStatus)
    {
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), expectedStatus) << process.readAllStandardError().toStdString();
    }

    TestEnvironment env;
};

class NoPauses final : public Pauser {
public:
    void pause(int) override {}
};

} // namespace

TEST_F(CliTwoWriters, TwoAppliesAtOnceRunOneAfterTheOther)
{
    // One apply alone: its exchanges, from update mark begin to update mark end.
    QProcess alone;
    start(alone, QStringLiteral("alone.txt"), {QStringLiteral("apply")});
    finish(alone, 0);
    const QStringList single = traceLines(QStringLiteral("alone.txt"));
    ASSERT_GE(single.size(), 2);
    const QString begin = single.first();
    const QString end = single.last();
    ASSERT_EQ(single.count(begin), 1);
    ASSERT_EQ(single.count(end), 1);

    // Two at once, tracing into one file; the second waits as long as it must.
    env.set("K4812_DEVICE_WAIT_MS", QStringLiteral("120000"));
    for (int round = 0; round < 3; ++round) {
        const QString trace = QStringLiteral("both%1.txt").arg(round);
        QProcess first;
        QProcess second;
        start(first, trace, {QStringLiteral("apply")});
        start(second, trace, {QStringLiteral("apply"), QStringLiteral("--last-profile=2")});
        finish(first, 0);
        finish(second, 0);
        const QStringList both = traceLines(trace);
        ASSERT_EQ(both.size(), 2 * single.size()) << "round " << round;
        const qsizetype n = single.size();
        for (const QStringList& half : {both.mid(0, n), both.mid(n)}) {
            EXPECT_EQ(half.first(), begin) << "round " << round;
            EXPECT_EQ(half.last(), end) << "round " << round;
            EXPECT_EQ(half.count(begin), 1) << "round " << round << ": a sequence began inside another";
        }
    }
}

TEST_F(CliTwoWriters, ASequenceThatCannotHaveTheMouseGivesUpNamingTheHolderAndSendsNothing)
{
    // This process holds the mouse, as the window does during an apply.
    QString error;
    auto backend = EmulatorHidBackend::create(state(), EmulatorFaults{}, error);
    ASSERT_TRUE(backend) << error.toStdString();
    TuiHIDData device(std::move(backend), {});
    NoPauses noPauses;
    const auto held = LockDeviceForSequence(device, noPauses, error, 0);
    ASSERT_TRUE(held) << error.toStdString();

    env.set("K4812_DEVICE_WAIT_MS", QStringLiteral("0"));
    const struct {
        const char* name;
        QStringList args;
    } cases[] = {
        {"apply", {QStringLiteral("apply")}},
        {"switch", {QStringLiteral("switch"), QStringLiteral("profile"), QStringLiteral("2")}},
        {"raw write", {QStringLiteral("raw"), QStringLiteral("write"), QStringLiteral("0x40"), QStringLiteral("1")}},
        {"raw read", {QStringLiteral("raw"), QStringLiteral("read"), QStringLiteral("0x40"), QStringLiteral("1")}},
    };
    for (const auto& c : cases) {
        QProcess process;
        start(process, QStringLiteral("trace.txt"), c.args);
        finish(process, 1);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        const QString holder = QStringLiteral("in use by %1 (process %2)")
                                   .arg(QLatin1String(program_invocation_short_name))
                                   .arg(::getpid());
        EXPECT_TRUE(err.contains(holder)) << c.name << ": " << err.toStdString();
        EXPECT_TRUE(traceLines(QStringLiteral("trace.txt")).isEmpty()) << c.name << " sent to a held mouse";
    }
}
