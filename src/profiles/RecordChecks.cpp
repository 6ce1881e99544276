#include "profiles/RecordChecks.h"

#include "macros/MacroAction.h"
#include "macros/MacroBounds.h"
#include "profiles/AdvancedEdits.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/SensitivityEdits.h"
#include "wire/LightEncoding.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace k4812 {

namespace {

// The user's buttons; the mouse's eighth entry is fixed by the encoding.
constexpr int kUserButtonCount = 7;

} // namespace

QString profileFileNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("the file name is empty");
    if (name.size() > kProfileFileNameUnits - 1)
        return QStringLiteral("the file name \"%1\" is longer than %2 characters")
            .arg(name)
            .arg(kProfileFileNameUnits - 1);
    if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" is not a plain file name").arg(name);
    return {};
}

QString profileSettingGroupProblem(const TProfileSettingGroup& group)
{
    const std::int32_t mode = group.CurrentProfileGroup;
    if (mode < 0 || mode >= kModeCount)
        return QStringLiteral("the active mode %1 is not 0 or 1").arg(mode);
    for (int m = 0; m < kModeCount; ++m) {
        const std::int32_t bound = group.ProfileIndexOfProfileGroup[m];
        if (bound < 0 || bound >= kProfileCount)
            return QStringLiteral("mode %1 is bound to profile %2, not one of 0 to 4").arg(m).arg(bound);
    }
    for (int i = 0; i < kProfileCount; ++i) {
        const TProfileSetting& e = group.ProfileSettingList[i];
        if (e.SaveToFile > 1)
            return QStringLiteral("profile %1 has the storage mode %2, not 0 or 1").arg(i).arg(e.SaveToFile);
        const QString nameProblem = profileFileNameProblem(e.FileName.toString());
        if (!nameProblem.isEmpty())
            return QStringLiteral("profile %1: %2").arg(i).arg(nameProblem);
        // A relative folder would put files where the program happens to run.
        const QString folder = e.FilePath.toString();
        if ((e.SaveToFile == 1 || !folder.isEmpty()) && !folder.startsWith(QLatin1Char('/')))
            return QStringLiteral("profile %1 has the folder \"%2\", which is not an absolute path").arg(i).arg(folder);
        const QString macroFolder = e.MacroPath.toString();
        if (!macroFolder.startsWith(QLatin1Char('/')))
            return QStringLiteral("profile %1 has the macro folder \"%2\", which is not an absolute path")
                .arg(i)
                .arg(macroFolder);
    }
    return {};
}

QString profileFileProblem(QByteArrayView bytes)
{
    std::int32_t version = 0;
    if (bytes.size() >= qsizetype(sizeof version))
        std::memcpy(&version, bytes.data(), sizeof version);
    if (version != kProfileFileVersion) {
        return QStringLiteral("it is not a profile file of this program (its first four bytes are not the version %1)")
            .arg(kProfileFileVersion);
    }
    if (bytes.size() < qsizetype(sizeof(TMOUSEPROFILEINFO))) {
        return QStringLiteral("it is %1 bytes long, shorter than a profile (%2 bytes)")
            .arg(bytes.size())
            .arg(sizeof(TMOUSEPROFILEINFO));
    }
    return {};
}

