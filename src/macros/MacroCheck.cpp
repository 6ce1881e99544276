#include "macros/MacroCheck.h"

#include "macros/MacroAction.h"

#include <bitset>
#include <memory>

namespace k4812 {

int countMacroErrors(std::span<const TMACROKEY> actions)
{
    constexpr std::size_t kStates = 65536;
    // 16 KB of bits; on the heap, as the check may run on a small stack.
    auto down = std::make_unique<std::bitset<kStates>>();
    auto seenKeys = std::make_unique<std::bitset<kStates>>();
    int errors = 0;
    for (const TMACROKEY& action : actions) {
        const std::uint16_t type = action.nKeyType;
        if (type != kMacroKeyKeyboard && type != kMacroKeyMouse && type != kMacroKeyType5)
            continue;
        const unsigned index = macroActionWord(action);
        if (action.nKeyState == kMacroKeyDown) {
            if ((*down)[index])
                ++errors;
            else
                down->set(index);
        } else {
            if (!(*down)[index])
                ++errors;
            else
                down->reset(index);
        }
        if (type == kMacroKeyKeyboard)
            seenKeys->set(index);
    }
    errors += int((*down & *seenKeys).count());
    return errors;
}

} // namespace k4812
