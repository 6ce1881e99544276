#include "wire/ButtonEncoding.h"

#include "DefaultProfileFixture.h"
#include "MacroFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace k4812;
using namespace k4812::test;

namespace {

std::vector<int> entryOf(const ButtonBlock& block, int i)
{
    return {block[1 + 4 * i], block[2 + 4 * i], block[3 + 4 * i], block[4 + 4 * i]};
}

ButtonBlock encodePrepared(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes = nullptr)
{
    return EncodeButtonBlock(*PrepareDeviceProfile(profile), notes);
}

} // namespace

TEST(ButtonEncoding, DefaultProfileBlockByteForByte)
{
    const auto profile = makeDefaultProfile();
    const ButtonBlock block = encodePrepared(*profile);
    std::vector<int> expected = {0x08, 0x01, 0, 0, 0, 0x02, 0, 0, 0, 0x03, 0, 0, 0, 0x05, 0, 0, 0,
                                 0x04, 0, 0, 0, 0x09, 0, 0, 0, 0x0A, 0, 0, 0, 0x0D, 0, 0, 0};
    expected.resize(kButtonBlockSize, 0);
    EXPECT_EQ(std::vector<int>(block.begin(), block.end()), expected);
}

TEST(ButtonEncoding, PreparationWorksOnACopy)
{
    auto profile = makeDefaultProfile();
    profile->ConfigInfo.ButtonFuncInfo[7].DeviceCode = 5;
    profile->ConfigInfo.ButtonFuncInfo[7].WheelParam = 77;
    const auto copy = PrepareDeviceProfile(*profile);
    EXPECT_EQ(copy->ConfigInfo.ButtonCount, 8);
    EXPECT_EQ(copy->ConfigInfo.ButtonFuncInfo[3].DeviceCode, 5);
    EXPECT_EQ(copy->ConfigInfo.ButtonFuncInfo[3].ButtonIndex, 4);   // whole elements move
    EXPECT_EQ(copy->ConfigInfo.ButtonFuncInfo[4].DeviceCode, 4);
    EXPECT_EQ(copy->ConfigInfo.ButtonFuncInfo[7].DeviceCode, 13);
    EXPECT_EQ(copy->ConfigInfo.ButtonFuncInfo[7].FunctionClass, 0);
    EXPECT_EQ(copy->ConfigInfo.ButtonFuncInfo[7].WheelParam, 77);   // the rest of element 7 stays
    // the stored profile is untouched
    EXPECT_EQ(profile->ConfigInfo.ButtonCount, 7);
    EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[3].DeviceCode, 4);
    EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[7].DeviceCode, 5);
}

TEST(ButtonEncoding, SwapRefusesElementsOutsideTheRecord)
{
    auto profile = makeDefaultProfile();
    EXPECT_TRUE(SwapButtonFunctions(*profile, 0, 14));
    EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[14].DeviceCode, 1);
    EXPECT_FALSE(SwapButtonFunctions(*profile, 0, 15));
    EXPECT_FALSE(SwapButtonFunctions(*profile, -1, 2));
    EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[2].DeviceCode, 3);
}

