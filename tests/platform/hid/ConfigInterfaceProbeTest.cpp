#include "wire/HidData.h"
#include "platform/hid/ConfigInterfaceProbe.h"

#include "SampleDescriptors.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;
using namespace k4812::test;

TEST(ConfigInterfaceProbe, GrantsOnlyTheTopLevelConfigurationCollection)
{
    static_assert(kConfigUsagePage == kMouseUsageAndPage.UsagePage && kConfigUsage == kMouseUsageAndPage.Usage);

    Bytes trailingGarbage = kK4812;
    trailingGarbage.insert(trailingGarbage.end(), {0xC0, 0x75});
    const Bytes cutInsideConfig(kK4812.begin(), kK4812.end() - 1);
    struct Case {
        const char* name;
        Bytes descriptor;
        bool grant;
    };
    const Case cases[] = {
        {"the mouse", kK4812, true},
        {"a keyboard", kBootKeyboard, false},
        {"a plain mouse", kBootMouse, false},
        {"empty", {}, false},
        {"vendor page, other usage", fromHex("06a0ff0902a101750895ffb102c0"), false},
        {"other vendor page, usage 1", fromHex("06a1ff0901a101750895ffb102c0"), false},
        // Only a top-level collection counts, not one nested in a keyboard.
        {"nested in a keyboard", fromHex("05010906a10106a0ff0901a102750895ffb102c0c0"), false},
        {"fault after the collection closed", trailingGarbage, true},
        {"configuration collection never closed", cutInsideConfig, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hasConfigCollection(c.descriptor), c.grant) << c.name;
}

TEST(ConfigInterfaceProbe, ReadsTheDescriptorBelowTheNodesSysfsFolder)
{
    TestEnvironment env;
    ASSERT_TRUE(writeFile(env.path("mouse/device/report_descriptor"), toByteArray(kK4812)));
    ASSERT_TRUE(writeFile(env.path("keyboard/device/report_descriptor"), toByteArray(kBootKeyboard)));

    const ConfigProbeResult mouse = probeHidrawNode(env.path("mouse").toStdString());
    EXPECT_TRUE(mouse.readable);
    EXPECT_TRUE(mouse.configInterface);
    const ConfigProbeResult keyboard = probeHidrawNode(env.path("keyboard").toStdString());
    EXPECT_TRUE(keyboard.readable);
    EXPECT_FALSE(keyboard.configInterface);
    const ConfigProbeResult missing = probeHidrawNode(env.path("missing").toStdString());
    EXPECT_FALSE(missing.readable);
    EXPECT_FALSE(missing.configInterface);
}
