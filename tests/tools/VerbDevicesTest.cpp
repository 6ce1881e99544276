#include "VerbDevices.h"

#include "CliTestSupport.h"
#include "FakeHidBackend.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace k4812;
using k4812::test::FakeHidBackend;

namespace {

HidCollection collection(const std::string& path, std::uint16_t page, std::uint16_t usage, std::uint32_t input,
                         std::vector<std::string> ids)
{
    HidCollection c;
    c.path = path;
    c.usagePage = page;
    c.usage = usage;
    c.inputReportByteLength = input;
    c.hardwareIds = std::move(ids);
    return c;
}

// The mouse on hidraw1 (pointer and configuration collections) and a
// keyboard on hidraw2.
class DevicesVerb : public ::testing::Test {
protected:
    DevicesVerb()
    {
        auto backend = std::make_unique<FakeHidBackend>();
        backend->collections = {
            collection("/dev/hidraw1", 0x0001, 0x0002, 7, {"HID\\VID_1A2B&PID_3C4D&MI_01&Col01"}),
            FakeHidBackend::mouseCollection("/dev/hidraw1", 4096,
                                            {"HID\\VID_1A2B&PID_3C4D&MI_01&Col02", "HID_DEVICE_UP:FFA0_U:0001"}),
            collection("/dev/hidraw2", 0x0001, 0x0006, 9, {"HID\\VID_04D9&PID_1603"}),
        };
        fake = backend.get();
        m_backend = std::move(backend);
    }

    int run(QStringList includeList = {})
    {
        // The link owns the fake back end; it lives as long as the fixture.
        m_hid = std::make_unique<TuiHIDData>(std::move(m_backend), std::move(includeList));
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int status = cli::listHidDevices(*m_hid, outStream, errStream, {env.path("rules.d")});
        outStream.flush();
        errStream.flush();
        return status;
    }

    QStringList outLines() const { return out.split(QLatin1Char('\n')); }

    k4812::test::TestEnvironment env;
    FakeHidBackend* fake = nullptr;
    QString out;
    QString err;

private:
    std::unique_ptr<FakeHidBackend> m_backend;
    std::unique_ptr<TuiHIDData> m_hid;
};

} // namespace

TEST_F(DevicesVerb, MarksTheConfigurationInterfaceAndOpensNothingElse)
{
    EXPECT_EQ(run(), cli::kExitOk);
    const QStringList lines = outLines();
    EXPECT_TRUE(lines.contains(
        "  /dev/hidraw1  usage page 0x0001  usage 0x0002  feature 0  input 7  output 0"));
    EXPECT_TRUE(lines.contains(
        "* /dev/hidraw1  usage page 0xFFA0  usage 0x0001  feature 4096  input 0  output 0"));
    EXPECT_TRUE(lines.contains(
        "  /dev/hidraw2  usage page 0x0001  usage 0x0006  feature 0  input 9  output 0"));
    EXPECT_TRUE(lines.contains("      HID\\VID_1A2B&PID_3C4D&MI_01&Col02"));
    EXPECT_TRUE(lines.contains("      HID_DEVICE_UP:FFA0_U:0001"));
    EXPECT_TRUE(lines.contains("      HID\\VID_04D9&PID_1603"));
    EXPECT_TRUE(lines.contains("K4812 configuration interface: /dev/hidraw1"));
    ASSERT_EQ(fake->events.size(), 1u);
    EXPECT_EQ(fake->events[0].kind, FakeHidBackend::Event::Open);
    EXPECT_EQ(fake->events[0].path, "/dev/hidraw1");
    EXPECT_TRUE(err.isEmpty());
}

TEST_F(DevicesVerb, MouseOutsideTheIncludeListIsNotUsed)
{
    EXPECT_EQ(run({"HID\\VID_04D9&PID_1603"}), cli::kExitFailure);
    EXPECT_TRUE(outLines().contains("  /dev/hidraw1  usage page 0xFFA0  usage 0x0001  feature 4096  input 0  output 0"
                                    "  (not in config.ini's include list)"));
    EXPECT_TRUE(outLines().contains("K4812 configuration interface: not found"));
    EXPECT_TRUE(fake->events.empty());
}

TEST_F(DevicesVerb, UnopenableMouseSaysWhetherTheUdevRuleIsInstalled)
{
    fake->unopenable = {"/dev/hidraw1"};
    EXPECT_EQ(run(), cli::kExitFailure);
    EXPECT_TRUE(err.contains("cannot open /dev/hidraw1: Permission denied"));
    EXPECT_TRUE(err.contains("the udev rule 70-k4812.rules is not installed")) << err.toStdString();
    EXPECT_TRUE(outLines().contains("K4812 configuration interface: not found"));
}

TEST_F(DevicesVerb, UnopenableMouseWithTheRuleInstalled)
{
    fake->unopenable = {"/dev/hidraw1"};
    ASSERT_TRUE(k4812::test::writeFile(env.path("rules.d/70-k4812.rules"), "TAG+=\"uaccess\"\n"));
    EXPECT_EQ(run(), cli::kExitFailure);
    EXPECT_TRUE(err.contains("although the udev rule 70-k4812.rules is installed")) << err.toStdString();
}

TEST_F(DevicesVerb, NoDevicesAtAll)
{
    fake->collections.clear();
    EXPECT_EQ(run(), cli::kExitFailure);
    EXPECT_EQ(out, "No HID devices found.\n");
    EXPECT_TRUE(err.contains("No device with the mouse's configuration interface is attached")) << err.toStdString();
}

TEST(DevicesVerbCommandLine, TakesNoArguments)
{
    k4812::test::TestEnvironment env;
    const auto result = k4812::test::runCtl({"devices", "extra"});
    EXPECT_EQ(result.status, cli::kExitUsage);
    EXPECT_TRUE(result.err.contains("Usage: k4812ctl devices"));
}

TEST(DevicesVerbCommandLine, ExplainsTheMissingMouseInTheStoredLanguage)
{
    k4812::test::TestEnvironment env;
    env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR));   // the built ui.local
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("absent"));
    ASSERT_EQ(k4812::test::runCtl({"language", "set", "0804"}).status, cli::kExitOk);
    const auto result = k4812::test::runCtl({"--device=emulator:" + env.path("mouse.bin"), "devices"});
    EXPECT_EQ(result.status, cli::kExitFailure);
    EXPECT_TRUE(result.err.contains(QString::fromUtf8("未连接带有鼠标配置接口的设备"))) << result.err.toStdString();
}