namespace {

QString buttonField(int element, const char* field)
{
    return QStringLiteral("button %1 (ButtonFuncInfo[%2].%3)").arg(element + 1).arg(element).arg(QLatin1String(field));
}

// The function class that goes with each row of the button function table.
std::uint8_t functionClassOfRow(int row)
{
    if (row <= 4)
        return kFunctionClassMouse;
    if (row == kRowSingleKey)
        return kFunctionClassSingleKey;
    if (row <= 20)
        return kFunctionClassCombo;
    if (row <= 27 || row == kRowDisable)
        return kFunctionClassMedia;
    if (row == kRowMacro)
        return kFunctionClassMacro;
    if (row == kRowFireKey)
        return kFunctionClassFire;
    return kFunctionClassCpi;
}

bool isKnownMediaUsage(std::uint16_t usage)
{
    return usage == 0
        || std::any_of(MediaKeyItems.begin(), MediaKeyItems.end(),
                       [usage](const MediaKeyItem& item) { return item.usage == usage; });
}

QString keyProblem(int element, const char* field, int virtualKey, int extended)
{
    if (IsSendableKey(virtualKey, extended))
        return {};
    return QStringLiteral("%1 is the key %2 (extended %3), which the mouse cannot send")
        .arg(buttonField(element, field))
        .arg(virtualKey)
        .arg(extended);
}

// The parameter field of the element's class.
QString parameterProblem(const TMOUSEPROFILEINFO& profile, int element)
{
    const TBUTTONFUNCINFO& e = profile.ConfigInfo.ButtonFuncInfo[element];
    switch (e.FunctionClass) {
    case kFunctionClassSingleKey: {
        const TSINGLEKEYINFO key = e.SingleKeyInfo;
        return keyProblem(element, "SingleKeyInfo", key.nKeyValue1, key.nKey1Extended);
    }
    case kFunctionClassCombo: {
        const TCOMBOKEYINFO combo = e.ComboKeyInfo;
        if ((combo.nModifier & ~0x0F) != 0)
            return QStringLiteral("%1 is %2, not a set of the modifier bits 1, 2, 4 and 8")
                .arg(buttonField(element, "ComboKeyInfo.nModifier"))
                .arg(combo.nModifier);
        QString problem = keyProblem(element, "ComboKeyInfo.nKeyValue1", combo.nKeyValue1, combo.nKey1Extended);
        if (problem.isEmpty() && combo.nKeyValue2 != 0)
            problem = keyProblem(element, "ComboKeyInfo.nKeyValue2", combo.nKeyValue2, combo.nKey2Extended);
        return problem;
    }
    case kFunctionClassMedia: {
        const THID_CODE_INFO media = e.MediaKeyInfo;
        if (!isKnownMediaUsage(media.nKeyValue1) || media.nKeyValue2 != 0)
            return QStringLiteral("%1 is %2 and %3, not one of the media keys or Disable")
                .arg(buttonField(element, "MediaKeyInfo"))
                .arg(media.nKeyValue1)
                .arg(media.nKeyValue2);
        return {};
    }
    case kFunctionClassFire: {
        const TFIREKEYINFO fire = e.FireKeyInfo;
        if (fire.nLoopCount < kFireCountMin || fire.nLoopCount > kFireCountMax || fire.DelyValue < kFireDelayMin
            || fire.DelyValue > kFireDelayMax)
            return QStringLiteral("%1 has the count %2 and the delay %3; each must be %4 to %5")
                .arg(buttonField(element, "FireKeyInfo"))
                .arg(fire.nLoopCount)
                .arg(fire.DelyValue)
                .arg(kFireCountMin)
                .arg(kFireCountMax);
        return {};
    }
    case kFunctionClassMacro: {
        const int index = e.MacroKeyInfo.nMacroIndex;
        const int count = profile.MacroKeyInfoList.nMacroInfoCount;
        if (index >= count || index > kMaxMacroMenuIndex)
            return QStringLiteral("%1 is %2, but the profile's macro list holds %3 macros")
                .arg(buttonField(element, "MacroKeyInfo.nMacroIndex"))
                .arg(index)
                .arg(count);
        // The mouse's macro block for this button is filled from the first
        // listed macro numbered as the button's index, which the list keeps
        // at that place; any other would put another macro's keys on the
        // button, or none.
        int numbered = -1;
        for (int i = 0; i < count && numbered < 0; ++i) {
            if (profile.MacroKeyInfoList.MacroInfos[i].nMacroIndex == index)
                numbered = i;
        }
        if (numbered >= 0 && numbered != index)
            return QStringLiteral("%1 is %2, but macro %3 of the list is numbered %2 too and comes first")
                .arg(buttonField(element, "MacroKeyInfo.nMacroIndex"))
                .arg(index)
                .arg(numbered);
        if (numbered != index)
            return QStringLiteral("%1 is %2, but the macro at that place of the list is numbered %3")
                .arg(buttonField(element, "MacroKeyInfo.nMacroIndex"))
                .arg(index)
                .arg(int(profile.MacroKeyInfoList.MacroInfos[index].nMacroIndex));
        QString problem;
        if (!isMacroInModel(e.MacroKeyInfo, problem))
            return QStringLiteral("%1: %2").arg(buttonField(element, "MacroKeyInfo"), problem);
        return {};
    }
    default:
        return {};
    }
}

QString buttonProblem(const TMOUSEPROFILEINFO& profile, int element)
{
    const TBUTTONFUNCINFO& e = profile.ConfigInfo.ButtonFuncInfo[element];
    const int row = e.FunctionIndex;
    const std::optional<std::uint8_t> rowCode = DeviceCodeOfRow(row);
    if (!rowCode)
        return QStringLiteral("%1 is %2, not a row of the button function table (0 to %3)")
            .arg(buttonField(element, "FunctionIndex"))
            .arg(row)
            .arg(kButtonFunctionRowCount - 1);
    if (element <= 1 && row != kRowClick && row != kRowRightClick)
        return QStringLiteral("%1 is %2; the primary buttons only click or right-click")
            .arg(buttonField(element, "FunctionIndex"))
            .arg(row);
    const std::int32_t code = e.DeviceCode;
    if (code != *rowCode)
        return QStringLiteral("%1 is %2, but its function (row %3) has the device code %4")
            .arg(buttonField(element, "DeviceCode"))
            .arg(code)
            .arg(row)
            .arg(*rowCode);
    if (e.FunctionClass != functionClassOfRow(row))
        return QStringLiteral("%1 is %2, but its function (row %3) has the class %4")
            .arg(buttonField(element, "FunctionClass"))
            .arg(e.FunctionClass)
            .arg(row)
            .arg(functionClassOfRow(row));
    return parameterProblem(profile, element);
}

QString cpiProblem(const TMOUSECONFIGINFO& c)
{
    const int levels = c.CPILevel;
    if (levels < 1 || levels > kCpiLevelsShown)
        return QStringLiteral("CPILevel is %1, not 1 to %2").arg(levels).arg(kCpiLevelsShown);
    const std::int32_t current = c.CurrentCPIIndex;
    if (current < 0 || current >= kCpiLevelsShown)
        return QStringLiteral("CurrentCPIIndex is %1, not 0 to %2").arg(current).arg(kCpiLevelsShown - 1);
    for (int k = 0; k < kCpiLevelCapacity - 1; ++k) {
        const TCPILEVELINFO level = c.CPIState[k];
        if (level.Enabled == 0)
            continue;
        if (level.Enabled != 1 || k >= kCpiLevelsShown)
            return QStringLiteral("CPIState[%1].Enabled is %2; only levels 1 to %3 can be in use (1) or not (0)")
                .arg(k)
                .arg(level.Enabled)
                .arg(kCpiLevelsShown);
        if (!IsCpiValueInRange(level.X) || !IsCpiValueInRange(level.Y))
            return QStringLiteral("CPIState[%1] is %2 x %3 CPI; a level in use is %4 to %5 on each axis")
                .arg(k)
                .arg(level.X)
                .arg(level.Y)
                .arg(kCpiValueMin)
                .arg(kCpiValueMax);
    }
    return {};
}

} // namespace

