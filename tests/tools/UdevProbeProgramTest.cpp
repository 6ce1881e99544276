#include "SampleDescriptors.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>

using namespace k4812::test;

namespace {

struct ProbeRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ProbeRun runProbe(const QStringList& args)
{
    QProcess probe;
    probe.start(QStringLiteral(K4812_BIN_DIR "/k4812-udev-probe"), args);
    probe.waitForFinished();
    return {probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1, probe.readAllStandardOutput(),
            probe.readAllStandardError()};
}

} // namespace

// udev imports the program's output as properties; the rule tests exactly this line.
TEST(UdevProbeProgram, PrintsThePropertyOnlyForTheConfigurationInterface)
{
    TestEnvironment env;
    ASSERT_TRUE(writeFile(env.path("hidraw1/device/report_descriptor"), toByteArray(kK4812)));
    ASSERT_TRUE(writeFile(env.path("hidraw2/device/report_descriptor"), toByteArray(kBootKeyboard)));

    const ProbeRun mouse = runProbe({env.path("hidraw1")});
    EXPECT_EQ(mouse.status, 0);
    EXPECT_EQ(mouse.out, "K4812_CONFIG_INTERFACE=1\n");

    const ProbeRun keyboard = runProbe({env.path("hidraw2")});
    EXPECT_EQ(keyboard.status, 0);
    EXPECT_EQ(keyboard.out, "");

    const ProbeRun missing = runProbe({env.path("hidraw3")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_TRUE(missing.err.contains("cannot read the report descriptor"));

    EXPECT_EQ(runProbe({}).status, 2);
}
