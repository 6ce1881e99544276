// The field checks of a loaded profile record: every profile the program
// can make passes, and each kind of damage is named by its field.

#include "profiles/AdvancedEdits.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/MacroButtonSweep.h"
#include "profiles/RecordChecks.h"
#include "profiles/SensitivityEdits.h"
#include "macros/MacroName.h"
#include "records/RecordBytes.h"
#include "wire/LightEncoding.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cstring>
#include <functional>

using namespace k4812;

namespace {

std::unique_ptr<TMOUSEPROFILEINFO> defaultProfile()
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    return profile;
}

void addMacros(TMOUSEPROFILEINFO& profile, int count)
{
    for (int i = 0; i < count; ++i) {
        TMACROKEYINFO& m = profile.MacroKeyInfoList.MacroInfos[i];
        std::memset(&m, 0, sizeof m);
        setMacroName(m, QStringLiteral("M%1").arg(i));
        m.MacroListCount = 2;
        m.MacroList[0] = TMACROKEY{4, 1, 65, 0};
        m.MacroList[1] = TMACROKEY{4, 0, 65, 0};
        m.nMacroIndex = std::uint16_t(i);
    }
    profile.MacroKeyInfoList.nMacroInfoCount = std::uint16_t(count);
}

std::string problemOf(const TMOUSEPROFILEINFO& profile)
{
    return profileRecordProblem(profile).toStdString();
}

// Every menu item without a dialog on every button it is offered on.
const std::vector<int> kPlainMenuIds = {1, 2, 3, 4, 5, 12, 13, 14, 16, 801, 802, 803, 804, 805, 806, 807, 808,
                                        901, 902, 903, 904, 905, 906, 1001, 1002, 1003, 1004, 1005, 1006, 1007};

} // namespace

TEST(RecordChecksTest, EveryProfileTheEditsCanMakePasses)
{
    auto profile = defaultProfile();
    ASSERT_EQ(problemOf(*profile), "") << "factory settings";
    applyCpiSettingDefaults(*profile);
    applyLightAndReportAdvancedDefaults(*profile);
    ASSERT_EQ(problemOf(*profile), "") << "page defaults";

    for (int button = 0; button < 7; ++button) {
        for (int menuId : kPlainMenuIds) {
            auto p = defaultProfile();
            if (AssignButtonFunction(*p, button, menuId).assigned()) {
                EXPECT_EQ(problemOf(*p), "") << "button " << button << " menu " << menuId;
            }
        }
        for (const TFIREKEYINFO fire : {TFIREKEYINFO{1, 1}, TFIREKEYINFO{255, 255}}) {
            auto p = defaultProfile();
            if (AssignFireKey(*p, button, fire).assigned()) {
                EXPECT_EQ(problemOf(*p), "") << "fire key on button " << button;
            }
        }
    }
    // Every key the single-key and combination dialogs accept.
    for (int key = 0; key < 256; ++key) {
        for (std::uint16_t extended : {0, 1}) {
            auto p = defaultProfile();
            if (AssignSingleKey(*p, 2, TSINGLEKEYINFO{std::uint16_t(key), extended}).assigned()) {
                EXPECT_EQ(problemOf(*p), "") << "single key " << key;
            }
            if (AssignComboKey(*p, 3, TCOMBOKEYINFO{std::uint16_t(key), extended, 65, 0, 15}).assigned()) {
                EXPECT_EQ(problemOf(*p), "") << "combination " << key;
            }
        }
    }

    // Five distinct macros, one of them twice; then a deleted macro swept off its button.
    auto p = defaultProfile();
    addMacros(*p, 21);
    for (int button = 2; button < 7; ++button)
        ASSERT_TRUE(AssignMacro(*p, button, button == 6 ? 20 : button).assigned());
    EXPECT_EQ(problemOf(*p), "");
    addMacros(*p, 4);
    SweepMacroButtons(*p);
    EXPECT_EQ(problemOf(*p), "");

    // Sensitivity and advanced pages at their limits.
    for (int count = 1; count <= 4; ++count) {
        auto q = defaultProfile();
        ASSERT_TRUE(SetCpiLevelCount(*q, count));
        for (int level = 0; level < 4; ++level)
            ChangeCpiValue(*q, level, CpiAxis::X, level % 2 == 0 ? kCpiValueMin : kCpiValueMax);
        q->ConfigInfo.CurrentCPIIndex = 3;
        EXPECT_EQ(problemOf(*q), "") << count << " levels";
    }
    for (const ReportRateRow& rate : kReportRates) {
        auto q = defaultProfile();
        ASSERT_TRUE(SetReportRate(*q, rate.hertz));
        SetLightOn(*q, rate.hertz == 500);
        SetLightColor(*q, 255, 0, 128);
        SetBreathingSpeed(*q, kBreathingSpeedMax);
        EXPECT_EQ(problemOf(*q), "") << rate.hertz << " Hz";
    }
}

