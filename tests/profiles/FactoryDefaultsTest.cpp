#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <cstddef>
#include <vector>

using namespace k4812;

namespace {

struct Range {
    std::size_t offset;
    std::size_t length;
};

constexpr std::size_t kConfig = offsetof(TMOUSEPROFILEINFO, ConfigInfo);
constexpr std::size_t kButtonSize = sizeof(TBUTTONFUNCINFO);

#define CONFIG_FIELD(field) Range{kConfig + offsetof(TMOUSECONFIGINFO, field), sizeof(TMOUSECONFIGINFO::field)}

template <class Record>
QByteArray patterned()
{
    QByteArray bytes(qsizetype(sizeof(Record)), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 131 + 7) & 0xFF);
    return bytes;
}

// Offsets whose byte differs and that lie in none of the allowed ranges.
std::vector<std::size_t> changedOutside(const QByteArray& before, const QByteArray& after,
                                        const std::vector<Range>& allowed)
{
    std::vector<std::size_t> stray;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] == after[i])
            continue;
        bool inside = false;
        for (const Range& r : allowed)
            inside = inside || (std::size_t(i) >= r.offset && std::size_t(i) < r.offset + r.length);
        if (!inside)
            stray.push_back(std::size_t(i));
    }
    return stray;
}

std::vector<Range> buttonEntryFields(std::size_t entryOffset)
{
    return {{entryOffset + offsetof(TBUTTONFUNCINFO, ButtonIndex), 2},
            {entryOffset + offsetof(TBUTTONFUNCINFO, FunctionIndex), 2},
            {entryOffset + offsetof(TBUTTONFUNCINFO, FunctionClass), 1},
            {entryOffset + offsetof(TBUTTONFUNCINFO, DeviceCode), 4},
            {entryOffset + offsetof(TBUTTONFUNCINFO, MenuID), 4}};
}

struct ExpectedButton {
    int functionClass;
    int functionIndex;
    int deviceCode;
    int menuId;
};

void expectButton(const TBUTTONFUNCINFO& b, int index, const ExpectedButton& e, const char* where)
{
    EXPECT_EQ(b.ButtonIndex, index) << where << index;
    EXPECT_EQ(b.FunctionClass, e.functionClass) << where << index;
    EXPECT_EQ(b.FunctionIndex, e.functionIndex) << where << index;
    EXPECT_EQ(b.DeviceCode, e.deviceCode) << where << index;
    EXPECT_EQ(b.MenuID, e.menuId) << where << index;
}

} // namespace

TEST(FactoryDefaults, ProfileDefaultsSetTheListedFields)
{
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*p);
    const TMOUSECONFIGINFO& c = p->ConfigInfo;
    EXPECT_EQ(recordToBytes(*p).left(4), QByteArray("\x03\x01\x00\x00", 4));
    EXPECT_EQ(c.ButtonCount, 7);

    const ExpectedButton buttons[7] = {{1, 0, 1, 1}, {1, 1, 2, 2}, {1, 2, 3, 3}, {1, 4, 4, 5},
                                       {1, 3, 5, 4}, {0, 30, 9, 13}, {0, 31, 10, 14}};
    for (int i = 0; i < 7; ++i)
        expectButton(c.ButtonFuncInfo[i], i, buttons[i], "button ");
    expectButton(c.VWheelButtonFuncInfo[0], 0, {1, 0, 11, 1}, "wheel ");
    expectButton(c.VWheelButtonFuncInfo[1], 1, {1, 1, 12, 2}, "wheel ");

    EXPECT_EQ(c.HWVWheelValue, 1);
    EXPECT_EQ(c.WheelLedOnOff, 1);
    EXPECT_EQ(c.VWheelSpeed, 3);
    EXPECT_EQ(c.DoubleClickSpeed, 550);
    EXPECT_EQ(c.PointerSpeed, 10);
    EXPECT_EQ(c.PointerAcceleration, 0);
    EXPECT_EQ(c.ReportRate, 500);
    EXPECT_EQ(c.CPILevel, 4);
    EXPECT_EQ(c.CurrentCPIIndex, 1);
    EXPECT_EQ(c.LEDConfig.B, 255);
    EXPECT_EQ(c.LEDConfig.BRIGHT_LEVEL, 1);
    EXPECT_EQ(c.LEDConfig.BREATH_SPEED, 1);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.UseDiffentXY[i], 1);
    EXPECT_EQ(c.UseDiffentXY[4], 0);
    EXPECT_EQ(c.ApplyCPISettingEachProfile, 1);
    EXPECT_EQ(c.FireKeySpeed, 10);
    EXPECT_EQ(c.FireKeyCount, 2);

    const int user[4] = {400, 800, 1600, 3500};
    const int snapped[4] = {400, 800, 1700, 3400};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(c.CPIState[i].X, user[i]);
        EXPECT_EQ(c.CPIState[i].Y, user[i]);
        EXPECT_EQ(c.CPIState[i].Enabled, 1);
        EXPECT_EQ(c.HWCPIState[i].X, snapped[i]);
        EXPECT_EQ(c.HWCPIState[i].Y, snapped[i]);
        EXPECT_EQ(c.HWCPIState[i].Enabled, 1);
    }
}

