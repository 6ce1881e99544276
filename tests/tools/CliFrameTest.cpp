#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::runCtl;

TEST(CliFrame, HelpListsVerbsAndUnknownVerbIsUsageError)
{
    k4812::test::TestEnvironment env;
    const auto help = runCtl({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("Usage: k4812ctl"));

    const auto unknown = runCtl({"frobnicate"});
    EXPECT_EQ(unknown.status, cli::kExitUsage);
    EXPECT_TRUE(unknown.err.contains("unknown verb \"frobnicate\""));
}

TEST(CliFrame, ParseNumberTakesDecimalAndHexOnly)
{
    struct Case {
        const char* text;
        unsigned max;
        std::optional<unsigned> expected;
    };
    const Case cases[] = {
        {"64", 255, 64u},   {"0x40", 255, 64u},  {"0X4f", 255, 79u}, {"256", 255, std::nullopt},
        {"-1", 255, std::nullopt}, {"0x", 255, std::nullopt}, {"", 255, std::nullopt}, {"1a", 255, std::nullopt},
        {"+5", 255, std::nullopt}, {" 5", 255, std::nullopt}, {"0x1186", 0xFFFF, 0x1186u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(cli::parseNumber(c.text, c.max), c.expected) << c.text;
}

TEST(CliFrame, BadDeviceSelectionIsReported)
{
    k4812::test::TestEnvironment env;
    QString error;
    EXPECT_FALSE(parseDeviceSelection("usb", error));
    EXPECT_TRUE(error.contains("unknown device"));
    EXPECT_FALSE(parseDeviceSelection("emulator:", error));
    const auto sel = parseDeviceSelection("emulator:/tmp/x.state", error);
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->stateFile, "/tmp/x.state");
    env.set("K4812_DEVICE", "emulator");
    const auto fromEnv = resolveDeviceSelection({}, error);
    ASSERT_TRUE(fromEnv);
    EXPECT_EQ(fromEnv->kind, DeviceSelection::Kind::Emulator);
    const auto optionWins = resolveDeviceSelection("hidraw", error);
    ASSERT_TRUE(optionWins);
    EXPECT_EQ(optionWins->kind, DeviceSelection::Kind::Hidraw);
}
