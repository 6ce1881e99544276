#include "profiles/AdvancedEdits.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"
#include "profiles/SensitivityEdits.h"

#include "wire/CpiEncoding.h"

#include <gtest/gtest.h>

using namespace k4812;

namespace {

class PageEditsTest : public ::testing::Test {
protected:
    PageEditsTest() : profile(makeZeroRecord<TMOUSEPROFILEINFO>()) { applyProfileDefaults(*profile); }

    TCPILEVELINFO level(int i) const { return profile->ConfigInfo.CPIState[i]; }
    TCPILEVELINFO device(int i) const { return profile->ConfigInfo.HWCPIState[i]; }

    std::unique_ptr<TMOUSEPROFILEINFO> profile;
};

} // namespace

TEST_F(PageEditsTest, ACpiValueFollowsTheDifferentXYOptionAndIsSnappedForTheMouse)
{
    // Different X/Y off: either box sets both axes.
    ASSERT_TRUE(ChangeCpiValue(*profile, 2, CpiAxis::Y, 1600));
    EXPECT_EQ(level(2).X, 1600);
    EXPECT_EQ(level(2).Y, 1600);
    EXPECT_EQ(device(2).X, 1700);
    EXPECT_EQ(device(2).Y, 1700);
    EXPECT_EQ(device(2).Enabled, 1);

    SetDifferentXY(*profile, true);
    ASSERT_TRUE(ChangeCpiValue(*profile, 1, CpiAxis::X, 400));
    ASSERT_TRUE(ChangeCpiValue(*profile, 1, CpiAxis::Y, 3500));
    EXPECT_EQ(level(1).X, 400);
    EXPECT_EQ(level(1).Y, 3500);
    EXPECT_EQ(device(1).X, 3400) << "the larger axis decides";
    EXPECT_EQ(device(1).Y, 3400);

    const auto before = recordToBytes(*profile);
    EXPECT_FALSE(ChangeCpiValue(*profile, 1, CpiAxis::X, 99));
    EXPECT_FALSE(ChangeCpiValue(*profile, 1, CpiAxis::X, 3501));
    EXPECT_FALSE(ChangeCpiValue(*profile, 4, CpiAxis::X, 800));
    EXPECT_FALSE(ChangeCpiValue(*profile, -1, CpiAxis::X, 800));
    EXPECT_EQ(recordToBytes(*profile), before);
}

TEST_F(PageEditsTest, TheLevelCountEnablesTheFirstLevelsAndTellsTheMouse)
{
    ASSERT_TRUE(SetCpiLevelCount(*profile, 2));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(level(i).Enabled, i < 2 ? 1 : 0) << i;
        EXPECT_EQ(device(i).Enabled, i < 2 ? 1 : 0) << i;
    }
    EXPECT_EQ(level(3).X, 3500) << "the values of disabled levels stay";
    EXPECT_EQ(profile->ConfigInfo.CPILevel, 2);
    const CpiBlock block = EncodeCpiBlock(*profile);
    EXPECT_EQ(block[0], 2) << "the mouse is told the levels in use";
    EXPECT_EQ(block[2 + 3 * 2], 0);

    EXPECT_FALSE(SetCpiLevelCount(*profile, 0));
    EXPECT_FALSE(SetCpiLevelCount(*profile, 5));
    EXPECT_EQ(profile->ConfigInfo.CPILevel, 2);
}

TEST_F(PageEditsTest, LevelsInUseAreAlwaysTheFirstOnes)
{
    // Levels 1 and 3 enabled, 2 not: shown and stored as two levels, the first two.
    TCPILEVELINFO second = profile->ConfigInfo.CPIState[1];
    second.Enabled = 0;
    profile->ConfigInfo.CPIState[1] = second;
    TCPILEVELINFO fourth = profile->ConfigInfo.CPIState[3];
    fourth.Enabled = 0;
    profile->ConfigInfo.CPIState[3] = fourth;
    EXPECT_EQ(NormalizeCpiLevels(*profile), 2);
    EXPECT_EQ(level(0).Enabled, 1);
    EXPECT_EQ(level(1).Enabled, 1);
    EXPECT_EQ(level(2).Enabled, 0);
    EXPECT_EQ(device(2).Enabled, 0);
}

TEST_F(PageEditsTest, ReportRateAndLight)
{
    for (int hz : {125, 250, 500, 1000}) {
        EXPECT_TRUE(SetReportRate(*profile, hz));
        EXPECT_EQ(profile->ConfigInfo.ReportRate, hz);
    }
    for (int hz : {0, 300, 2000})
        EXPECT_FALSE(SetReportRate(*profile, hz));
    EXPECT_EQ(profile->ConfigInfo.ReportRate, 1000);

    SetLightOn(*profile, false);
    EXPECT_EQ(profile->ConfigInfo.WheelLedOnOff, 0);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.BRIGHT_LEVEL, 0);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.BREATH_SPEED, 0);
    ASSERT_TRUE(SetBreathingSpeed(*profile, 2));
    SetLightOn(*profile, true);
    EXPECT_EQ(profile->ConfigInfo.WheelLedOnOff, 1);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.BRIGHT_LEVEL, 3);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.BREATH_SPEED, 1) << "turning the light on resets the breathing speed";

    SetLightColor(*profile, 3, 97, 96);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.R, 3);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.G, 97);
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.B, 96);
    EXPECT_FALSE(SetBreathingSpeed(*profile, 0));
    EXPECT_FALSE(SetBreathingSpeed(*profile, 4));
    EXPECT_EQ(profile->ConfigInfo.LEDConfig.BREATH_SPEED, 1);
}
