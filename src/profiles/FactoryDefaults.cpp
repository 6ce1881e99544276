#include "profiles/FactoryDefaults.h"

#include "wire/CpiEncoding.h"

#include <algorithm>
#include <cstring>

namespace k4812 {

namespace {

struct ButtonDefault {
    std::uint8_t functionClass;
    std::uint16_t functionIndex;
    std::int32_t deviceCode;
    std::int32_t menuId;
};

// Click, Right Click, Middle Button, Backward, Forward, DPI +, DPI -.
constexpr ButtonDefault kButtonDefaults[7] = {
    {kFunctionClassMouse, 0, 1, 1},  {kFunctionClassMouse, 1, 2, 2}, {kFunctionClassMouse, 2, 3, 3},
    {kFunctionClassMouse, 4, 4, 5},  {kFunctionClassMouse, 3, 5, 4}, {kFunctionClassCpi, 30, 9, 13},
    {kFunctionClassCpi, 31, 10, 14},
};

// Wheel up, wheel down.
constexpr ButtonDefault kWheelDefaults[2] = {
    {kFunctionClassMouse, 0, 11, 1},
    {kFunctionClassMouse, 1, 12, 2},
};

// The device codes of the first five rows of the button function table:
// Click, Right Click, Middle Button, Forward, Backward.
constexpr std::int32_t kFirstFunctionTableCodes[5] = {1, 2, 3, 5, 4};

constexpr TCPILEVELINFO kDefaultCpiLevels[4] = {{400, 400, 1}, {800, 800, 1}, {1600, 1600, 1}, {3500, 3500, 1}};
constexpr int kCpiLevelsTouched = 10;   // entry 10 is never touched

void setFunction(TBUTTONFUNCINFO& entry, std::uint16_t buttonIndex, const ButtonDefault& d)
{
    entry.ButtonIndex = buttonIndex;
    entry.FunctionClass = d.functionClass;
    entry.FunctionIndex = d.functionIndex;
    entry.DeviceCode = d.deviceCode;
    entry.MenuID = d.menuId;
}

} // namespace

QString defaultProfileFileName(int profileIndex)
{
    return QStringLiteral("Profile%1.pfd").arg(profileIndex + 1);
}

void applyDefaultCpiLevels(TMOUSECONFIGINFO& config)
{
    for (int i = 0; i < kCpiLevelsTouched; ++i) {
        config.CPIState[i] = TCPILEVELINFO{0, 0, 0};
        config.HWCPIState[i] = TCPILEVELINFO{0, 0, 0};
    }
    for (int i = 0; i < 4; ++i) {
        const TCPILEVELINFO level = kDefaultCpiLevels[i];
        config.CPIState[i] = level;
        const auto snapped = std::uint16_t(SnapCpi(std::max<int>(level.X, level.Y)));
        config.HWCPIState[i] = TCPILEVELINFO{snapped, snapped, level.Enabled};
    }
}

void applyProfileDefaults(TMOUSEPROFILEINFO& profile)
{
    profile.ProfileHeader.FFileVersion = kProfileFileVersion;
    TMOUSECONFIGINFO& c = profile.ConfigInfo;
    c.ButtonCount = 7;

    // Everything before ButtonIndex: the stale parameters of earlier assignments.
    for (int i = 0; i < 10; ++i)
        std::memset(&c.ButtonFuncInfo[i], 0, offsetof(TBUTTONFUNCINFO, ButtonIndex));
    for (int i = 0; i < 7; ++i)
        setFunction(c.ButtonFuncInfo[i], std::uint16_t(i), kButtonDefaults[i]);
    for (int i = 0; i < 2; ++i)
        setFunction(c.VWheelButtonFuncInfo[i], std::uint16_t(i), kWheelDefaults[i]);

    c.HWVWheelValue = 1;
    c.WheelLedOnOff = 1;
    c.VWheelSpeed = 3;
    c.DoubleClickSpeed = 550;
    c.PointerSpeed = 10;
    c.PointerAcceleration = 0;
    c.ReportRate = 500;
    c.CPILevel = 4;
    c.CurrentCPIIndex = 1;
    c.LEDConfig.R = 0;
    c.LEDConfig.G = 0;
    c.LEDConfig.B = 255;
    c.LEDConfig.BRIGHT_LEVEL = 1;
    c.LEDConfig.BREATH_SPEED = 1;
    for (int i = 0; i < 4; ++i)
        c.UseDiffentXY[i] = 1;
    profile.MacroKeyInfoList.nMacroInfoCount = 0;
    c.ApplyCPISettingEachProfile = 1;
    c.ApplyAccelaration = 0;
    c.ApplyDiffirentXY = 0;
    c.FireKeySpeed = 10;
    c.FireKeyCount = 2;

    applyDefaultCpiLevels(c);
}

void applyProfileSettingGroupDefaults(TProfileSettingGroup& group, const QString& profilesFolder)
{
    for (int i = 0; i < kProfileCount; ++i) {
        TProfileSetting& e = group.ProfileSettingList[i];
        e.Marker = 0;
        e.SaveToFile = 1;
        e.FileName.assign(defaultProfileFileName(i));
        e.KeyPath.assign(QString::fromLatin1(kProfileKeyPath));
        e.FilePath.assign(profilesFolder);
        e.MacroPath.assign(profilesFolder + QStringLiteral("/Profile%1_Macros").arg(i + 1));
    }
    group.CurrentProfileGroup = 0;
    group.ProfileIndexOfProfileGroup[0] = 0;
    group.ProfileIndexOfProfileGroup[1] = 1;
}

int languageIndexOfWindowsLanguageId(const QString& windowsLanguageId)
{
    const QString id = windowsLanguageId.toUpper();
    if (id == QLatin1String("0804"))
        return 1;
    if (id == QLatin1String("0404"))
        return 2;
    return 0;
}

void applyAllSettingsDefaults(TALLGAMESINFO& all, const QString& windowsLanguageId)
{
    for (int i = 0; i < kProfileCount; ++i) {
        TProfileSetting& e = all.Allgameset[i];
        e.Marker = 0;
        e.SaveToFile = 0;
        e.FilePath.assign(QString());
    }
    all.Allgameset[0].Marker = 1;
    all.CurrentGame = 0;
    all.CurrentLanguage = languageIndexOfWindowsLanguageId(windowsLanguageId);
}

void applyTestProfileDefaults(TMOUSEPROFILEINFO& profile)
{
    std::memset(&profile, 0, sizeof profile);
    profile.ProfileHeader.FFileVersion = kTestProfileFileVersion;
    TMOUSECONFIGINFO& c = profile.ConfigInfo;
    c.ButtonCount = 8;
    for (int i = 0; i < 5; ++i)
        setFunction(c.ButtonFuncInfo[i], std::uint16_t(i),
                    ButtonDefault{kFunctionClassMouse, std::uint16_t(i), kFirstFunctionTableCodes[i], 0});
    for (int i = 5; i < 8; ++i) {
        setFunction(c.ButtonFuncInfo[i], std::uint16_t(i), ButtonDefault{kFunctionClassRaw, 14, 19, 0});
        // The 24-bit little-endian value with only bit i set.
        const std::uint32_t bit = 1u << i;
        c.ButtonFuncInfo[i].RawParam[0] = std::uint8_t(bit & 0xFF);
        c.ButtonFuncInfo[i].RawParam[1] = std::uint8_t((bit >> 8) & 0xFF);
        c.ButtonFuncInfo[i].RawParam[2] = std::uint8_t((bit >> 16) & 0xFF);
    }
}

void applyCpiSettingDefaults(TMOUSEPROFILEINFO& profile)
{
    TMOUSECONFIGINFO& c = profile.ConfigInfo;
    applyDefaultCpiLevels(c);
    c.CurrentCPIIndex = 1;
    for (int i = 0; i < 4; ++i)
        c.UseDiffentXY[i] = 0;
    c.ApplyCPISettingEachProfile = 1;
    c.ApplyAccelaration = 0;
    c.ApplyDiffirentXY = 0;
}

void applyLightAndReportAdvancedDefaults(TMOUSEPROFILEINFO& profile)
{
    TMOUSECONFIGINFO& c = profile.ConfigInfo;
    c.ApplyCPISettingEachProfile = 1;
    c.ApplyAccelaration = 1;
    c.ApplyDiffirentXY = 0;
    c.FireKeySpeed = 5;
    c.FireKeyCount = 2;
    c.ReportRate = 500;
    c.LEDConfig.BRIGHT_LEVEL = 1;
    c.LEDConfig.BREATH_SPEED = 1;
    c.LEDConfig.R = 0;
    c.LEDConfig.G = 0;
    c.LEDConfig.B = 255;
    c.WheelLedOnOff = 1;
}

} // namespace k4812
