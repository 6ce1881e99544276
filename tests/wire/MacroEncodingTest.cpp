#include "wire/MacroEncoding.h"

#include "wire/ButtonEncoding.h"

#include "DefaultProfileFixture.h"
#include "MacroFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace k4812;
using namespace k4812::test;

namespace {

std::vector<int> bytesOf(const MacroAction& a)
{
    return {a[0], a[1], a[2]};
}

std::vector<int> usedBytes(const MacroBlocks& m, int k)
{
    return {m.blocks[k].begin(), m.blocks[k].begin() + m.lengths[k]};
}

bool restIsZero(const MacroBlocks& m, int k)
{
    for (std::size_t i = m.lengths[k]; i < kMacroBlockSize; ++i) {
        if (m.blocks[k][i] != 0)
            return false;
    }
    return true;
}

MacroBlocks encodePrepared(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes = nullptr)
{
    return EncodeMacroBlocks(*PrepareDeviceProfile(profile), notes);
}

} // namespace

TEST(MacroEncoding, DelaysRoundHalvesToEven)
{
    const int cases[][2] = {{0, 0}, {4, 0}, {5, 0}, {6, 1}, {15, 2}, {24, 2}, {25, 2}, {35, 4}, {45, 4},
                            {50, 5}, {60, 6}, {1000, 100}, {65535, 6554}, {65525, 6552}};
    for (const auto& c : cases)
        EXPECT_EQ(MacroDelayUnits(c[0]), c[1]) << c[0];
}