QString lightProblem(const TMOUSECONFIGINFO& c)
{
    const int on = c.WheelLedOnOff;
    if (on != 0 && on != 1)
        return QStringLiteral("WheelLedOnOff is %1, not 0 or 1").arg(on);
    const int wheel = c.HWVWheelValue;
    if (wheel < 0)
        return QStringLiteral("HWVWheelValue is %1, not 0 to 127").arg(wheel);
    const TLEDCONFIG light = c.LEDConfig;
    if (light.BRIGHT_LEVEL > kLightOnBrightness)
        return QStringLiteral("LEDConfig.BRIGHT_LEVEL is %1, not 0 to %2")
            .arg(light.BRIGHT_LEVEL)
            .arg(kLightOnBrightness);
    if (light.BREATH_SPEED > kBreathingSpeedMax)
        return QStringLiteral("LEDConfig.BREATH_SPEED is %1, not 0 to %2")
            .arg(light.BREATH_SPEED)
            .arg(kBreathingSpeedMax);
    return {};
}

namespace {

QString lightAndRateProblem(const TMOUSECONFIGINFO& c)
{
    const int rate = c.ReportRate;
    const auto isRate = [rate](const ReportRateRow& r) { return r.hertz == rate; };
    if (std::none_of(kReportRates.begin(), kReportRates.end(), isRate))
        return QStringLiteral("ReportRate is %1 Hz, not 125, 250, 500 or 1000").arg(rate);
    const QString light = lightProblem(c);
    if (!light.isEmpty())
        return light;
    const std::int32_t fireSpeed = c.FireKeySpeed;
    const std::int32_t fireCount = c.FireKeyCount;
    if (fireSpeed < 0 || fireSpeed > kFireDelayMax)
        return QStringLiteral("FireKeySpeed is %1, not 0 to %2").arg(fireSpeed).arg(kFireDelayMax);
    if (fireCount < 0 || fireCount > kFireCountMax)
        return QStringLiteral("FireKeyCount is %1, not 0 to %2").arg(fireCount).arg(kFireCountMax);
    return {};
}

} // namespace

