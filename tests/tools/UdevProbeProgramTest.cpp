#include "FakeSysfs.h"
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

// udev imports the program's output as properties; the rule tests exactly
// this line. It says nothing else, whatever the node: udev would log every
// word for every HID device on every event.
TEST(UdevProbeProgram, PrintsThePropertyOnlyForTheConfigurationInterface)
{
    FakeSysfs sysfs;
    const QString mouse = QString::fromStdString(sysfs.addUsbNode("hidraw1", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812));
    const QString keyboard =
        QString::fromStdString(sysfs.addUsbNode("hidraw2", kKeyboardUsb, 0, 0x04D9, 0x1603, kBootKeyboard));
    const QString unreadable =
        QString::fromStdString(sysfs.addUsbNode("hidraw3", {"1-4", "0100", " 1"}, 0, 0x1A2B, 0x3C4D, {}));
    TestEnvironment env;
    const QString noConfig = env.path("none/config.ini");
    const QString otherMouse = env.path("config.ini");
    ASSERT_TRUE(writeFile(otherMouse, "[IncludeHIDDeviceList]\nid1=HID\\VID_0000&PID_0001\n"));

    struct Case {
        const char* name;
        QStringList args;
        QByteArray out;
    };
    const Case cases[] = {
        {"the mouse", {mouse, noConfig}, "K4812_CONFIG_INTERFACE=1\n"},
        {"a keyboard", {keyboard, noConfig}, ""},
        {"an unreadable descriptor", {unreadable, noConfig}, ""},
        {"a node that is gone", {env.path("gone"), noConfig}, ""},
        {"the mouse, the include list naming another", {mouse, otherMouse}, ""},
    };
    for (const Case& c : cases) {
        const ProbeRun run = runProbe(c.args);
        EXPECT_EQ(run.status, 0) << c.name;
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
    }
    EXPECT_EQ(runProbe({}).status, 2);
}
