#include "profiles/BankDecoding.h"

#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/KeyCodeTable.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"
#include "wire/MemoryMap.h"
#include "macros/MacroAction.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace k4812 {

namespace {

constexpr int kWindowButtons = 7;
constexpr int kMaxCpiLevels = 4;
constexpr int kRawCodeFunctionIndex = 14;   // as the factory-test profile stores its raw codes
constexpr std::uint8_t kKnownHidModifiers = 0x0F;

// Thrown inside the decoder only: the sentence that refuses the bank.
struct Refusal {
    QString text;
};

QString hex(int value, int width = 2)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(width, QLatin1Char('0'));
}

// One block of the memory being read, for the messages.
struct Block {
    const char* name;
    int bank;   // -1 for the shared bytes
    std::uint16_t address;
    std::span<const std::uint8_t> bytes;

    [[noreturn]] void refuse(int byte, const QString& what) const
    {
        const QString where = bank < 0 ? QStringLiteral("the %1 (%2)").arg(QLatin1String(name), hex(address, 3))
                                       : QStringLiteral("the %1 of Mode %2 (%3)")
                                             .arg(QLatin1String(name)).arg(bank + 1).arg(hex(address, 3));
        throw Refusal{QStringLiteral("%1, byte %2 (address %3): %4")
                          .arg(where).arg(byte).arg(hex(address + byte, 3), what)};
    }
    std::uint8_t at(int byte) const { return bytes[std::size_t(byte)]; }
};

Block blockOf(std::span<const std::uint8_t> memory, const char* name, int bank, std::uint16_t address, std::size_t size)
{
    return Block{name, bank, address, memory.subspan(address, size)};
}