namespace {

// The kinds of action the recorder and the macro manager make (a type-5
// action is kept as the model keeps it), each going down or up; anything else
// would reach the mouse as bytes no edit made.
QString macroActionProblem(const TMACROKEYINFOLIST& list)
{
    for (int i = 0; i < list.nMacroInfoCount; ++i) {
        const TMACROKEYINFO& macro = list.MacroInfos[i];
        for (int a = 0; a < macro.MacroListCount; ++a) {
            const TMACROKEY action = macro.MacroList[a];
            const bool knownType = action.nKeyType == kMacroKeyMouse || action.nKeyType == kMacroKeyKeyboard
                || action.nKeyType == kMacroKeyType5 || action.nKeyType == kMacroKeyDelay;
            if (!knownType || (action.nKeyState != kMacroKeyUp && action.nKeyState != kMacroKeyDown))
                return QStringLiteral("MacroKeyInfoList.MacroInfos[%1].MacroList[%2] has type %3 and state %4, "
                                      "which no macro edit makes")
                    .arg(i)
                    .arg(a)
                    .arg(action.nKeyType)
                    .arg(action.nKeyState);
        }
    }
    return {};
}

} // namespace

QString profileRecordProblem(const TMOUSEPROFILEINFO& profile)
{
    const TMOUSECONFIGINFO& c = profile.ConfigInfo;
    const std::int32_t buttons = c.ButtonCount;
    if (buttons < 0 || buttons > kButtonEntryCapacity)
        return QStringLiteral("ButtonCount is %1, not 0 to %2").arg(buttons).arg(kButtonEntryCapacity);
    QString problem;
    if (!isMacroListInModel(profile.MacroKeyInfoList, problem))
        return QStringLiteral("MacroKeyInfoList: %1").arg(problem);
    problem = macroActionProblem(profile.MacroKeyInfoList);
    if (!problem.isEmpty())
        return problem;
    for (int element = 0; element < kUserButtonCount; ++element) {
        problem = buttonProblem(profile, element);
        if (!problem.isEmpty())
            return problem;
    }
    if (CountAssignedMacros(profile) > kMaxAssignedMacros)
        return QStringLiteral("the buttons are given %1 different macros; the mouse holds at most %2")
            .arg(CountAssignedMacros(profile))
            .arg(kMaxAssignedMacros);
    problem = cpiProblem(c);
    if (problem.isEmpty())
        problem = lightAndRateProblem(c);
    return problem;
}

QString profileBytesProblem(QByteArrayView bytes)
{
    QString problem = profileFileProblem(bytes);
    if (!problem.isEmpty())
        return problem;
    auto record = std::make_unique<TMOUSEPROFILEINFO>();
    std::memcpy(record.get(), bytes.data(), sizeof(TMOUSEPROFILEINFO));
    problem = profileRecordProblem(*record);
    return problem.isEmpty() ? QString() : QStringLiteral("it holds a value the program never stores: %1").arg(problem);
}

} // namespace k4812
