#include "wire/DeviceDecoding.h"

#include "wire/KeyCodeTable.h"
#include "wire/KeyUsageNames.h"

#include <algorithm>
#include <vector>

namespace k4812 {

namespace {

constexpr int kEntrySize = 4;
constexpr int kMacroTypeBits = 0x7F;
constexpr int kMacroStateBit = 0x80;

QString hexByte(int value)
{
    return QLatin1String("0x") + QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString hexBytes(const std::uint8_t* bytes, std::size_t count)
{
    QStringList parts;
    for (std::size_t i = 0; i < count; ++i)
        parts << QStringLiteral("%1").arg(bytes[i], 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

DecodedKey keyboardKey(int usage, int extendedFlag)
{
    return {usage, KeyNameOfHidUsage(usage, extendedFlag)};
}

// A key for people: its name, or its usage when the table has no name.
QString keyText(const DecodedKey& key)
{
    if (key.usage == 0)
        return QStringLiteral("no key");
    return key.name.isEmpty() ? QStringLiteral("usage ") + hexByte(key.usage) : key.name;
}

// The window shows buttons 4 and 5 the other way round from the mouse.
int windowEntryOf(int entry)
{
    if (entry == 3)
        return 5;
    if (entry == 4)
        return 4;
    return entry < kDeviceButtonCount - 1 ? entry + 1 : 0;
}

int modifierBitsOf(int hidModifiers)
{
    int bits = 0;
    for (const ComboModifier& m : kComboModifiers) {
        if ((hidModifiers & m.hidBit) != 0)
            bits |= m.bit;
    }
    return bits;
}

QString comboText(const DecodedButton& b)
{
    QString text = ModifierText(b.modifierBits);
    const int unknown = b.hidModifiers & ~HidModifierOf(b.modifierBits);
    if (unknown != 0)
        text += QStringLiteral("HID modifiers %1+").arg(hexByte(unknown));
    text += keyText(b.key1);
    if (b.key2.usage != 0)
        text += QLatin1Char('+') + keyText(b.key2);
    return text;
}

int word(std::uint8_t low, std::uint8_t high)
{
    return low | high << 8;
}

} // namespace

QString DeviceFunctionName(int code)
{
    switch (code) {
    case kDeviceClick: return QStringLiteral("Click");
    case kDeviceRightClick: return QStringLiteral("Right Click");
    case kDeviceMiddleButton: return QStringLiteral("Middle Button");
    case kDeviceBackward: return QStringLiteral("Backward");
    case kDeviceForward: return QStringLiteral("Forward");
    case kDeviceCpiSwitch: return QStringLiteral("DPI Switch");
    case kDeviceCpiUp: return QStringLiteral("DPI +");
    case kDeviceCpiDown: return QStringLiteral("DPI -");
    case kDeviceWheelUp: return QStringLiteral("Wheel Up");
    case kDeviceWheelDown: return QStringLiteral("Wheel Down");
    case kDeviceEighthButton: return QStringLiteral("Eighth Button");
    case kDeviceMediaKey: return QStringLiteral("Media Key");
    case kDeviceKeyCombination: return QStringLiteral("Combo Key");
    case kDeviceSingleKey: return QStringLiteral("Single Key");
    case kDeviceMacro: return QStringLiteral("Macro");
    case kDeviceFireKey: return QStringLiteral("Fire Key");
    case kDeviceRawCode: return QStringLiteral("Raw Code");
    case 0: return QStringLiteral("None");
    default: return QStringLiteral("Unknown");
    }
}

DecodedButton DecodeButtonEntry(int entry, const std::array<std::uint8_t, 4>& bytes)
{
    DecodedButton b;
    b.entry = entry;
    b.windowEntry = windowEntryOf(entry);
    b.code = bytes[0];
    b.parameters = {bytes[1], bytes[2], bytes[3]};
    b.function = DeviceFunctionName(b.code);
    const auto [p1, p2, p3] = b.parameters;
    switch (b.code) {
    case kDeviceWheelUp:
    case kDeviceWheelDown:
        b.wheelParameter = p1;
        b.text = QStringLiteral("%1: %2").arg(b.function).arg(p1);
        break;
    case kDeviceMediaKey:
        b.media = {p2, MediaKeyNameOfUsage(p2)};
        b.mediaSecondValue = p3;
        if (p2 == 0 && p3 == 0) {
            b.function = QStringLiteral("Disable");
            b.text = b.function;
        } else {
            b.text = QStringLiteral("Media Key: ")
                     + (b.media.name.isEmpty() ? QStringLiteral("usage ") + hexByte(p2) : b.media.name);
            if (p3 != 0)
                b.text += QStringLiteral(" (second value %1)").arg(hexByte(p3));
        }
        break;
    case kDeviceKeyCombination:
        b.hidModifiers = p1;
        b.modifierBits = modifierBitsOf(p1);
        b.key1 = keyboardKey(p2, 0);
        b.key2 = keyboardKey(p3, 0);
        b.text = QStringLiteral("Combo Key: ") + comboText(b);
        break;
    case kDeviceSingleKey:
        b.key1 = keyboardKey(p2, 0);
        b.text = QStringLiteral("Single Key: ") + keyText(b.key1);
        break;
    case kDeviceMacro:
        b.macroBlock = p1;
        b.macroLength = word(p2, p3);
        b.text = QStringLiteral("Macro: block %1, %2 bytes").arg(p1).arg(b.macroLength);
        if (p1 >= kMacroBlockCount)
            b.text += QStringLiteral(" (there is no such block)");
        break;
    case kDeviceFireKey:
        b.fireCount = p1;
        b.fireDelay = word(p2, p3);
        b.text = QStringLiteral("Fire Key: %1 times, delay %2").arg(p1).arg(b.fireDelay);
        break;
    case kDeviceRawCode:
        b.text = QStringLiteral("Raw Code: ") + hexBytes(b.parameters.data(), 3);
        break;
    case kDeviceClick:
    case kDeviceRightClick:
    case kDeviceMiddleButton:
    case kDeviceBackward:
    case kDeviceForward:
    case kDeviceCpiSwitch:
    case kDeviceCpiUp:
    case kDeviceCpiDown:
    case kDeviceEighthButton:
    case 0:
        b.text = b.function;
        break;
    default:
        b.text = QStringLiteral("Unknown code %1: %2").arg(hexByte(b.code), hexBytes(b.parameters.data(), 3));
        break;
    }
    return b;
}

std::vector<DecodedButton> DecodeButtonBlock(const ButtonBlock& block, QStringList* problems)
{
    const int announced = block[0];
    if (announced > kButtonBlockEntries && problems != nullptr)
        problems->append(QStringLiteral("the button block announces %1 entries but holds %2")
                             .arg(announced).arg(kButtonBlockEntries));
    std::vector<DecodedButton> buttons;
    for (int i = 0; i < std::min(announced, kButtonBlockEntries); ++i) {
        const auto* p = block.data() + 1 + kEntrySize * i;
        buttons.push_back(DecodeButtonEntry(i, {p[0], p[1], p[2], p[3]}));
    }
    return buttons;
}

DecodedCpi DecodeCpiBlock(const CpiBlock& block)
{
    DecodedCpi cpi;
    cpi.levelCount = block[0];
    cpi.activeLevel = block[1];
    for (int k = 0; k < kCpiBlockLevels; ++k) {
        DecodedCpiLevel& level = cpi.levels[k];
        level.enabled = block[2 + 3 * k];
        level.xCode = block[3 + 3 * k];
        level.yCode = block[4 + 3 * k];
        level.xCpi = CpiOfDeviceCode(level.xCode);
        level.yCpi = CpiOfDeviceCode(level.yCode);
    }
    return cpi;
}

TLEDCONFIG DecodeLightBlock(const LightBlock& block)
{
    return TLEDCONFIG{std::uint8_t(255 - block[2]), std::uint8_t(255 - block[0]), std::uint8_t(255 - block[1]),
                      block[3], block[4], block[5]};
}

DecodedPreviewLight DecodeLightPreview(const std::array<std::uint8_t, 5>& bytes)
{
    DecodedPreviewLight preview;
    preview.bytes = bytes;
    preview.light = DecodeLightBlock({bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], 0});
    return preview;
}

DecodedMacroAction DecodeMacroAction(const MacroAction& bytes)
{
    DecodedMacroAction a;
    a.bytes = bytes;
    a.type = bytes[0] & kMacroTypeBits;
    a.state = (bytes[0] & kMacroStateBit) != 0 ? 1 : 0;
    const QString stateWord = a.state == 1 ? QStringLiteral("down") : QStringLiteral("up");
    if (bytes == MacroAction{}) {
        a.text = QStringLiteral("nothing (an action that could not be sent)");
    } else if (a.type == kMacroTypeKey) {
        a.key = keyboardKey(bytes[1], bytes[2]);
        a.extendedFlag = bytes[2];
        a.text = stateWord + QLatin1Char(' ') + keyText(a.key);
    } else if (a.type == kMacroTypeDelay) {
        a.delayMs = word(bytes[1], bytes[2]) * 10;
        a.text = QStringLiteral("delay %1 ms").arg(a.delayMs);
    } else {
        a.text = QStringLiteral("type %1 %2 %3 %4").arg(a.type).arg(stateWord, hexByte(bytes[1]), hexByte(bytes[2]));
    }
    return a;
}

DecodedMacro DecodeMacroBlock(int block, const MacroBlock& bytes, int length)
{
    DecodedMacro macro;
    macro.block = block;
    macro.used = true;
    macro.length = length;
    int usable = std::clamp(length, 0, int(kMacroBlockSize));
    if (usable != length)
        macro.problems << QStringLiteral("a button plays %1 bytes of a %2-byte block").arg(length).arg(kMacroBlockSize);
    if (usable % int(kMacroActionSize) != 0) {
        macro.problems << QStringLiteral("%1 bytes is not a whole number of 3-byte actions; the last %2 are ignored")
                              .arg(usable).arg(usable % int(kMacroActionSize));
        usable -= usable % int(kMacroActionSize);
    }
    for (int offset = 0; offset < usable; offset += int(kMacroActionSize))
        macro.actions.push_back(DecodeMacroAction({bytes[offset], bytes[offset + 1], bytes[offset + 2]}));
    if (!macro.actions.empty()) {
        const DecodedMacroAction& last = macro.actions.back();
        if (last.type == kMacroTypeLoop && last.state == 0) {
            macro.loopCount = word(last.bytes[1], last.bytes[2]);
            if (macro.loopCount == 0)
                macro.problems << QStringLiteral("the loop entry has a count of 0");
            macro.actions.pop_back();
        }
    }
    return macro;
}

DecodedBank DecodeBank(std::span<const std::uint8_t> memory, int bank)
{
    // Every block read from a memory of the full size, missing bytes as 0.
    std::vector<std::uint8_t> full(kSettingsMemorySize, 0);
    std::copy_n(memory.begin(), std::min(memory.size(), full.size()), full.begin());
    const auto blockAt = [&](auto& out, std::uint16_t address) {
        std::copy_n(full.begin() + address, out.size(), out.begin());
    };

    DecodedBank result;
    result.bank = bank;
    ButtonBlock buttons{};
    blockAt(buttons, bankAddress(bank, kButtonBlockOffset));
    result.buttonCount = buttons[0];
    result.buttons = DecodeButtonBlock(buttons, &result.problems);

    CpiBlock cpi{};
    blockAt(cpi, bankAddress(bank, kCpiBlockOffset));
    result.cpi = DecodeCpiBlock(cpi);

    LightBlock light{};
    blockAt(light, bankAddress(bank, kLightBlockOffset));
    result.light = DecodeLightBlock(light);

    // A block plays as many bytes as the first entry naming it says.
    std::array<int, kMacroBlockCount> firstEntry;
    firstEntry.fill(-1);
    std::array<QStringList, kMacroBlockCount> disagreements;
    for (const DecodedButton& b : result.buttons) {
        if (b.code != kDeviceMacro || b.macroBlock < 0 || b.macroBlock >= kMacroBlockCount)
            continue;
        const int k = b.macroBlock;
        if (firstEntry[k] < 0) {
            firstEntry[k] = b.entry;
        } else if (result.buttons[firstEntry[k]].macroLength != b.macroLength) {
            disagreements[k] << QStringLiteral("button entries %1 and %2 play %3 and %4 bytes of it")
                                    .arg(firstEntry[k]).arg(b.entry)
                                    .arg(result.buttons[firstEntry[k]].macroLength).arg(b.macroLength);
        }
    }
    for (int k = 0; k < kMacroBlockCount; ++k) {
        if (firstEntry[k] < 0) {
            result.macros[k].block = k;
            continue;
        }
        MacroBlock bytes{};
        blockAt(bytes, macroBlockAddress(bank, k));
        result.macros[k] = DecodeMacroBlock(k, bytes, result.buttons[firstEntry[k]].macroLength);
        result.macros[k].problems << disagreements[k];
    }
    return result;
}

DeviceDescription DecodeDeviceMemory(std::span<const std::uint8_t> memory)
{
    const auto byteAt = [&](std::uint16_t address) -> std::uint8_t {
        return address < memory.size() ? memory[address] : 0;
    };
    DeviceDescription d;
    for (int bank = 0; bank < kBankCount; ++bank)
        d.banks[bank] = DecodeBank(memory, bank);

    d.activeBankByte = byteAt(kActiveBankAddress);
    d.activeBank = d.activeBankByte == 0 ? 0 : 1;

    d.reportRateByte = byteAt(kReportRateAddress);
    d.reportRateCode = {d.reportRateByte & 0x0F, d.reportRateByte >> 4};
    for (int bank = 0; bank < kBankCount; ++bank) {
        for (const ReportRateRow& row : kReportRates) {
            if (row.code == d.reportRateCode[bank])
                d.reportRateHz[bank] = row.hertz;
        }
    }

    d.wheelLightByte = byteAt(kWheelLightAddress);
    d.wheelLightOn = (d.wheelLightByte & 0x80) != 0;
    d.wheelValue = d.wheelLightByte & 0x7F;
    return d;
}

} // namespace k4812
