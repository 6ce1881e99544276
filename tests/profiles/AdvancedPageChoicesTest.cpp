#include "profiles/AdvancedPageChoices.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(AdvancedPageChoicesTest, ReportRateRadios)
{
    const std::pair<int, int> cases[] = {{125, 0}, {250, 1}, {500, 2}, {1000, 3}, {300, 0}, {0, 0}};
    for (const auto& [rate, radio] : cases)
        EXPECT_EQ(ReportRateRadioOf(rate), radio) << rate;
}

TEST(AdvancedPageChoicesTest, LightOnAndSwatch)
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    TLEDCONFIG light{3, 97, 96, 0, 0, 0};
    profile->ConfigInfo.LEDConfig = light;
    profile->ConfigInfo.WheelLedOnOff = 0;
    EXPECT_EQ(LightSwatchOf(*profile), 3);
    EXPECT_FALSE(ShowsLightOn(*profile));

    light.BRIGHT_LEVEL = 1;
    light.G = 98; // no swatch has it: the red one shows
    profile->ConfigInfo.LEDConfig = light;
    EXPECT_EQ(LightSwatchOf(*profile), 0);
    EXPECT_TRUE(ShowsLightOn(*profile)) << "a brightness above 0 shows the light on";

    const LightColor fourth = LightColorOf(kLightSwatches[3]);
    EXPECT_EQ(fourth.r, 3);
    EXPECT_EQ(fourth.g, 97);
    EXPECT_EQ(fourth.b, 96);
}