// The key a usage stands for: the first virtual key (of the table the flag
// selects, then of the other) whose usage it is, as the key dialogs store it.
std::optional<std::pair<int, int>> keyOfUsage(int usage, std::optional<int> extendedFlag)
{
    if (usage <= 0)
        return std::nullopt;
    const auto search = [usage](int flag) -> std::optional<std::pair<int, int>> {
        for (int vk = 1; vk < 256; ++vk) {
            if (HidUsageOf(vk, flag) == usage)
                return std::pair{vk, flag};
        }
        return std::nullopt;
    };
    if (extendedFlag)
        return search(*extendedFlag);
    if (auto key = search(0))
        return key;
    return search(1);
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

void setRow(TBUTTONFUNCINFO& e, int menuId, std::uint8_t functionClass)
{
    const int row = FindFunctionRow(menuId);
    e.FunctionIndex = std::uint16_t(row);
    e.MenuID = menuId;
    e.FunctionClass = functionClass;
    e.DeviceCode = DeviceCodeOfRow(row).value_or(0);
}

// The macros the buttons play, by block, in the order the buttons name them.
struct MacroPlan {
    std::vector<int> blocks;    // list index -> block
    std::vector<int> lengths;   // list index -> bytes played
    int indexOf(int block) const
    {
        const auto it = std::find(blocks.begin(), blocks.end(), block);
        return it == blocks.end() ? -1 : int(it - blocks.begin());
    }
};

class BankDecoder {
public:
    BankDecoder(std::span<const std::uint8_t> memory, int bank, TMOUSEPROFILEINFO& profile)
        : m_memory(memory), m_bank(bank), m_profile(profile), m_config(profile.ConfigInfo)
    {
    }

    void run()
    {
        decodeSharedBytes();
        decodeCpi();
        decodeLight();
        const Block buttons = blockOf(m_memory, "button block", m_bank, bankAddress(m_bank, kButtonBlockOffset),
                                      kButtonBlockSize);
        planMacros(buttons);
        decodeMacros();
        decodeButtons(buttons);
    }

private:
    void decodeSharedBytes()
    {
        const Block rate = blockOf(m_memory, "report-rate byte", -1, kReportRateAddress, 1);
        const int code = m_bank == 0 ? rate.at(0) & 0x0F : rate.at(0) >> 4;
        const auto row = std::find_if(kReportRates.begin(), kReportRates.end(),
                                      [code](const ReportRateRow& r) { return r.code == code; });
        if (row == kReportRates.end())
            rate.refuse(0, QStringLiteral("report-rate code %1 of Mode %2 is none of 1, 2, 4 and 8").arg(code).arg(m_bank + 1));
        m_config.ReportRate = std::uint16_t(row->hertz);

        const Block wheel = blockOf(m_memory, "wheel-light byte", -1, kWheelLightAddress, 1);
        m_config.WheelLedOnOff = std::int8_t((wheel.at(0) & 0x80) != 0 ? 1 : 0);
        m_config.HWVWheelValue = std::int8_t(wheel.at(0) & 0x7F);
    }

    void decodeCpi()
    {
        const Block b = blockOf(m_memory, "CPI block", m_bank, bankAddress(m_bank, kCpiBlockOffset), kCpiBlockSize);
        const int levels = b.at(0);
        if (levels < 1 || levels > kMaxCpiLevels)
            b.refuse(0, QStringLiteral("%1 levels in use; 1 to %2 expected").arg(levels).arg(kMaxCpiLevels));
        if (b.at(1) >= levels)
            b.refuse(1, QStringLiteral("active level %1 of %2 levels").arg(b.at(1) + 1).arg(levels));
        std::array<TCPILEVELINFO, kCpiBlockLevels> decoded{};
        for (int k = 0; k < kCpiBlockLevels; ++k) {
            const int at = 2 + 3 * k;
            const int enabled = b.at(at);
            const int x = b.at(at + 1);
            const int y = b.at(at + 2);
            if (enabled > 1)
                b.refuse(at, QStringLiteral("level %1 has the enabled flag %2").arg(k + 1).arg(enabled));
            if (enabled == 0) {
                if (x != 0 || y != 0)
                    b.refuse(x != 0 ? at + 1 : at + 2, QStringLiteral("disabled level %1 has a CPI code").arg(k + 1));
                continue;
            }
            if (x != y)
                b.refuse(at + 2, QStringLiteral("level %1 has X code %2 and Y code %3").arg(k + 1).arg(x).arg(y));
            const int cpi = CpiOfDeviceCode(x);
            if (cpi == 0)
                b.refuse(at + 1, QStringLiteral("level %1 has CPI code %2; 1 to 8 expected").arg(k + 1).arg(x));
            decoded[std::size_t(k)] = TCPILEVELINFO{std::uint16_t(cpi), std::uint16_t(cpi), 1};
        }
        m_config.CPILevel = std::uint16_t(levels);
        m_config.CurrentCPIIndex = b.at(1);
        for (int k = 0; k < kCpiBlockLevels; ++k) {
            m_config.CPIState[k] = decoded[std::size_t(k)];
            m_config.HWCPIState[k] = decoded[std::size_t(k)];
        }
    }

    void decodeLight()
    {
        const Block b = blockOf(m_memory, "light block", m_bank, bankAddress(m_bank, kLightBlockOffset), kLightBlockSize);
        m_config.LEDConfig = TLEDCONFIG{std::uint8_t(255 - b.at(2)), std::uint8_t(255 - b.at(0)),
                                        std::uint8_t(255 - b.at(1)), b.at(3), b.at(4), b.at(5)};
    }

    static int deviceEntryOfWindowButton(int element)
    {
        return element == 3 ? 4 : element == 4 ? 3 : element;
    }

    void planMacros(const Block& b)
    {
        if (b.at(0) != kDeviceButtonCount)
            b.refuse(0, QStringLiteral("%1 buttons; the mouse has %2").arg(b.at(0)).arg(kDeviceButtonCount));
        for (int entry = 0; entry < kWindowButtons; ++entry) {
            const int at = 1 + 4 * entry;
            if (b.at(at) != kDeviceMacro)
                continue;
            const int block = b.at(at + 1);
            const int length = b.at(at + 2) | b.at(at + 3) << 8;
            if (block >= kMacroBlockCount)
                b.refuse(at + 1, QStringLiteral("a macro in block %1; the mouse has blocks 0 to 4").arg(block));
            if (length > int(kMacroBlockSize) || length % int(kMacroActionSize) != 0)
                b.refuse(at + 2, QStringLiteral("a macro of %1 bytes; a multiple of 3 up to 384 expected").arg(length));
            const int index = m_macros.indexOf(block);
            if (index < 0) {
                m_macros.blocks.push_back(block);
                m_macros.lengths.push_back(length);
            } else if (m_macros.lengths[std::size_t(index)] != length) {
                b.refuse(at + 2, QStringLiteral("macro block %1 is played as %2 bytes here and %3 bytes by another button")
                                     .arg(block).arg(length).arg(m_macros.lengths[std::size_t(index)]));
            }
        }
    }

    void decodeMacros()
    {
        TMACROKEYINFOLIST& list = m_profile.MacroKeyInfoList;
        for (std::size_t i = 0; i < m_macros.blocks.size(); ++i) {
            const int block = m_macros.blocks[i];
            const Block b = blockOf(m_memory, "macro block", m_bank, macroBlockAddress(m_bank, block), kMacroBlockSize);
            TMACROKEYINFO& macro = list.MacroInfos[i];
            std::memset(&macro, 0, sizeof macro);
            decodeMacro(b, m_macros.lengths[i], macro);
            macro.nMacroIndex = std::uint16_t(i);
            macro.Version = kMacroFileVersion;
            setMacroName(macro, mouseMacroName(int(i) + 1));
        }
        list.nMacroInfoCount = std::uint16_t(m_macros.blocks.size());
    }

    static void decodeMacro(const Block& b, int length, TMACROKEYINFO& macro)
    {
        const int size = int(kMacroActionSize);
        int entries = length / size;
        if (entries > 0) {
            const int last = (entries - 1) * size;
            if (b.at(last) == kMacroTypeLoop) {
                const int count = b.at(last + 1) | b.at(last + 2) << 8;
                if (count == 0)
                    b.refuse(last + 1, QStringLiteral("the loop entry repeats 0 times"));
                macro.nLoopCount = std::uint16_t(count);
                --entries;
            }
        }
        for (int j = 0; j < entries; ++j) {
            const int at = j * size;
            const int type = b.at(at) & 0x7F;
            const std::uint16_t state = (b.at(at) & 0x80) != 0 ? kMacroKeyDown : kMacroKeyUp;
            std::uint8_t v1 = b.at(at + 1);
            std::uint8_t v2 = b.at(at + 2);
            if (type == kMacroKeyKeyboard) {
                const auto key = keyOfUsage(v1, v2);
                if (!key || key->first > 255)
                    b.refuse(at + 1, QStringLiteral("action %1 plays key usage %2, which no key has").arg(j + 1).arg(hex(v1)));
                v1 = std::uint8_t(key->first);
            } else if (type == kMacroKeyDelay) {
                const int ms = std::min((v1 | v2 << 8) * 10, 0xFFFF);
                v1 = std::uint8_t(ms & 0xFF);
                v2 = std::uint8_t(ms >> 8);
            } else if (type != kMacroKeyMouse && type != kMacroKeyType5) {
                b.refuse(at, QStringLiteral("action %1 has the unknown type %2").arg(j + 1).arg(type));
            }
            macro.MacroList[j] = makeMacroAction(std::uint16_t(type), state, v1, v2);
        }
        macro.MacroListCount = entries;
    }

    void decodeButtons(const Block& b)
    {
        const int eighth = 1 + 4 * (kDeviceButtonCount - 1);
        if (b.at(eighth) != kDeviceEighthButton || b.at(eighth + 1) != 0 || b.at(eighth + 2) != 0 || b.at(eighth + 3) != 0)
            b.refuse(eighth, QStringLiteral("the eighth button is not the mouse's fixed function 0D 00 00 00"));
        std::array<TBUTTONFUNCINFO, kWindowButtons> elements;
        for (int element = 0; element < kWindowButtons; ++element) {
            elements[std::size_t(element)] = m_config.ButtonFuncInfo[element];
            decodeButton(b, deviceEntryOfWindowButton(element), elements[std::size_t(element)]);
            elements[std::size_t(element)].ButtonIndex = std::uint16_t(element);
        }
        for (int element = 0; element < kWindowButtons; ++element)
            m_config.ButtonFuncInfo[element] = elements[std::size_t(element)];
        m_config.ButtonCount = kWindowButtons;
    }

    void decodeButton(const Block& b, int entry, TBUTTONFUNCINFO& e) const
    {
        const int at = 1 + 4 * entry;
        const int code = b.at(at);
        const int p1 = b.at(at + 1), p2 = b.at(at + 2), p3 = b.at(at + 3);
        const auto unused = [&](std::initializer_list<int> offsets) {
            for (int offset : offsets) {
                if (b.at(at + offset) != 0)
                    b.refuse(at + offset, QStringLiteral("button entry %1 (code %2) has a parameter it does not take")
                                              .arg(entry + 1).arg(hex(code)));
            }
        };
        const bool primary = entry <= 1;
        if (primary && code != kDeviceClick && code != kDeviceRightClick)
            b.refuse(at, QStringLiteral("button %1 has code %2; it takes only Click or Right Click").arg(entry + 1).arg(hex(code)));
        switch (code) {
        case kDeviceClick: unused({1, 2, 3}); setRow(e, 1, kFunctionClassMouse); return;
        case kDeviceRightClick: unused({1, 2, 3}); setRow(e, 2, kFunctionClassMouse); return;
        case kDeviceMiddleButton: unused({1, 2, 3}); setRow(e, 3, kFunctionClassMouse); return;
        case kDeviceForward: unused({1, 2, 3}); setRow(e, 4, kFunctionClassMouse); return;
        case kDeviceBackward: unused({1, 2, 3}); setRow(e, 5, kFunctionClassMouse); return;
        case kDeviceCpiSwitch: unused({1, 2, 3}); setRow(e, 12, kFunctionClassCpi); return;
        case kDeviceCpiUp: unused({1, 2, 3}); setRow(e, 13, kFunctionClassCpi); return;
        case kDeviceCpiDown: unused({1, 2, 3}); setRow(e, 14, kFunctionClassCpi); return;
        case kDeviceMediaKey: {
            unused({1, 3});
            if (p2 == 0) {
                e.MediaKeyInfo = THID_CODE_INFO{0, 0, 0};
                setRow(e, kMenuDisable, kFunctionClassMedia);
                return;
            }
            const auto item = std::find_if(MediaKeyItems.begin(), MediaKeyItems.end(),
                                           [p2](const MediaKeyItem& m) { return m.usage == p2; });
            if (item == MediaKeyItems.end())
                b.refuse(at + 2, QStringLiteral("media usage %1 is none of the window's media keys").arg(hex(p2)));
            e.MediaKeyInfo = THID_CODE_INFO{item->usage, 0, 0};
            setRow(e, item->menuId, kFunctionClassMedia);
            return;
        }
        case kDeviceKeyCombination: {
            if ((p1 & ~kKnownHidModifiers) != 0)
                b.refuse(at + 1, QStringLiteral("modifier byte %1 names keys other than Ctrl, Shift, Alt and Win").arg(hex(p1)));
            const auto key1 = keyOfUsage(p2, std::nullopt);
            if (!key1)
                b.refuse(at + 2, QStringLiteral("key usage %1 is no key").arg(hex(p2)));
            std::optional<std::pair<int, int>> key2;
            if (p3 != 0 && !(key2 = keyOfUsage(p3, std::nullopt)))
                b.refuse(at + 3, QStringLiteral("key usage %1 is no key").arg(hex(p3)));
            const auto modifiers = std::uint16_t(modifierBitsOf(p1));
            e.ComboKeyInfo = TCOMBOKEYINFO{std::uint16_t(key1->first), std::uint16_t(key1->second),
                                           std::uint16_t(key2 ? key2->first : 0), std::uint16_t(key2 ? key2->second : 0),
                                           modifiers};
            const auto shortcut = std::find_if(ShortcutCombinations.begin(), ShortcutCombinations.end(),
                                               [&](const ShortcutCombination& s) {
                                                   return !key2 && key1->second == 0 && s.virtualKey == key1->first
                                                          && s.modifier == modifiers;
                                               });
            setRow(e, shortcut != ShortcutCombinations.end() ? shortcut->menuId : kMenuComboKey, kFunctionClassCombo);
            return;
        }
        case kDeviceSingleKey: {
            unused({1, 3});
            const auto key = keyOfUsage(p2, std::nullopt);
            if (!key)
                b.refuse(at + 2, QStringLiteral("key usage %1 is no key").arg(hex(p2)));
            e.SingleKeyInfo = TSINGLEKEYINFO{std::uint16_t(key->first), std::uint16_t(key->second)};
            setRow(e, kMenuSingleKey, kFunctionClassSingleKey);
            return;
        }
        case kDeviceMacro: {
            const int index = m_macros.indexOf(p1);
            e.MacroKeyInfo = m_profile.MacroKeyInfoList.MacroInfos[index];
            setRow(e, kMenuMacro, kFunctionClassMacro);
            e.MenuID = kMenuFirstMacro + index;
            return;
        }
        case kDeviceFireKey: {
            if (p1 < kFireCountMin)
                b.refuse(at + 1, QStringLiteral("a fire key that fires %1 times").arg(p1));
            const int delay = p2 | p3 << 8;
            if (delay < kFireDelayMin || delay > kFireDelayMax)
                b.refuse(p3 != 0 ? at + 3 : at + 2, QStringLiteral("fire delay %1; %2 to %3 expected")
                                                        .arg(delay).arg(kFireDelayMin).arg(kFireDelayMax));
            e.FireKeyInfo = TFIREKEYINFO{std::uint16_t(p1), std::uint16_t(delay)};
            setRow(e, kMenuFireKey, kFunctionClassFire);
            return;
        }
        case kDeviceRawCode:
            e.RawParam[0] = std::uint8_t(p1);
            e.RawParam[1] = std::uint8_t(p2);
            e.RawParam[2] = std::uint8_t(p3);
            e.FunctionClass = kFunctionClassRaw;
            e.FunctionIndex = kRawCodeFunctionIndex;
            e.DeviceCode = kDeviceRawCode;
            e.MenuID = 0;
            return;
        default:
            b.refuse(at, QStringLiteral("button entry %1 has function code %2, which no menu item gives")
                             .arg(entry + 1).arg(hex(code)));
        }
    }

    std::span<const std::uint8_t> m_memory;
    int m_bank;
    TMOUSEPROFILEINFO& m_profile;
    TMOUSECONFIGINFO& m_config;
    MacroPlan m_macros;
};

template <std::size_t N>
bool sameBytes(std::span<const std::uint8_t> memory, std::uint16_t address, const std::array<std::uint8_t, N>& block,
               std::size_t skip = N)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (i != skip && memory[address + i] != block[i])
            return false;
    }
    return true;
}

} // namespace

