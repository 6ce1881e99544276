#pragma once
// Windows virtual-key codes to HID keyboard usages and key names.
//
// Keys are captured and stored as a Windows virtual-key code with an
// extended flag; the mouse plays HID keyboard usages. Two tables of 300
// entries, indexed by virtual-key code, give for each key its HID usage and
// its display name: NormalKeyTable for keys without the extended flag and
// ExtendedKeyTable for the keys whose extended form is a different key (the
// navigation block, keypad Enter, the power key). The tables are built once,
// on first use, from constant data and never change afterwards.
//
// The extended flag is accepted in two forms: 0 or 224 mean not extended,
// 1 or 225 mean extended. Any other value selects the extended table.

#include <QString>

#include <array>
#include <cstdint>

namespace k4812 {

struct TKeyboardInfoTable {
    QString VKName;
    int VKCode = 0;
    int ScanCode = 0;
    int Extended = 224;       // 224 = not extended, 225 = extended
    int HIDCode = -1;         // -1 = the key has no HID usage
    QString KeyDescription;
};

constexpr int kKeyTableSize = 300;
constexpr int kNotExtendedEntry = 224;
constexpr int kExtendedEntry = 225;
constexpr int kNoHidUsage = -1;

using KeyTable = std::array<TKeyboardInfoTable, kKeyTableSize>;

const KeyTable& NormalKeyTable();
const KeyTable& ExtendedKeyTable();

// The entry that a virtual key and an extended flag select; nullptr for a
// virtual key outside 0 to 299. With the flag set, a key whose normal entry is
// itself extended (left Windows key, Print Screen, ...) keeps that entry.
const TKeyboardInfoTable* KeyEntryOf(int virtualKey, int extendedFlag);

// The HID usage of the key; 0 when it has none or the virtual key is outside
// 0 to 299. Browser and launch keys give consumer-page usages above 255.
int HidUsageOf(int virtualKey, int extendedFlag);

// The usage as the mouse takes it in a one-byte field: HidUsageOf when that
// fits a byte, otherwise 0 ("no key"), so that a browser or launch key never
// turns into the unrelated keyboard key its low byte would name.
std::uint8_t DeviceKeyUsage(int virtualKey, int extendedFlag);

// The key's display name; empty for a virtual key outside 0 to 299.
QString KeyNameOf(int virtualKey, int extendedFlag);

// The four combination modifiers, in the order their texts are joined.
struct ComboModifier {
    int bit;            // bit of TCOMBOKEYINFO::nModifier
    const char* text;   // shown before the key's name
    int hidBit;         // bit of the HID keyboard modifier byte
};
constexpr std::array<ComboModifier, 4> kComboModifiers{{
    {0x01, "Alt+", 0x04},
    {0x02, "Ctrl+", 0x01},
    {0x04, "Shift+", 0x02},
    {0x08, "WIN+", 0x08},
}};

// The texts of the set bits in the order Alt, Ctrl, Shift, Win; bits above
// 0x08 are ignored.
QString ModifierText(int bits);

// The OR of the HID modifier bits of the set bits; bits above 0x08 are ignored.
int HidModifierOf(int bits);

} // namespace k4812