TEST(FactoryDefaults, ProfileDefaultsChangeNothingElse)
{
    const QByteArray before = patterned<TMOUSEPROFILEINFO>();
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    copyBytesIntoRecord(*p, before);
    applyProfileDefaults(*p);
    const QByteArray after = recordToBytes(*p);

    const std::size_t buttons = kConfig + offsetof(TMOUSECONFIGINFO, ButtonFuncInfo);
    const std::size_t wheel = kConfig + offsetof(TMOUSECONFIGINFO, VWheelButtonFuncInfo);
    std::vector<Range> allowed = {
        {0, 4},
        CONFIG_FIELD(ButtonCount),
        CONFIG_FIELD(HWVWheelValue),
        CONFIG_FIELD(WheelLedOnOff),
        CONFIG_FIELD(VWheelSpeed),
        CONFIG_FIELD(DoubleClickSpeed),
        CONFIG_FIELD(PointerSpeed),
        CONFIG_FIELD(PointerAcceleration),
        CONFIG_FIELD(ReportRate),
        CONFIG_FIELD(CPILevel),
        CONFIG_FIELD(CurrentCPIIndex),
        {kConfig + offsetof(TMOUSECONFIGINFO, LEDConfig), 5}, // not BREATH_SECOND
        {kConfig + offsetof(TMOUSECONFIGINFO, UseDiffentXY), 4 * 2},
        {kConfig + offsetof(TMOUSECONFIGINFO, CPIState), 10 * sizeof(TCPILEVELINFO)},
        {kConfig + offsetof(TMOUSECONFIGINFO, HWCPIState), 10 * sizeof(TCPILEVELINFO)},
        CONFIG_FIELD(ApplyCPISettingEachProfile),
        CONFIG_FIELD(ApplyAccelaration),
        CONFIG_FIELD(ApplyDiffirentXY),
        CONFIG_FIELD(FireKeySpeed),
        CONFIG_FIELD(FireKeyCount),
        {offsetof(TMOUSEPROFILEINFO, MacroKeyInfoList) + offsetof(TMACROKEYINFOLIST, nMacroInfoCount), 2},
    };
    for (int i = 0; i < 10; ++i)
        allowed.push_back({buttons + i * kButtonSize, offsetof(TBUTTONFUNCINFO, ButtonIndex)});
    for (int i = 0; i < 7; ++i) {
        const auto fields = buttonEntryFields(buttons + i * kButtonSize);
        allowed.insert(allowed.end(), fields.begin(), fields.end());
    }
    for (int i = 0; i < 2; ++i) {
        const auto fields = buttonEntryFields(wheel + i * kButtonSize);
        allowed.insert(allowed.end(), fields.begin(), fields.end());
    }
    const auto stray = changedOutside(before, after, allowed);
    EXPECT_TRUE(stray.empty()) << stray.size() << " bytes changed outside the defaults, first at " << stray.front();

    // Entries 7 to 9 are cleared up to ButtonIndex, which they keep.
    const std::size_t entry8 = buttons + 8 * kButtonSize;
    EXPECT_EQ(after.mid(qsizetype(entry8), 3752), QByteArray(3752, '\0'));
    EXPECT_EQ(after.mid(qsizetype(entry8 + 3752), 20), before.mid(qsizetype(entry8 + 3752), 20));
    // Entries 10 to 14 are not touched at all.
    const std::size_t entry10 = buttons + 10 * kButtonSize;
    EXPECT_EQ(after.mid(qsizetype(entry10), 5 * qsizetype(kButtonSize)),
              before.mid(qsizetype(entry10), 5 * qsizetype(kButtonSize)));
}

TEST(FactoryDefaults, RestoringAProfileWithMacrosKeepsTheirBodies)
{
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    p->MacroKeyInfoList.nMacroInfoCount = 3;
    for (int i = 0; i < 3; ++i) {
        p->MacroKeyInfoList.MacroInfos[i].MacroListCount = 5 + i;
        p->MacroKeyInfoList.MacroInfos[i].szMacroName.assign(QStringLiteral("Macro %1").arg(i));
    }
    const QByteArray macrosBefore = recordToBytes(p->MacroKeyInfoList.MacroInfos[0]);
    applyProfileDefaults(*p);
    EXPECT_EQ(p->MacroKeyInfoList.nMacroInfoCount, 0);
    EXPECT_EQ(recordToBytes(p->MacroKeyInfoList.MacroInfos[0]), macrosBefore);
    EXPECT_EQ(p->MacroKeyInfoList.MacroInfos[2].szMacroName.toString(), "Macro 2");
}