QString mouseMacroName(int number)
{
    return QStringLiteral("Mouse macro %1").arg(number);
}

QString DecodeBankIntoProfile(std::span<const std::uint8_t> memory, int bank, TMOUSEPROFILEINFO& profile)
{
    if (bank < 0 || bank >= kBankCount)
        return QStringLiteral("there is no bank %1; the mouse has banks 0 and 1").arg(bank);
    if (memory.size() < std::size_t(bankAddress(bank, kLightBlockOffset) + kLightBlockSize))
        return QStringLiteral("only %1 bytes of the settings memory were read").arg(memory.size());
    auto work = std::make_unique<TMOUSEPROFILEINFO>(profile);
    try {
        BankDecoder(memory, bank, *work).run();
    } catch (const Refusal& refusal) {
        return refusal.text;
    }
    profile = *work;
    return {};
}

bool MemoryHoldsFactorySettings(std::span<const std::uint8_t> memory)
{
    if (memory.size() < kSettingsMemorySize)
        return false;
    auto factory = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*factory);
    const auto copy = PrepareDeviceProfile(*factory);
    const int rate = ReportRateCode(*copy);
    if (memory[kReportRateAddress] != EncodeReportRateByte(rate, rate)
        || memory[kWheelLightAddress]
               != EncodeWheelLightByte(copy->ConfigInfo.WheelLedOnOff, copy->ConfigInfo.HWVWheelValue))
        return false;
    for (int bank = 0; bank < kBankCount; ++bank) {
        if (!sameBytes(memory, bankAddress(bank, kButtonBlockOffset), EncodeButtonBlock(*copy))
            || !sameBytes(memory, bankAddress(bank, kCpiBlockOffset), EncodeCpiBlock(*copy), 1)
            || !sameBytes(memory, bankAddress(bank, kLightBlockOffset), EncodeLightBlock(copy->ConfigInfo.LEDConfig)))
            return false;
    }
    return true;
}

} // namespace k4812