TEST(RecordChecksTest, EachDamagedFieldIsNamed)
{
    struct Case {
        const char* named;   // the field the problem must name
        std::function<void(TMOUSEPROFILEINFO&)> damage;
    };
    const Case cases[] = {
        {"ButtonCount", [](auto& p) { p.ConfigInfo.ButtonCount = 255; }},
        {"ButtonFuncInfo[0].FunctionIndex",
         [](auto& p) { p.ConfigInfo.ButtonFuncInfo[0].FunctionIndex = kRowDisable; }},
        {"ButtonFuncInfo[3].FunctionIndex", [](auto& p) { p.ConfigInfo.ButtonFuncInfo[3].FunctionIndex = 34; }},
        {"ButtonFuncInfo[4].DeviceCode", [](auto& p) { p.ConfigInfo.ButtonFuncInfo[4].DeviceCode = 19; }},
        {"ButtonFuncInfo[1].DeviceCode", [](auto& p) { p.ConfigInfo.ButtonFuncInfo[1].DeviceCode = 0x0E; }},
        {"ButtonFuncInfo[5].FunctionClass", [](auto& p) { p.ConfigInfo.ButtonFuncInfo[5].FunctionClass = 11; }},
        {"ButtonFuncInfo[2].SingleKeyInfo",
         [](auto& p) {
             AssignSingleKey(p, 2, TSINGLEKEYINFO{65, 0});
             p.ConfigInfo.ButtonFuncInfo[2].SingleKeyInfo.nKeyValue1 = 0;
         }},
        {"ButtonFuncInfo[2].ComboKeyInfo.nModifier",
         [](auto& p) {
             AssignComboKey(p, 2, TCOMBOKEYINFO{65, 0, 0, 0, 2});
             p.ConfigInfo.ButtonFuncInfo[2].ComboKeyInfo.nModifier = 16;
         }},
        {"ButtonFuncInfo[2].ComboKeyInfo.nKeyValue2",
         [](auto& p) {
             AssignComboKey(p, 2, TCOMBOKEYINFO{65, 0, 0, 0, 2});
             p.ConfigInfo.ButtonFuncInfo[2].ComboKeyInfo.nKeyValue2 = 0x1FF;
         }},
        {"ButtonFuncInfo[6].MediaKeyInfo",
         [](auto& p) {
             AssignButtonFunction(p, 6, kMenuDisable);
             p.ConfigInfo.ButtonFuncInfo[6].MediaKeyInfo.nKeyValue1 = 300;
         }},
        {"ButtonFuncInfo[3].FireKeyInfo",
         [](auto& p) {
             AssignFireKey(p, 3, TFIREKEYINFO{3, 6});
             p.ConfigInfo.ButtonFuncInfo[3].FireKeyInfo.nLoopCount = 0;
         }},
        {"ButtonFuncInfo[4].MacroKeyInfo.nMacroIndex",
         [](auto& p) {
             addMacros(p, 2);
             AssignMacro(p, 4, 1);
             p.MacroKeyInfoList.nMacroInfoCount = 1;
         }},
        // Found by fuzzing: the macro at the button's place numbered otherwise,
        // or another macro numbered as it and listed first.
        {"ButtonFuncInfo[4].MacroKeyInfo.nMacroIndex) is 2, but the macro at that place of the list is numbered 3",
         [](auto& p) {
             addMacros(p, 3);
             AssignMacro(p, 4, 2);
             p.MacroKeyInfoList.MacroInfos[2].nMacroIndex = 3;
         }},
        {"ButtonFuncInfo[4].MacroKeyInfo.nMacroIndex) is 2, but macro 0 of the list is numbered 2 too",
         [](auto& p) {
             addMacros(p, 3);
             AssignMacro(p, 4, 2);
             p.MacroKeyInfoList.MacroInfos[0].nMacroIndex = 2;
         }},
        {"ButtonFuncInfo[4].MacroKeyInfo",
         [](auto& p) {
             addMacros(p, 2);
             AssignMacro(p, 4, 1);
             p.ConfigInfo.ButtonFuncInfo[4].MacroKeyInfo.MacroListCount = 129;
         }},
        {"6 different macros",
         [](auto& p) {
             addMacros(p, 6);
             for (int b = 2; b < 7; ++b)
                 AssignMacro(p, b, b - 2);
             p.ConfigInfo.ButtonFuncInfo[8] = p.ConfigInfo.ButtonFuncInfo[2];
             p.ConfigInfo.ButtonFuncInfo[8].MacroKeyInfo.nMacroIndex = 5;
         }},
        {"MacroKeyInfoList", [](auto& p) { p.MacroKeyInfoList.nMacroInfoCount = 22; }},
        // Found by fuzzing: action kinds and states no edit makes.
        {"MacroKeyInfoList.MacroInfos[1].MacroList[1] has type 181",
         [](auto& p) {
             addMacros(p, 2);
             p.MacroKeyInfoList.MacroInfos[1].MacroList[1].nKeyType = 181;
         }},
        {"MacroKeyInfoList.MacroInfos[0].MacroList[0] has type 7",
         [](auto& p) {
             addMacros(p, 1);
             p.MacroKeyInfoList.MacroInfos[0].MacroList[0].nKeyType = 7;
         }},
        {"MacroKeyInfoList.MacroInfos[0].MacroList[1] has type 4 and state 2",
         [](auto& p) {
             addMacros(p, 1);
             p.MacroKeyInfoList.MacroInfos[0].MacroList[1].nKeyState = 2;
         }},
        {"CPILevel is 255", [](auto& p) { p.ConfigInfo.CPILevel = 255; }},
        {"CPILevel is 0", [](auto& p) { p.ConfigInfo.CPILevel = 0; }},
        {"CurrentCPIIndex", [](auto& p) { p.ConfigInfo.CurrentCPIIndex = 4; }},
        {"CPIState[2]", [](auto& p) { p.ConfigInfo.CPIState[2].Y = 3501; }},
        {"CPIState[0]", [](auto& p) { p.ConfigInfo.CPIState[0].X = 99; }},
        {"CPIState[1].Enabled", [](auto& p) { p.ConfigInfo.CPIState[1].Enabled = 2; }},
        {"CPIState[4].Enabled", [](auto& p) { p.ConfigInfo.CPIState[4] = TCPILEVELINFO{800, 800, 1}; }},
        {"ReportRate", [](auto& p) { p.ConfigInfo.ReportRate = 333; }},
        {"WheelLedOnOff", [](auto& p) { p.ConfigInfo.WheelLedOnOff = 2; }},
        {"HWVWheelValue", [](auto& p) { p.ConfigInfo.HWVWheelValue = -1; }},
        {"LEDConfig.BRIGHT_LEVEL", [](auto& p) { p.ConfigInfo.LEDConfig.BRIGHT_LEVEL = 4; }},
        {"LEDConfig.BREATH_SPEED", [](auto& p) { p.ConfigInfo.LEDConfig.BREATH_SPEED = 200; }},
        {"FireKeySpeed", [](auto& p) { p.ConfigInfo.FireKeySpeed = 256; }},
        {"FireKeyCount", [](auto& p) { p.ConfigInfo.FireKeyCount = -1; }},
    };
    for (const Case& c : cases) {
        auto profile = defaultProfile();
        c.damage(*profile);
        EXPECT_NE(problemOf(*profile).find(c.named), std::string::npos)
            << "expected " << c.named << ", got: " << problemOf(*profile);
    }
}