TEST(FactoryDefaults, TestProfileSendsRawCodesOnTheLastThreeButtons)
{
    const QByteArray before = patterned<TMOUSEPROFILEINFO>();
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    copyBytesIntoRecord(*p, before);
    applyTestProfileDefaults(*p);
    EXPECT_EQ(p->ProfileHeader.FFileVersion, 258);
    EXPECT_EQ(p->ConfigInfo.ButtonCount, 8);
    const int codes[5] = {1, 2, 3, 5, 4};
    for (int i = 0; i < 5; ++i)
        expectButton(p->ConfigInfo.ButtonFuncInfo[i], i, {1, i, codes[i], 0}, "test button ");
    const std::uint8_t raw[3] = {0x20, 0x40, 0x80};
    for (int i = 5; i < 8; ++i) {
        const TBUTTONFUNCINFO& b = p->ConfigInfo.ButtonFuncInfo[i];
        expectButton(b, i, {11, 14, 19, 0}, "test button ");
        EXPECT_EQ(b.RawParam[0], raw[i - 5]);
        EXPECT_EQ(b.RawParam[1], 0);
        EXPECT_EQ(b.RawParam[2], 0);
    }
    EXPECT_EQ(p->ConfigInfo.ReportRate, 0); // everything else zero, not left over
    EXPECT_EQ(p->MacroKeyInfoList.MacroInfos[0].MacroListCount, 0);
}

TEST(FactoryDefaults, GroupDefaultsKeepEveryProfileInItsFile)
{
    auto g = makeZeroRecord<TProfileSettingGroup>();
    const QString folder = QStringLiteral("/home/u/Documents/Gaming Mouse Profiles");
    applyProfileSettingGroupDefaults(*g, folder);
    EXPECT_EQ(g->CurrentProfileGroup, 0);
    EXPECT_EQ(g->ProfileIndexOfProfileGroup[0], 0);
    EXPECT_EQ(g->ProfileIndexOfProfileGroup[1], 1);
    for (int i = 0; i < kProfileCount; ++i) {
        const TProfileSetting& e = g->ProfileSettingList[i];
        EXPECT_EQ(e.SaveToFile, 1);
        EXPECT_EQ(e.FileName.toString(), QStringLiteral("Profile%1.pfd").arg(i + 1));
        EXPECT_EQ(e.FilePath.toString(), folder);
        EXPECT_EQ(e.KeyPath.toString(), "software\\ZOZozadOdediv4812");
        EXPECT_EQ(e.MacroPath.toString(), folder + QStringLiteral("/Profile%1_Macros").arg(i + 1));
    }
}

TEST(FactoryDefaults, AllSettingsTakeTheLanguageOfTheSystem)
{
    struct Case {
        const char* id;
        int index;
    };
    const Case cases[] = {{"0804", 1}, {"0404", 2}, {"0409", 0}, {"0C04", 0}, {"0407", 0}, {"", 0}};
    for (const Case& c : cases) {
        auto a = makeZeroRecord<TALLGAMESINFO>();
        a->CurrentGame = 3;
        a->Allgameset[2].SaveToFile = 1;
        a->Allgameset[2].FilePath.assign(QStringLiteral("/x"));
        applyAllSettingsDefaults(*a, QLatin1String(c.id));
        EXPECT_EQ(a->CurrentLanguage, c.index) << c.id;
        EXPECT_EQ(a->CurrentGame, 0);
        EXPECT_EQ(a->Allgameset[0].Marker, 1);
        EXPECT_EQ(a->Allgameset[2].SaveToFile, 0);
        EXPECT_TRUE(a->Allgameset[2].FilePath.toString().isEmpty());
    }
}

TEST(FactoryDefaults, SensitivityAndAdvancedPageDefaultsDiffer)
{
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*p);
    p->ConfigInfo.CPILevel = 2;
    p->ConfigInfo.CPIState[1].X = 2000;
    p->ConfigInfo.ApplyAccelaration = 1;
    applyCpiSettingDefaults(*p);
    EXPECT_EQ(p->ConfigInfo.CPILevel, 2); // kept
    EXPECT_EQ(p->ConfigInfo.CPIState[1].X, 800);
    EXPECT_EQ(p->ConfigInfo.UseDiffentXY[0], 0);
    EXPECT_EQ(p->ConfigInfo.ApplyAccelaration, 0);

    p->ConfigInfo.ReportRate = 1000;
    p->ConfigInfo.LEDConfig.BRIGHT_LEVEL = 0;
    p->ConfigInfo.WheelLedOnOff = 0;
    applyLightAndReportAdvancedDefaults(*p);
    EXPECT_EQ(p->ConfigInfo.ApplyAccelaration, 1);
    EXPECT_EQ(p->ConfigInfo.FireKeySpeed, 5);
    EXPECT_EQ(p->ConfigInfo.ReportRate, 500);
    EXPECT_EQ(p->ConfigInfo.LEDConfig.BRIGHT_LEVEL, 1);
    EXPECT_EQ(p->ConfigInfo.WheelLedOnOff, 1);
    EXPECT_EQ(p->ConfigInfo.CPIState[1].X, 800);
}