TEST(ButtonEncoding, EveryFunctionCodeAndItsParameters)
{
    struct Case {
        const char* what;
        std::function<void(TBUTTONFUNCINFO&)> set;
        std::vector<int> entry;
        bool noted;
    };
    const Case cases[] = {
        {"combination Ctrl+C",
         [](TBUTTONFUNCINFO& e) { e.DeviceCode = 15; e.ComboKeyInfo = TCOMBOKEYINFO{67, 0, 0, 0, 0x02}; },
         {0x0F, 0x01, 0x06, 0x00}, false},
        {"combination Alt+Shift, right arrow and keypad Enter",
         [](TBUTTONFUNCINFO& e) { e.DeviceCode = 15; e.ComboKeyInfo = TCOMBOKEYINFO{39, 1, 13, 225, 0x05}; },
         {0x0F, 0x06, 0x4F, 0x58}, false},
        {"combination with a launch key",
         [](TBUTTONFUNCINFO& e) { e.DeviceCode = 15; e.ComboKeyInfo = TCOMBOKEYINFO{65, 0, 182, 1, 0x02}; },
         {0x0F, 0x01, 0x04, 0x00}, true},
        {"single key A, stale combination ignored",
         [](TBUTTONFUNCINFO& e) {
             e.DeviceCode = 16; e.FunctionClass = 8;
             e.SingleKeyInfo = TSINGLEKEYINFO{65, 0};
             e.ComboKeyInfo = TCOMBOKEYINFO{66, 0, 67, 0, 0x0F};
         },
         {0x10, 0x00, 0x04, 0x00}, false},
        {"single key F5", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 16; e.SingleKeyInfo = TSINGLEKEYINFO{0x74, 0}; },
         {0x10, 0x00, 0x3E, 0x00}, false},
        {"single browser key", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 16; e.SingleKeyInfo = TSINGLEKEYINFO{166, 1}; },
         {0x10, 0x00, 0x00, 0x00}, true},
        {"fire key 3 x 60", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 18; e.FireKeyInfo = TFIREKEYINFO{3, 60}; },
         {0x12, 0x03, 0x3C, 0x00}, false},
        {"fire key with a 16-bit delay", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 18; e.FireKeyInfo = TFIREKEYINFO{60, 0x1234}; },
         {0x12, 0x3C, 0x34, 0x12}, false},
        {"fire count above a byte", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 18; e.FireKeyInfo = TFIREKEYINFO{1000, 10}; },
         {0x12, 0xFF, 0x0A, 0x00}, true},
        {"Disable", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 14; e.MediaKeyInfo = THID_CODE_INFO{0, 0, 0}; },
         {0x0E, 0x00, 0x00, 0x00}, false},
        {"Play/Pause", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 14; e.MediaKeyInfo = THID_CODE_INFO{0xCD, 0, 0}; },
         {0x0E, 0x00, 0xCD, 0x00}, false},
        {"media value above a byte", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 14; e.MediaKeyInfo = THID_CODE_INFO{0x223, 0, 0}; },
         {0x0E, 0x00, 0x00, 0x00}, true},
        {"wheel up", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 11; e.WheelParam = 3; }, {0x0B, 0x03, 0x00, 0x00}, false},
        {"wheel down, parameter above a byte", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 12; e.WheelParam = 300; },
         {0x0C, 0xFF, 0x00, 0x00}, true},
        {"raw code", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 19; e.RawParam[0] = 0x20; e.RawParam[2] = 0x07; },
         {0x13, 0x20, 0x00, 0x07}, false},
        {"DPI switch with stale parameters", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 8; e.WheelParam = 9; e.RawParam[0] = 1; },
         {0x08, 0x00, 0x00, 0x00}, false},
        {"unknown code in a byte", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 7; e.RawParam[0] = 1; }, {0x07, 0, 0, 0}, false},
        {"code above a byte", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 0x101; }, {0x0E, 0, 0, 0}, true},
        {"negative code", [](TBUTTONFUNCINFO& e) { e.DeviceCode = -1; }, {0x0E, 0, 0, 0}, true},
        {"macro code on a button without a macro", [](TBUTTONFUNCINFO& e) { e.DeviceCode = 17; e.FunctionClass = 8; },
         {0x0E, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        auto profile = makeDefaultProfile();
        c.set(profile->ConfigInfo.ButtonFuncInfo[0]);
        EncodingNotes notes;
        const ButtonBlock block = encodePrepared(*profile, &notes);
        EXPECT_EQ(entryOf(block, 0), c.entry) << c.what;
        EXPECT_EQ(!notes.isEmpty(), c.noted) << c.what << ": " << notes.join("; ").toStdString();
        EXPECT_EQ(entryOf(block, 1), (std::vector<int>{2, 0, 0, 0})) << c.what;   // neighbours untouched
    }
}