TEST(RecordChecksTest, ReservedFieldsAndStaleParametersAreNotLookedAt)
{
    auto profile = defaultProfile();
    TMOUSECONFIGINFO& c = profile->ConfigInfo;
    std::memset(c.ApplicationList, 0xA5, sizeof c.ApplicationList);
    std::memset(&profile->FunctionList, 0xA5, sizeof profile->FunctionList);
    std::memset(&profile->MacroInfoToDevice, 0xA5, sizeof profile->MacroInfoToDevice);
    c.HWheelButtonFuncInfo[0].FunctionClass = 0xEE;
    c.VWheelButtonFuncInfo[1].DeviceCode = 0xEEEE;
    c.ButtonFuncInfo[9].FunctionClass = 0xEE;    // beyond the seven buttons
    c.CPIState[10] = TCPILEVELINFO{9999, 9999, 9};
    c.CPIState[3] = TCPILEVELINFO{9999, 0, 0};     // a level not in use keeps its values
    c.CPILevel = 3;
    c.LEDConfig.BREATH_SECOND = 0xEE;
    c.ButtonFuncInfo[2].ComboKeyInfo.nModifier = 0xFFFF;   // stale: button 3 is a mouse button
    c.ButtonFuncInfo[2].FireKeyInfo = TFIREKEYINFO{0, 0};
    EXPECT_EQ(problemOf(*profile), "");
}

TEST(RecordChecksTest, RandomBytesWithTheRightVersionAreRefused)
{
    QRandomGenerator random(26);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes(qsizetype(sizeof(TMOUSEPROFILEINFO)), Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random.bounded(256));
        const std::int32_t version = kProfileFileVersion;
        std::memcpy(bytes.data(), &version, sizeof version);
        EXPECT_FALSE(profileBytesProblem(bytes).isEmpty()) << "round " << round;
    }
    EXPECT_EQ(profileBytesProblem(recordToBytes(*defaultProfile())), QString());
}
