#pragma once
// The records of keyboard capture: the low-level key event the hook library
// hands over, the combination being recorded, and one entry of a macro
// recording.

#include <QString>

#include <cstdint>
#include <type_traits>

namespace k4812 {

// One key event as the hook library delivers it, in the layout of the Windows
// low-level keyboard record. Plain C data: it crosses the library boundary.
struct TKBDLLHOOKSTRUCT {
    std::uint32_t vkCode;       // Windows virtual-key code, left/right modifiers distinguished
    std::uint32_t scanCode;     // PC set-1 scan code (without the 0xE0 prefix)
    std::uint32_t flags;        // kKeyFlagExtended, kKeyFlagReleased
    std::uint32_t time;         // millisecond stamp; wraps at 2^32
    std::uint32_t dwExtraInfo;  // always 0
};
static_assert(sizeof(TKBDLLHOOKSTRUCT) == 20);
static_assert(std::is_trivially_copyable_v<TKBDLLHOOKSTRUCT> && std::is_standard_layout_v<TKBDLLHOOKSTRUCT>);

constexpr std::uint32_t kKeyFlagExtended = 0x01;
constexpr std::uint32_t kKeyFlagReleased = 0x80;

// The combination being recorded: up to two keys and the modifiers held.
struct TCOMBOKEY {
    std::uint16_t nKeyValue1;           // virtual-key code, 0 = no key
    std::uint16_t nKeyValue1Extended;   // 0 or 1
    std::uint16_t nKeyValue2;
    std::uint16_t nKeyValue2Extended;
    std::uint16_t nModifier;            // bits: 1 Alt, 2 Ctrl, 4 Shift, 8 Win
};
static_assert(sizeof(TCOMBOKEY) == 10);

// Values of TMACROKEYHOOK::nKeyType.
constexpr std::uint16_t kMacroHookPause = 0;
constexpr std::uint16_t kMacroHookKey = 1;

// One entry of a macro recording: a pause (nKeyValue = milliseconds) or a key
// press or release. Recording entries fill only the first four fields.
struct TMACROKEYHOOK {
    std::uint16_t nKeyType = kMacroHookPause;
    std::uint16_t nKeyState = 0;            // 1 pressed, 0 released; 0 for pauses
    std::uint16_t nKeyValue = 0;            // virtual-key code, or the pause in ms
    std::uint16_t nKeyValueExtended = 0;    // 0 or 1
    double Time = 0;
    QString MacroKeyString;
    QString MacroKeyStateString;

    bool operator==(const TMACROKEYHOOK&) const = default;
};

} // namespace k4812
