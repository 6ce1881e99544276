// The preset profiles that the build makes beside the programs
// (resources/presets): each loads as the PRESET menu loads it and holds the
// settings chosen for its kind of game.

#include "profiles/FactoryDefaults.h"
#include "profiles/Profile.h"
#include "profiles/ProfileManager.h"
#include "profiles/RecordChecks.h"
#include "records/RecordBytes.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <cstring>
#include <vector>

using namespace k4812;

namespace {

struct Preset {
    int number;
    std::vector<int> cpi;       // X (= Y) of the levels in use
    int reportRate;
    int r, g, b, breathing;
    int thumbKeys[2];           // virtual keys of buttons 4 and 5; 0 = the factory function
};

const Preset kPresets[] = {
    {1, {400, 800, 1200, 1700}, 1000, 255, 0, 0, 1, {0, 0}},
    {2, {800, 1200, 2100}, 500, 0, 255, 64, 2, {'1', '2'}},
    {3, {1200, 2100}, 500, 255, 140, 0, 1, {'I', 'M'}},
};

bool sameBytes(const TBUTTONFUNCINFO& a, const TBUTTONFUNCINFO& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(PresetProfilesTest, EachPresetLoadsAndHoldsTheSettingsOfItsKindOfGame)
{
    test::TestEnvironment env;
    TDM::Options options;
    options.languageId = QStringLiteral("0409");
    options.configFile = env.path("program/config.ini");
    TDM dm(options);
    auto factory = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*factory);

    for (const Preset& p : kPresets) {
        const QString file = QStringLiteral(K4812_BIN_DIR "/PresetProfile%1.pfd").arg(p.number);
        SCOPED_TRACE(file.toStdString());
        ASSERT_TRUE(QFileInfo(file).isFile()) << "made by the build";

        // As the PRESET menu does: the version first, then into the current profile.
        TuiProfile check;
        ASSERT_TRUE(check.LoadStreamFromFile(file));
        ASSERT_EQ(check.Size(), qint64(sizeof(TMOUSEPROFILEINFO)));
        auto header = makeZeroRecord<TMOUSEPROFILEINFO>();
        check.Read(header.get(), int(sizeof(TMOUSEPROFILEINFO)));
        EXPECT_EQ(header->ProfileHeader.FFileVersion, kProfileFileVersion);
        EXPECT_EQ(profileRecordProblem(*header), QString());
        ASSERT_TRUE(dm.LoadCurrentProfileInfoFromFile(file));

        const TMOUSECONFIGINFO& c = dm.FCurrentProfileInfo().ConfigInfo;
        EXPECT_EQ(int(c.CPILevel), int(p.cpi.size()));
        for (int level = 0; level < 4; ++level) {
            const bool used = level < int(p.cpi.size());
            const TCPILEVELINFO set = c.CPIState[level];
            EXPECT_EQ(set.Enabled, used ? 1 : 0) << "level " << level + 1;
            if (used) {
                EXPECT_EQ(set.X, p.cpi[std::size_t(level)]) << "level " << level + 1;
                EXPECT_EQ(set.Y, p.cpi[std::size_t(level)]) << "level " << level + 1;
                const TCPILEVELINFO sent = c.HWCPIState[level];
                EXPECT_EQ(sent.X, set.X) << "a step the sensor has, level " << level + 1;
            }
        }
        EXPECT_LT(c.CurrentCPIIndex, int(p.cpi.size()));
        EXPECT_EQ(c.ReportRate, p.reportRate);

        const TLEDCONFIG led = c.LEDConfig;
        EXPECT_EQ(c.WheelLedOnOff, 1);
        EXPECT_EQ(led.R, p.r);
        EXPECT_EQ(led.G, p.g);
        EXPECT_EQ(led.B, p.b);
        EXPECT_EQ(led.BREATH_SPEED, p.breathing);

        for (int i = 0; i < 2; ++i) {
            const TBUTTONFUNCINFO button = c.ButtonFuncInfo[3 + i];
            if (p.thumbKeys[i] == 0) {
                EXPECT_TRUE(sameBytes(button, factory->ConfigInfo.ButtonFuncInfo[3 + i])) << "button " << 4 + i;
            } else {
                EXPECT_EQ(button.FunctionClass, kFunctionClassSingleKey) << "button " << 4 + i;
                EXPECT_EQ(button.SingleKeyInfo.nKeyValue1, p.thumbKeys[i]) << "button " << 4 + i;
            }
        }
        // Everything else keeps the factory settings: the primary buttons,
        // DPI + and DPI -, the wheel and the desktop's pointer.
        for (int i : {0, 1, 2, 5, 6})
            EXPECT_TRUE(sameBytes(c.ButtonFuncInfo[i], factory->ConfigInfo.ButtonFuncInfo[i])) << "button " << i + 1;
        EXPECT_TRUE(sameBytes(c.VWheelButtonFuncInfo[0], factory->ConfigInfo.VWheelButtonFuncInfo[0]));
        EXPECT_EQ(c.PointerSpeed, factory->ConfigInfo.PointerSpeed);
        EXPECT_EQ(c.DoubleClickSpeed, factory->ConfigInfo.DoubleClickSpeed);
        EXPECT_EQ(c.VWheelSpeed, factory->ConfigInfo.VWheelSpeed);
        EXPECT_EQ(dm.FCurrentProfileInfo().MacroKeyInfoList.nMacroInfoCount, 0);
    }
}

} // namespace