TEST(ButtonEncoding, MacroEntriesCarryBlockNumberAndLength)
{
    auto profile = makeDefaultProfile();
    TMOUSEPROFILEINFO& p = *profile;
    putMacro(p, 0, {keyDown(65), keyUp(65)});
    TMACROKEYINFO& ten = putMacro(p, 1, {}, 2);
    ten.MacroListCount = 10;
    for (int j = 0; j < 10; ++j)
        ten.MacroList[j] = j % 2 == 0 ? keyDown(66) : keyUp(66);
    assignMacro(p, 2, 1);   // met first: block 0
    assignMacro(p, 4, 0);   // window button 5 is the mouse's fourth: block 1
    assignMacro(p, 3, 1);   // the same macro again, now fifth
    const ButtonBlock block = encodePrepared(p);
    EXPECT_EQ(entryOf(block, 2), (std::vector<int>{0x11, 0x00, 0x21, 0x00}));   // 3 x (10 + loop) = 33
    EXPECT_EQ(entryOf(block, 3), (std::vector<int>{0x11, 0x01, 0x06, 0x00}));
    EXPECT_EQ(entryOf(block, 4), (std::vector<int>{0x11, 0x00, 0x21, 0x00}));
    EXPECT_EQ(entryOf(block, 7), (std::vector<int>{0x0D, 0, 0, 0}));
}

TEST(ButtonEncoding, MacroLengthIsThatOfTheBlockSent)
{
    // The button's copy of the macro is out of date: the list's macro, which
    // is what the mouse receives, has grown to three actions.
    auto profile = makeDefaultProfile();
    TMOUSEPROFILEINFO& p = *profile;
    putMacro(p, 0, {keyDown(65), keyUp(65)});
    assignMacro(p, 0, 0);
    putMacro(p, 0, {keyDown(65), delayMs(50), keyUp(65)});
    EXPECT_EQ(entryOf(encodePrepared(p), 0), (std::vector<int>{0x11, 0x00, 0x09, 0x00}));

    // A macro the list no longer holds plays nothing rather than whatever the
    // mouse kept in that block.
    p.MacroKeyInfoList.nMacroInfoCount = 0;
    EXPECT_EQ(entryOf(encodePrepared(p), 0), (std::vector<int>{0x11, 0x00, 0x00, 0x00}));
}

TEST(ButtonEncoding, ASixthDistinctMacroIsDisabled)
{
    auto profile = makeDefaultProfile();
    TMOUSEPROFILEINFO& p = *profile;
    for (int k = 0; k < 6; ++k) {
        putMacro(p, k, {keyDown(65 + k), keyUp(65 + k)});
        assignMacro(p, k, k);
    }
    EncodingNotes notes;
    const ButtonBlock block = encodePrepared(p, &notes);
    // window buttons 0, 1, 2, 4, 3, 5 in device order get blocks 0 to 4, then none
    EXPECT_EQ(entryOf(block, 3), (std::vector<int>{0x11, 0x03, 0x06, 0x00}));
    EXPECT_EQ(entryOf(block, 4), (std::vector<int>{0x11, 0x04, 0x06, 0x00}));
    EXPECT_EQ(entryOf(block, 5), (std::vector<int>{0x0E, 0, 0, 0}));
    EXPECT_EQ(notes.size(), 1);
}

TEST(ButtonEncoding, ButtonCountIsKeptWithinTheRecord)
{
    auto profile = makeDefaultProfile();
    profile->ConfigInfo.ButtonCount = 40;
    EncodingNotes notes;
    const ButtonBlock block = EncodeButtonBlock(*profile, &notes);
    EXPECT_EQ(block[0], 15);
    EXPECT_EQ(block[64], 0);   // entry 15 does not exist in the record
    EXPECT_EQ(notes.size(), 1);
    profile->ConfigInfo.ButtonCount = -3;
    EXPECT_EQ(EncodeButtonBlock(*profile)[0], 0);
}