TEST(MacroEncoding, Actions)
{
    struct Case {
        const char* what;
        TMACROKEY key;
        std::vector<int> bytes;
    };
    const Case cases[] = {
        {"A down", keyDown(65), {0x84, 0x04, 0x00}},
        {"A up", keyUp(65), {0x04, 0x04, 0x00}},
        {"extended right arrow down", keyDown(39, 1), {0x84, 0x4F, 0x01}},
        {"left Windows key, flag 225", keyDown(91, 225), {0x84, 0xE3, 0xE1}},
        {"browser key: no key", keyDown(166, 1), {0x84, 0x00, 0x01}},
        {"delay 50 ms", delayMs(50), {0x06, 0x05, 0x00}},
        {"delay 1000 ms", delayMs(1000), {0x06, 0x64, 0x00}},
        {"delay 65535 ms", delayMs(65535), {0x06, 0x9A, 0x19}},
        {"mouse button down", macroKey(1, 1, 1, 0), {0x81, 0x01, 0x00}},
        {"type 5 keeps its values", macroKey(5, 0, 0xAB, 0xCD), {0x05, 0xAB, 0xCD}},
        {"state 2", macroKey(4, 2, 65, 0), {0, 0, 0}},
        {"delay with state 1 is still a delay", macroKey(6, 1, 60, 0), {0x86, 0x06, 0x00}},
        {"type 127 fits", macroKey(127, 1, 1, 2), {0xFF, 0x01, 0x02}},
        {"type 128 would read as a press", macroKey(128, 0, 1, 2), {0, 0, 0}},
        {"type 260 would wrap", macroKey(260, 1, 65, 0), {0, 0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bytesOf(EncodeMacroAction(c.key.nKeyType, c.key.nKeyState, c.key.VALUE1, c.key.VALUE2)), c.bytes)
            << c.what;
}

TEST(MacroEncoding, ExampleMacroWithAndWithoutLoop)
{
    auto profile = makeDefaultProfile();
    TMACROKEYINFO& m = putMacro(*profile, 0, {keyDown(65), delayMs(50), keyUp(65)});
    assignMacro(*profile, 0, 0);
    MacroBlocks blocks = encodePrepared(*profile);
    EXPECT_EQ(usedBytes(blocks, 0), (std::vector<int>{0x84, 0x04, 0x00, 0x06, 0x05, 0x00, 0x04, 0x04, 0x00}));
    EXPECT_TRUE(restIsZero(blocks, 0));

    m.nLoopCount = 3;
    blocks = encodePrepared(*profile);
    EXPECT_EQ(usedBytes(blocks, 0), (std::vector<int>{0x84, 0x04, 0x00, 0x06, 0x05, 0x00, 0x04, 0x04, 0x00,
                                                      0x07, 0x03, 0x00}));
    EXPECT_TRUE(restIsZero(blocks, 0));

    m.nLoopCount = 0x0102;
    blocks = encodePrepared(*profile);
    EXPECT_EQ(blocks.lengths[0], 12);
    EXPECT_EQ(blocks.blocks[0][10], 0x02);
    EXPECT_EQ(blocks.blocks[0][11], 0x01);
}

TEST(MacroEncoding, OnlyMacrosOnButtonsAreSentInButtonOrder)
{
    auto profile = makeDefaultProfile();
    TMOUSEPROFILEINFO& p = *profile;
    putMacro(p, 0, {keyDown(65), keyUp(65)});
    putMacro(p, 1, {keyDown(66)});
    putMacro(p, 2, {keyDown(67), delayMs(10), keyUp(67)});
    putMacro(p, 3, {keyDown(68)});   // in the profile, on no button
    assignMacro(p, 1, 2);
    assignMacro(p, 4, 0);            // window button 5: the mouse's fourth
    assignMacro(p, 3, 1);            // window button 4: the mouse's fifth
    assignMacro(p, 6, 2);            // the same macro twice gives one block
    const MacroBlocks blocks = encodePrepared(p);
    EXPECT_EQ(blocks.lengths[0], 9);
    EXPECT_EQ(blocks.blocks[0][1], 0x06);   // C
    EXPECT_EQ(blocks.lengths[1], 6);
    EXPECT_EQ(blocks.blocks[1][1], 0x04);   // A
    EXPECT_EQ(blocks.lengths[2], 3);
    EXPECT_EQ(blocks.blocks[2][1], 0x05);   // B
    for (int k : {3, 4}) {
        EXPECT_EQ(blocks.lengths[k], 0);
        EXPECT_TRUE(restIsZero(blocks, k));
    }

    // The button entries name the same blocks with the same lengths.
    const ButtonBlock buttons = EncodeButtonBlock(*PrepareDeviceProfile(p));
    EXPECT_EQ(buttons[1 + 4 * 1 + 1], 0);
    EXPECT_EQ(buttons[1 + 4 * 3 + 1], 1);
    EXPECT_EQ(buttons[1 + 4 * 4 + 1], 2);
    EXPECT_EQ(buttons[1 + 4 * 6 + 1], 0);
    EXPECT_EQ(buttons[1 + 4 * 3 + 2], 6);
}

TEST(MacroEncoding, NothingIsSentWithoutMacrosInUse)
{
    auto profile = makeDefaultProfile();
    putMacro(*profile, 0, {keyDown(65), keyUp(65)});
    assignMacro(*profile, 0, 0);
    profile->MacroKeyInfoList.nMacroInfoCount = 0;   // as the profile defaults leave it
    EncodingNotes notes;
    const MacroBlocks blocks = encodePrepared(*profile, &notes);
    for (int k = 0; k < kMacroBlockCount; ++k) {
        EXPECT_EQ(blocks.lengths[k], 0);
        EXPECT_TRUE(restIsZero(blocks, k));
    }
    EXPECT_EQ(notes.size(), 1);   // the button's macro is missing
}

TEST(MacroEncoding, MacrosOnUnusedElementsAreNotSent)
{
    auto profile = makeDefaultProfile();
    putMacro(*profile, 0, {keyDown(65)});
    assignMacro(*profile, 7, 0);   // becomes the fixed eighth entry
    assignMacro(*profile, 8, 0);   // past the buttons in use
    const MacroBlocks blocks = encodePrepared(*profile);
    EXPECT_EQ(blocks.lengths[0], 0);
}

TEST(MacroEncoding, ABlockIsNeverOverrun)
{
    auto profile = makeDefaultProfile();
    TMOUSEPROFILEINFO& p = *profile;
    TMACROKEYINFO& full = putMacro(p, 0, {}, 5);
    full.MacroListCount = 128;
    for (int j = 0; j < 128; ++j)
        full.MacroList[j] = delayMs(10);
    TMACROKEYINFO& almost = putMacro(p, 1, {}, 5);
    almost.MacroListCount = 127;
    for (int j = 0; j < 127; ++j)
        almost.MacroList[j] = delayMs(10);
    TMACROKEYINFO& tooMany = putMacro(p, 2, {keyDown(65)});
    tooMany.MacroListCount = 500;
    TMACROKEYINFO& negative = putMacro(p, 3, {keyDown(65)});
    negative.MacroListCount = -1;
    for (int k = 0; k < 4; ++k)
        assignMacro(p, k, k);
    EncodingNotes notes;
    const MacroBlocks blocks = encodePrepared(p, &notes);
    EXPECT_EQ(blocks.lengths[0], 384);   // 128 actions, the loop entry left out
    EXPECT_EQ(blocks.blocks[0][381], 0x06);
    EXPECT_EQ(blocks.lengths[1], 384);   // 127 actions and the loop entry
    EXPECT_EQ(blocks.blocks[1][381], 0x07);
    EXPECT_EQ(blocks.blocks[1][382], 5);
    // window buttons 2 and 3 are the mouse's third and fifth: blocks 2 and 3
    EXPECT_EQ(blocks.lengths[2], 0);
    EXPECT_EQ(blocks.lengths[3], 0);
    EXPECT_EQ(notes.size(), 3);

    // the button entries carry the lengths actually sent
    const ButtonBlock buttons = EncodeButtonBlock(*PrepareDeviceProfile(p));
    EXPECT_EQ(buttons[1 + 4 * 0 + 2], 0x80);
    EXPECT_EQ(buttons[1 + 4 * 0 + 3], 0x01);
}

TEST(MacroEncoding, UnsendableActionsKeepTheirPlace)
{
    auto profile = makeDefaultProfile();
    putMacro(*profile, 0, {keyDown(65), macroKey(4, 3, 66, 0), keyDown(166, 1), keyUp(65)});
    assignMacro(*profile, 0, 0);
    EncodingNotes notes;
    const MacroBlocks blocks = encodePrepared(*profile, &notes);
    EXPECT_EQ(usedBytes(blocks, 0), (std::vector<int>{0x84, 0x04, 0x00, 0, 0, 0, 0x84, 0x00, 0x01, 0x04, 0x04, 0x00}));
    EXPECT_EQ(notes.size(), 2);
}

TEST(MacroEncoding, AnOverlongMacroListIsReadOnlyToItsCapacity)
{
    auto profile = makeDefaultProfile();
    putMacro(*profile, 20, {keyDown(65), keyUp(65)});
    assignMacro(*profile, 0, 20);
    profile->MacroKeyInfoList.nMacroInfoCount = 0xFFFF;
    EncodingNotes notes;
    const MacroBlocks blocks = encodePrepared(*profile, &notes);
    EXPECT_EQ(blocks.lengths[0], 6);
    EXPECT_EQ(notes.size(), 1);
}

TEST(MacroEncoding, ProfilesOfArbitraryBytesStayWithinEveryBlock)
{
    for (const int seed : {0x00, 0x5A, 0xFF, 0x37}) {
        auto profile = makeDefaultProfile();
        auto* raw = reinterpret_cast<std::uint8_t*>(profile.get());
        for (std::size_t i = 0; i < sizeof(TMOUSEPROFILEINFO); ++i)
            raw[i] = std::uint8_t((i * 131 + std::size_t(seed)) ^ std::size_t(seed));
        for (int b = 0; b < 7; ++b) {   // every button a macro, indexes as the bytes say
            profile->ConfigInfo.ButtonFuncInfo[b].FunctionClass = kFunctionClassMacro;
            profile->ConfigInfo.ButtonFuncInfo[b].DeviceCode = 0x11;
        }
        const auto copy = PrepareDeviceProfile(*profile);
        const MacroBlocks blocks = EncodeMacroBlocks(*copy);
        const ButtonBlock buttons = EncodeButtonBlock(*copy);
        for (int k = 0; k < kMacroBlockCount; ++k)
            EXPECT_LE(blocks.lengths[k], kMacroBlockSize) << seed;
        for (int i = 0; i < 7; ++i) {
            const std::uint8_t* entry = &buttons[1 + 4 * i];
            if (entry[0] == 0x11) {
                ASSERT_LT(entry[1], kMacroBlockCount) << seed;
                EXPECT_EQ(entry[2] | (entry[3] << 8), blocks.lengths[entry[1]]) << seed;
            } else {
                EXPECT_EQ(entry[0], 0x0E) << seed;
            }
        }
    }
}
