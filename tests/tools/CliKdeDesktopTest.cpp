// The real k4812ctl on a KDE Plasma Wayland session as the environment
// describes it (XDG_CURRENT_DESKTOP=KDE, a Wayland display), with KWin's
// input devices played by k4812-fake-kwin on a private session bus and
// Plasma's files in the test's own XDG_CONFIG_HOME (real kwriteconfig5).

#include "FakeKWinProcess.h"
#include "PrivateBus.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using k4812::test::FakeKWinProcess;
using k4812::test::TestEnvironment;

namespace {

struct CtlRun {
    int status = -1;
    QString out;
    QString err;
};

class CliKdeDesktop : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
        env.set("DBUS_SESSION_BUS_ADDRESS", bus.address);
        env.set("XDG_CURRENT_DESKTOP", QStringLiteral("KDE"));
        env.set("XDG_SESSION_TYPE", QStringLiteral("wayland"));
        env.set("WAYLAND_DISPLAY", QStringLiteral("wayland-k4812-test"));
        env.set("SWAYSOCK", QString());
        env.set("K4812_POINTER_SETTINGS", QString());
        env.set("K4812_EMULATOR_FAULTS", QString());
        env.set("LC_ALL", QStringLiteral("en_US.UTF-8"));
    }

    CtlRun ctl(const QStringList& args)
    {
        QProcess process;
        process.start(QStringLiteral(K4812_BIN_DIR "/k4812ctl"),
                      QStringList{QStringLiteral("--device=emulator:") + env.path("emu/mouse.state")} + args);
        CtlRun run;
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.status = process.exitCode();
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    static QString kread(const QStringList& groups, const QString& key, const QString& file = "kcminputrc")
    {
        QStringList args{QStringLiteral("--file"), file};
        for (const QString& group : groups)
            args << QStringLiteral("--group") << group;
        args << QStringLiteral("--key") << key;
        QProcess process;
        process.start(QStringLiteral("kreadconfig5"), args);
        process.waitForFinished(10000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    TestEnvironment env;
    k4812::test::PrivateBus bus;
};

const QStringList kMouseGroup{"Libinput", "1241", "63015", "USB Gaming Mouse"};

} // namespace

TEST_F(CliKdeDesktop, DevicesNamesKdeAndSetApplyReachesKWinAndKcminputrc)
{
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {"event5|1241|63015|USB Gaming Mouse", "event9|2|3|Touchpad|touchpad"}));

    const CtlRun devices = ctl({"devices"});
    EXPECT_TRUE(devices.out.contains("Desktop pointer settings: kde\n")) << devices.out.toStdString();

    ASSERT_EQ(ctl({"set", "wheel-lines", "page"}).status, 0);
    ASSERT_EQ(ctl({"set", "enhanced-precision", "off"}).status, 0);
    const CtlRun applied = ctl({"set", "--apply", "pointer-speed", "15"});
    ASSERT_EQ(applied.status, 0) << applied.out.toStdString() << applied.err.toStdString();

    const QStringList lines = fake.lines();
    for (const char* expected : {"set event5 pointerAccelerationProfileFlat true", "set event5 pointerAcceleration 0.5",
                                 "set event5 scrollFactor 6.66667"})
        EXPECT_TRUE(lines.contains(QLatin1String(expected))) << expected << " in " << lines.join('\n').toStdString();
    EXPECT_EQ(kread(kMouseGroup, "PointerAccelerationProfile"), "1");
    EXPECT_EQ(kread(kMouseGroup, "PointerAcceleration"), "0.500");
    EXPECT_EQ(kread(kMouseGroup, "ScrollFactor"), "6.66667");
}

TEST_F(CliKdeDesktop, AMouseThatKeepsItsSettingsFailsTheApplyAndIsNamed)
{
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {"event7|1|2|Old Trackball|stuck"}));
    // Values the trackball does not have already (its scroll factor is 1, for 3 lines).
    ASSERT_EQ(ctl({"set", "wheel-lines", "9"}).status, 0);
    ASSERT_EQ(ctl({"set", "enhanced-precision", "off"}).status, 0);
    const CtlRun applied = ctl({"set", "--apply", "pointer-speed", "15"});
    EXPECT_EQ(applied.status, 1) << applied.out.toStdString();
    EXPECT_TRUE(applied.out.contains("The desktop did not take: acceleration, pointer speed, wheel scroll lines."))
        << applied.out.toStdString();
    EXPECT_TRUE(applied.err.contains("\"Old Trackball\" (event7) keeps pointerAcceleration")) << applied.err.toStdString();
}

TEST_F(CliKdeDesktop, WithoutKdesModuleTheApplyFailsAndNamesIt)
{
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {"event5|1241|63015|USB Gaming Mouse"}));
    // The program folder as installed, less the module.
    const QString folder = env.path("programs");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QDir bin(QStringLiteral(K4812_BIN_DIR));
    for (const QString& name : bin.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (name != QLatin1String("libk4812-kwin.so")) {
            ASSERT_TRUE(QFile::link(bin.filePath(name), folder + QLatin1Char('/') + name)) << name.toStdString();
        }
    }
    env.set("K4812_PROGRAM_DIR", folder);

    const CtlRun applied = ctl({"set", "--apply", "pointer-speed", "15"});
    EXPECT_EQ(applied.status, 1) << applied.out.toStdString();
    EXPECT_TRUE(applied.out.contains("The desktop did not take: ")) << applied.out.toStdString();
    EXPECT_TRUE(applied.err.contains(folder + "/libk4812-kwin.so")) << applied.err.toStdString();
    for (const QString& line : fake.lines())
        EXPECT_FALSE(line.startsWith(QLatin1String("set "))) << line.toStdString();
}
