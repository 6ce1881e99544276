#pragma once
// The kinds of macro action and the views of an action's two value bytes.

#include "records/Records.h"

#include <cstdint>

namespace k4812 {

// Values of TMACROKEY::nKeyType.
enum MacroKeyType : std::uint16_t {
    kMacroKeyMouse = 1,    // MouseKeyValue / MouseKey_Index
    kMacroKeyKeyboard = 4, // nKeyValue / nKeyExtended
    kMacroKeyType5 = 5,    // no operation makes it; checked like a mouse button
    kMacroKeyDelay = 6,    // DELAY_L / DELAY_H, milliseconds
    kMacroKeyLoop = 7,     // LOOP_L / LOOP_H, only in what is sent to the mouse
};

// Values of TMACROKEY::nKeyState.
constexpr std::uint16_t kMacroKeyUp = 0;
constexpr std::uint16_t kMacroKeyDown = 1;

// The two value bytes read as one little-endian number (DELAY_L + 256 × DELAY_H
// for a delay, nKeyExtended × 256 + nKeyValue for a key).
constexpr unsigned macroActionWord(const TMACROKEY& action)
{
    return unsigned(action.VALUE1) | (unsigned(action.VALUE2) << 8);
}

constexpr TMACROKEY makeMacroAction(std::uint16_t type, std::uint16_t state, std::uint8_t value1,
                                    std::uint8_t value2)
{
    return TMACROKEY{type, state, value1, value2};
}

constexpr TMACROKEY makeKeyAction(std::uint16_t state, std::uint8_t virtualKey, std::uint8_t extended = 0)
{
    return makeMacroAction(kMacroKeyKeyboard, state, virtualKey, extended);
}

constexpr TMACROKEY makeDelayAction(std::uint16_t milliseconds)
{
    return makeMacroAction(kMacroKeyDelay, kMacroKeyUp, std::uint8_t(milliseconds & 0xFF),
                           std::uint8_t(milliseconds >> 8));
}

} // namespace k4812
