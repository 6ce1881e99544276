#include "wire/ButtonEncoding.h"

#include "wire/KeyCodeTable.h"
#include "wire/MacroEncoding.h"
#include "wire/MacroSelection.h"

#include <utility>
#include <vector>

namespace k4812 {

namespace {

using Entry = std::array<std::uint8_t, 4>;

constexpr Entry kDisabledEntry{kDeviceMediaKey, 0, 0, 0};

struct EntryContext {
    int element;   // position in the prepared copy, for notes
    const std::vector<std::uint16_t>& macroList;
    const MacroBlocks& macroBlocks;
    EncodingNotes* notes;

    void note(const QString& text) const
    {
        addEncodingNote(notes, QStringLiteral("button entry %1: %2").arg(element).arg(text));
    }

    std::uint8_t keyUsage(int virtualKey, int extendedFlag) const
    {
        if (HidUsageOf(virtualKey, extendedFlag) > 255)
            note(QStringLiteral("key %1 has no keyboard usage the mouse can send; sent as no key")
                     .arg(KeyNameOf(virtualKey, extendedFlag)));
        return DeviceKeyUsage(virtualKey, extendedFlag);
    }
};

Entry encodeEntry(const TBUTTONFUNCINFO& e, const EntryContext& context)
{
    const std::int32_t deviceCode = e.DeviceCode;
    if (deviceCode < 0 || deviceCode > 255) {
        context.note(QStringLiteral("function code %1 does not fit a byte; sent as Disable").arg(deviceCode));
        return kDisabledEntry;
    }
    const auto code = std::uint8_t(deviceCode);
    switch (code) {
    case kDeviceWheelUp:
    case kDeviceWheelDown:
        return {code, clampToByte(e.WheelParam, "WheelParam", context.notes), 0, 0};
    case kDeviceMediaKey: {
        const THID_CODE_INFO media = e.MediaKeyInfo;
        if (media.nKeyValue1 > 255 || media.nKeyValue2 > 255) {
            context.note(QStringLiteral("media key %1, %2 does not fit a byte; sent as Disable")
                             .arg(media.nKeyValue1).arg(media.nKeyValue2));
            return kDisabledEntry;
        }
        return {code, 0, std::uint8_t(media.nKeyValue1), std::uint8_t(media.nKeyValue2)};
    }
    case kDeviceKeyCombination: {
        const TCOMBOKEYINFO combo = e.ComboKeyInfo;
        return {code, std::uint8_t(HidModifierOf(combo.nModifier)), context.keyUsage(combo.nKeyValue1, combo.nKey1Extended),
                context.keyUsage(combo.nKeyValue2, combo.nKey2Extended)};
    }
    case kDeviceSingleKey: {
        const TSINGLEKEYINFO single = e.SingleKeyInfo;
        return {code, 0, context.keyUsage(single.nKeyValue1, single.nKey1Extended), 0};
    }
    case kDeviceMacro: {
        const int block = MacroBlockOf(context.macroList, e.MacroKeyInfo.nMacroIndex);
        if (block < 0) {
            context.note(QStringLiteral("macro %1 has no macro block; sent as Disable").arg(e.MacroKeyInfo.nMacroIndex));
            return kDisabledEntry;
        }
        const std::uint16_t length = context.macroBlocks.lengths[block];
        return {code, std::uint8_t(block), std::uint8_t(length & 0xFF), std::uint8_t(length >> 8)};
    }
    case kDeviceFireKey: {
        const TFIREKEYINFO fire = e.FireKeyInfo;
        return {code, clampToByte(fire.nLoopCount, "fire key count", context.notes), std::uint8_t(fire.DelyValue & 0xFF),
                std::uint8_t(fire.DelyValue >> 8)};
    }
    case kDeviceRawCode:
        return {code, e.RawParam[0], e.RawParam[1], e.RawParam[2]};
    default:   // functions without parameters, and codes the mouse may know but this program does not
        return {code, 0, 0, 0};
    }
}

} // namespace

bool SwapButtonFunctions(TMOUSEPROFILEINFO& profile, int a, int b)
{
    if (a < 0 || a >= kButtonEntryCapacity || b < 0 || b >= kButtonEntryCapacity)
        return false;
    std::swap(profile.ConfigInfo.ButtonFuncInfo[a], profile.ConfigInfo.ButtonFuncInfo[b]);
    return true;
}

std::unique_ptr<TMOUSEPROFILEINFO> PrepareDeviceProfile(const TMOUSEPROFILEINFO& profile)
{
    auto copy = std::make_unique<TMOUSEPROFILEINFO>(profile);
    SwapButtonFunctions(*copy, 3, 4);
    copy->ConfigInfo.ButtonCount = kDeviceButtonCount;
    TBUTTONFUNCINFO& eighth = copy->ConfigInfo.ButtonFuncInfo[7];
    eighth.FunctionClass = kFunctionClassCpi;
    eighth.DeviceCode = kDeviceEighthButton;
    return copy;
}

ButtonBlock EncodeButtonBlock(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes)
{
    ButtonBlock block{};
    const int count = ButtonsInUse(profile);
    if (count != profile.ConfigInfo.ButtonCount) {
        addEncodingNote(notes, QStringLiteral("ButtonCount = %1 is outside 0 to %2; %3 buttons sent")
                                   .arg(profile.ConfigInfo.ButtonCount).arg(kButtonEntryCapacity).arg(count));
    }
    block[0] = std::uint8_t(count);
    const std::vector<std::uint16_t> macroList = DistinctMacroList(profile);
    const MacroBlocks macroBlocks = EncodeMacroBlocks(profile);   // for the lengths; its notes come from its own caller
    for (int i = 0; i < count; ++i) {
        const Entry entry = encodeEntry(profile.ConfigInfo.ButtonFuncInfo[i], EntryContext{i, macroList, macroBlocks, notes});
        std::copy(entry.begin(), entry.end(), block.begin() + 1 + 4 * i);
    }
    return block;
}

} // namespace k4812
