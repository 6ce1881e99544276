#include "MacroTestSupport.h"

#include "macros/MacroCheck.h"

#include <gtest/gtest.h>

#include <vector>

using namespace k4812;
using namespace k4812::test;

namespace {

constexpr int kA = 0x41;

TMACROKEY mouse(std::uint16_t state, int value, int index = 0)
{
    return makeMacroAction(kMacroKeyMouse, state, std::uint8_t(value), std::uint8_t(index));
}

TMACROKEY type5(std::uint16_t state, int value1, int value2)
{
    return makeMacroAction(kMacroKeyType5, state, std::uint8_t(value1), std::uint8_t(value2));
}

} // namespace

TEST(MacroCheck, CountsUnpairedPressesAndReleases)
{
    struct Case {
        const char* what;
        std::vector<TMACROKEY> actions;
        int errors;
    };
    const Case cases[] = {
        {"nothing", {}, 0},
        {"A down, A up", {keyDown(kA), keyUp(kA)}, 0},
        {"A down twice, A up", {keyDown(kA), keyDown(kA), keyUp(kA)}, 1},
        {"lone A up", {keyUp(kA)}, 1},
        {"lone A down is left down", {keyDown(kA)}, 1},
        {"A down, A up, A up", {keyDown(kA), keyUp(kA), keyUp(kA)}, 1},
        {"any state but 1 releases", {keyDown(kA), makeKeyAction(2, kA)}, 0},
        {"delays and loops are skipped", {keyDown(kA), makeDelayAction(50), keyUp(kA),
                                          makeMacroAction(kMacroKeyLoop, 1, 3, 0)}, 0},
        {"extended A is another key", {keyDown(kA, 0), keyUp(kA, 1)}, 2},
        {"extended A pairs with itself", {keyDown(kA, 1), keyUp(kA, 1)}, 0},
        {"mouse press without release", {mouse(kMacroKeyDown, 1)}, 0},
        {"mouse pressed twice", {mouse(kMacroKeyDown, 1), mouse(kMacroKeyDown, 1)}, 1},
        {"mouse released while up", {mouse(kMacroKeyUp, 2)}, 1},
        {"type 5 left down", {type5(kMacroKeyDown, 3, 4)}, 0},
        // The three types share one table: a mouse action with the same two
        // bytes as a key acts on that key's entry.
        {"key down released by mouse 0x41", {keyDown(kA), mouse(kMacroKeyUp, kA)}, 0},
        {"mouse 0x41 down, key A down", {mouse(kMacroKeyDown, kA), keyDown(kA)}, 2},
        {"type 5 0x41,0x01 releases extended A", {keyDown(kA, 1), type5(kMacroKeyUp, kA, 1)}, 0},
        {"two keys left down", {keyDown(kA), keyDown(kA + 1)}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(countMacroErrors(c.actions), c.errors) << c.what;
}

TEST(MacroCheck, UsesTheWholeSixteenBitIndex)
{
    // 0xFF,0xFF is the table's last entry; 0x00,0x00 its first.
    const std::vector<TMACROKEY> actions = {type5(kMacroKeyDown, 0xFF, 0xFF), type5(kMacroKeyUp, 0xFF, 0xFF),
                                            type5(kMacroKeyUp, 0, 0)};
    EXPECT_EQ(countMacroErrors(actions), 1);
}
