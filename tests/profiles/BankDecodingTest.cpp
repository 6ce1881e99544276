// A bank read back into a profile: every profile the program can make comes
// back with the settings the mouse keeps, and a bank the decoder cannot map
// is refused with the block and byte, leaving the profile untouched.

#include "profiles/BankDecoding.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/Profile.h"
#include "macros/MacroName.h"
#include "wire/CpiEncoding.h"
#include "wire/MacroEncoding.h"
#include "wire/MemoryImage.h"
#include "records/RecordBytes.h"

#include "MacroFixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

using namespace k4812;
using test::delayMs;
using test::keyDown;
using test::keyUp;
using test::macroKey;

namespace {

std::unique_ptr<TMOUSEPROFILEINFO> factoryProfile()
{
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*p);
    return p;
}

// The memory after an apply of `profile` into `bank` (the other bank and the
// shared bytes as an apply of the factory profile leaves them).
std::vector<std::uint8_t> memoryWith(const TMOUSEPROFILEINFO& profile, int bank)
{
    MemoryImage image;
    const auto factory = factoryProfile();
    int rates[2];
    rates[1 - bank] = PutProfileIntoBank(image, *factory, 1 - bank);
    rates[bank] = PutProfileIntoBank(image, profile, bank);
    PutSharedBytes(image, rates[0], rates[1], 0, profile);
    return image.bytes;
}

int effectiveMenuId(const TBUTTONFUNCINFO& e)
{
    return e.MenuID != 0 ? e.MenuID : MenuIdOfRow(e.FunctionIndex);
}

// A macro action as the mouse plays it: delays in 10 ms steps.
TMACROKEY asPlayed(TMACROKEY a)
{
    if (a.nKeyType == 6) {
        const int ms = std::min(MacroDelayUnits(a.VALUE1 | a.VALUE2 << 8) * 10, 0xFFFF);
        a.VALUE1 = std::uint8_t(ms & 0xFF);
        a.VALUE2 = std::uint8_t(ms >> 8);
    }
    return a;
}

void expectSameMacro(const TMACROKEYINFO& sent, const TMACROKEYINFO& back)
{
    ASSERT_EQ(int(back.MacroListCount), int(sent.MacroListCount));
    EXPECT_EQ(int(back.nLoopCount), int(sent.nLoopCount));
    for (int j = 0; j < sent.MacroListCount; ++j) {
        const TMACROKEY a = asPlayed(sent.MacroList[j]);
        const TMACROKEY b = back.MacroList[j];
        EXPECT_TRUE(a.nKeyType == b.nKeyType && a.nKeyState == b.nKeyState && a.VALUE1 == b.VALUE1
                    && a.VALUE2 == b.VALUE2)
            << "action " << j;
    }
}

// Everything the mouse keeps, field by field.
void expectSameSettings(const TMOUSEPROFILEINFO& sent, const TMOUSEPROFILEINFO& back)
{
    const TMOUSECONFIGINFO& s = sent.ConfigInfo;
    const TMOUSECONFIGINFO& b = back.ConfigInfo;
    EXPECT_EQ(int(b.ReportRate), int(s.ReportRate));
    EXPECT_EQ(int(b.WheelLedOnOff), s.WheelLedOnOff != 0 ? 1 : 0);
    EXPECT_EQ(int(b.HWVWheelValue), s.HWVWheelValue & 0x7F);
    EXPECT_EQ(std::memcmp(&b.LEDConfig, &s.LEDConfig, sizeof s.LEDConfig), 0);
    EXPECT_EQ(int(b.CPILevel), int(s.CPILevel));
    EXPECT_EQ(int(b.CurrentCPIIndex), int(s.CurrentCPIIndex));
    for (int k = 0; k < kCpiBlockLevels; ++k) {
        const TCPILEVELINFO level = s.CPIState[k];
        const int cpi = level.Enabled == 0 ? 0 : level.X == 0 || level.Y == 0 ? 400 : SnapCpi(std::max<int>(level.X, level.Y));
        const TCPILEVELINFO got = b.CPIState[k];
        const TCPILEVELINFO hw = b.HWCPIState[k];
        EXPECT_TRUE(got.X == cpi && got.Y == cpi && got.Enabled == (level.Enabled != 0 ? 1 : 0)) << "level " << k;
        EXPECT_TRUE(hw.X == cpi && hw.Y == cpi && hw.Enabled == got.Enabled) << "level " << k;
    }
    EXPECT_EQ(int(b.ButtonCount), 7);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE("button " + std::to_string(i));
        const TBUTTONFUNCINFO& e = s.ButtonFuncInfo[i];
        const TBUTTONFUNCINFO& g = b.ButtonFuncInfo[i];
        EXPECT_EQ(int(g.FunctionClass), int(e.FunctionClass));
        EXPECT_EQ(int(g.FunctionIndex), int(e.FunctionIndex));
        EXPECT_EQ(int(g.DeviceCode), int(e.DeviceCode));
        EXPECT_EQ(int(g.ButtonIndex), i);
        switch (e.FunctionClass) {
        case kFunctionClassCombo: {
            const TCOMBOKEYINFO x = e.ComboKeyInfo, y = g.ComboKeyInfo;
            EXPECT_TRUE(x.nKeyValue1 == y.nKeyValue1 && x.nKey1Extended == y.nKey1Extended
                        && x.nKeyValue2 == y.nKeyValue2 && x.nKey2Extended == y.nKey2Extended && x.nModifier == y.nModifier);
            EXPECT_EQ(int(g.MenuID), effectiveMenuId(e));
            break;
        }
        case kFunctionClassSingleKey: {
            const TSINGLEKEYINFO x = e.SingleKeyInfo, y = g.SingleKeyInfo;
            EXPECT_TRUE(x.nKeyValue1 == y.nKeyValue1 && x.nKey1Extended == y.nKey1Extended);
            EXPECT_EQ(int(g.MenuID), effectiveMenuId(e));
            break;
        }
        case kFunctionClassMedia: {
            const THID_CODE_INFO x = e.MediaKeyInfo, y = g.MediaKeyInfo;
            EXPECT_TRUE(x.nKeyValue1 == y.nKeyValue1 && x.nKeyValue2 == y.nKeyValue2);
            EXPECT_EQ(int(g.MenuID), effectiveMenuId(e));
            break;
        }
        case kFunctionClassFire: {
            const TFIREKEYINFO x = e.FireKeyInfo, y = g.FireKeyInfo;
            EXPECT_TRUE(x.nLoopCount == y.nLoopCount && x.DelyValue == y.DelyValue);
            EXPECT_EQ(int(g.MenuID), effectiveMenuId(e));
            break;
        }
        case kFunctionClassMacro: {
            // Renumbered in the order the buttons name them; the list and the
            // button's copy hold the same macro.
            const int index = g.MacroKeyInfo.nMacroIndex;
            ASSERT_LT(index, int(back.MacroKeyInfoList.nMacroInfoCount));
            EXPECT_EQ(int(g.MenuID), kMenuFirstMacro + index);
            const TMACROKEYINFO& listed = back.MacroKeyInfoList.MacroInfos[index];
            EXPECT_EQ(std::memcmp(&listed, &g.MacroKeyInfo, sizeof listed), 0);
            EXPECT_EQ(macroNameOf(listed), mouseMacroName(index + 1));
            expectSameMacro(sent.MacroKeyInfoList.MacroInfos[e.MacroKeyInfo.nMacroIndex], listed);
            break;
        }
        case kFunctionClassRaw:
            EXPECT_EQ(std::memcmp(g.RawParam, e.RawParam, 3), 0);
            break;
        default:
            EXPECT_EQ(int(g.MenuID), effectiveMenuId(e));
            break;
        }
    }
}

using Build = std::function<void(TMOUSEPROFILEINFO&)>;

void assign(TMOUSEPROFILEINFO& p, int button, int menuId)
{
    ASSERT_TRUE(AssignButtonFunction(p, button, menuId).assigned()) << menuId;
}

// The 34 rows of the function table over the buttons, five to a profile.
std::vector<std::pair<std::string, Build>> functionKindProfiles()
{
    std::vector<int> menus;
    for (const ButtonFunctionRow& row : ButtonFunctionTable) {
        if (row.menuId != kMenuClick && row.menuId != kMenuRightClick)
            menus.push_back(row.menuId);
    }
    std::vector<std::pair<std::string, Build>> result;
    result.emplace_back("Right Click on the first button", [](TMOUSEPROFILEINFO& p) { assign(p, 0, kMenuRightClick); });
    for (std::size_t start = 0; start < menus.size(); start += 5) {
        const std::vector<int> chunk(menus.begin() + std::ptrdiff_t(start),
                                     menus.begin() + std::ptrdiff_t(std::min(start + 5, menus.size())));
        result.emplace_back("function rows from menu " + std::to_string(chunk.front()), [chunk](TMOUSEPROFILEINFO& p) {
            test::putMacro(p, 0, {keyDown('A'), delayMs(50), keyUp('A')}, 3);
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                const int button = 2 + int(i);
                const int menu = chunk[i];
                if (menu == kMenuSingleKey)
                    ASSERT_TRUE(AssignSingleKey(p, button, TSINGLEKEYINFO{0x21, 1}).assigned());   // PAGE UP
                else if (menu == kMenuComboKey)
                    ASSERT_TRUE(AssignComboKey(p, button, TCOMBOKEYINFO{'K', 0, 0x70, 0, 0x0F}).assigned());
                else if (menu == kMenuMacro)
                    ASSERT_TRUE(AssignMacro(p, button, 0).assigned());
                else if (menu == kMenuFireKey)
                    ASSERT_TRUE(AssignFireKey(p, button, TFIREKEYINFO{255, 1}).assigned());
                else
                    assign(p, button, menu);
            }
        });
    }
    return result;
}

std::vector<std::pair<std::string, Build>> roundTripProfiles()
{
    std::vector<std::pair<std::string, Build>> cases;
    cases.emplace_back("factory profile", [](TMOUSEPROFILEINFO&) {});
    for (int n = 1; n <= 3; ++n) {
        cases.emplace_back("preset " + std::to_string(n), [n](TMOUSEPROFILEINFO& p) {
            TuiProfile file;
            ASSERT_TRUE(file.LoadStreamFromFile(QStringLiteral(K4812_BIN_DIR "/PresetProfile%1.pfd").arg(n)));
            copyBytesIntoRecord(p, QByteArrayView(file.stream()));
        });
    }
    for (auto& c : functionKindProfiles())
        cases.push_back(std::move(c));
    cases.emplace_back("five macros", [](TMOUSEPROFILEINFO& p) {
        // Listed out of button order, with an unassigned macro between them.
        test::putMacro(p, 0, {keyDown(0x26, 1), keyUp(0x26, 1)});                                  // UP ARROW, extended
        test::putMacro(p, 1, {macroKey(1, 1, 1, 0), delayMs(65535), macroKey(1, 0, 1, 0)}, 65535);   // mouse button
        test::putMacro(p, 2, {delayMs(25)});                                                       // not on a button
        test::putMacro(p, 3, {});                                                                  // no action
        std::vector<TMACROKEY> many;
        for (int j = 0; j < 63; ++j) {
            many.push_back(keyDown('0' + j % 10));
            many.push_back(keyUp('0' + j % 10));
        }
        TMACROKEYINFO& longest = test::putMacro(p, 4, {}, 2);
        std::copy(many.begin(), many.end(), longest.MacroList);
        longest.MacroListCount = int(many.size());   // 126 actions and the loop entry: 381 bytes
        test::putMacro(p, 5, {keyDown(0x0D), delayMs(1000), keyUp(0x0D), macroKey(5, 1, 2, 3)}, 1);
        for (auto [button, macro] : {std::pair{6, 4}, {2, 1}, {3, 0}, {4, 5}, {5, 3}})
            ASSERT_TRUE(AssignMacro(p, button, macro).assigned());
    });
    cases.emplace_back("one macro on two buttons", [](TMOUSEPROFILEINFO& p) {
        test::putMacro(p, 0, {keyDown('Z'), keyUp('Z')}, 7);
        ASSERT_TRUE(AssignMacro(p, 2, 0).assigned());
        ASSERT_TRUE(AssignMacro(p, 6, 0).assigned());
    });
    cases.emplace_back("extreme CPI, light and rate", [](TMOUSEPROFILEINFO& p) {
        TMOUSECONFIGINFO& c = p.ConfigInfo;
        c.CPIState[0] = TCPILEVELINFO{100, 100, 1};
        c.CPIState[1] = TCPILEVELINFO{0, 800, 1};
        c.CPIState[2] = TCPILEVELINFO{800, 2400, 1};
        c.CPIState[3] = TCPILEVELINFO{3500, 3500, 1};
        c.CurrentCPIIndex = 3;
        c.ReportRate = 125;
        c.LEDConfig = TLEDCONFIG{255, 1, 0, 3, 3, 255};
        c.WheelLedOnOff = 0;
        c.HWVWheelValue = 0x7F;
    });
    cases.emplace_back("one CPI level at 1000 Hz", [](TMOUSEPROFILEINFO& p) {
        TMOUSECONFIGINFO& c = p.ConfigInfo;
        c.CPILevel = 1;
        for (int k = 1; k < 4; ++k)
            c.CPIState[k] = TCPILEVELINFO{0, 0, 0};
        c.CPIState[0] = TCPILEVELINFO{3400, 3400, 1};
        c.CurrentCPIIndex = 0;
        c.ReportRate = 1000;
        c.LEDConfig = TLEDCONFIG{0, 0, 0, 0, 0, 0};
    });
    return cases;
}

TEST(BankDecodingTest, EveryProfileComesBackWithTheSettingsTheMouseKeepsInEitherBank)
{
    for (const auto& [name, build] : roundTripProfiles()) {
        for (int bank = 0; bank < 2; ++bank) {
            SCOPED_TRACE(name + ", bank " + std::to_string(bank));
            auto sent = factoryProfile();
            build(*sent);
            if (::testing::Test::HasFatalFailure())
                return;
            const std::vector<std::uint8_t> memory = memoryWith(*sent, bank);
            auto back = factoryProfile();
            ASSERT_EQ(DecodeBankIntoProfile(memory, bank, *back), QString());
            expectSameSettings(*sent, *back);
        }
    }
}

TEST(BankDecodingTest, WhatTheMouseDoesNotKeepStaysAsTheProfileHadIt)
{
    auto sent = factoryProfile();
    sent->ConfigInfo.PointerSpeed = 17;
    sent->ConfigInfo.DoubleClickSpeed = 200;
    auto back = factoryProfile();
    back->ConfigInfo.PointerSpeed = 3;
    back->ConfigInfo.FireKeyCount = 9;
    test::putMacro(*back, 0, {keyDown('Q')});
    ASSERT_EQ(DecodeBankIntoProfile(memoryWith(*sent, 0), 0, *back), QString());
    EXPECT_EQ(int(back->ConfigInfo.PointerSpeed), 3);
    EXPECT_EQ(int(back->ConfigInfo.DoubleClickSpeed), 550);
    EXPECT_EQ(int(back->ConfigInfo.FireKeyCount), 9);
    EXPECT_EQ(int(back->MacroKeyInfoList.nMacroInfoCount), 0) << "the mouse's macros replace the list";
}

TEST(BankDecodingTest, TheFactoryMemoryIsRecognisedAndAnyKeptSettingMakesItDiffer)
{
    const auto factory = factoryProfile();
    MemoryImage image;
    const int rate = PutProfileIntoBank(image, *factory, 0);
    PutProfileIntoBank(image, *factory, 1);
    PutSharedBytes(image, rate, rate, 0, *factory);
    EXPECT_TRUE(MemoryHoldsFactorySettings(image.bytes));

    auto pressedDpi = image.bytes;
    pressedDpi[0x948 + 1] = 3;   // the active level, changed with the mouse's own button
    pressedDpi[0x040] = 1;       // and the mode button
    EXPECT_TRUE(MemoryHoldsFactorySettings(pressedDpi));

    for (std::uint16_t address : {0x03E, 0x045, 0x048, 0x090, 0x887 - 1, 0x990 + 5, 0x948 + 3}) {
        auto changed = image.bytes;
        changed[address] ^= 0x01;
        EXPECT_FALSE(MemoryHoldsFactorySettings(changed)) << std::hex << address;
    }
}

struct Damage {
    const char* what;
    int bank;
    std::map<std::uint16_t, std::uint8_t> bytes;   // offsets in the bank, or shared addresses below 0x48
    const char* expected;                        // the start of the refusal
};

// Offsets in a bank: CPI block 0x48, button block 0x90 (entry e at 0x91 + 4e,
// the mouse's order), macro block 0 at 0xD1.
const Damage kDamages[] = {
    {"report-rate code 3", 0, {{0x045, 0x23}}, "the report-rate byte (0x045), byte 0 (address 0x045)"},
    {"bank 1's report-rate code 0", 1, {{0x045, 0x02}}, "the report-rate byte (0x045), byte 0"},
    {"no CPI level", 0, {{0x48, 0}}, "the CPI block of Mode 1 (0x048), byte 0 (address 0x048)"},
    {"five CPI levels", 1, {{0x48, 5}}, "the CPI block of Mode 2 (0x948), byte 0 (address 0x948)"},
    {"active level beyond the levels", 0, {{0x49, 4}}, "the CPI block of Mode 1 (0x048), byte 1"},
    {"enabled flag 2", 0, {{0x4A, 2}}, "the CPI block of Mode 1 (0x048), byte 2"},
    {"CPI code 9", 0, {{0x4E, 9}, {0x4F, 9}}, "the CPI block of Mode 1 (0x048), byte 6"},
    {"X and Y codes differ", 0, {{0x4F, 3}}, "the CPI block of Mode 1 (0x048), byte 7"},
    {"a disabled level with a code", 0, {{0x57, 1}}, "the CPI block of Mode 1 (0x048), byte 15"},
    {"seven buttons", 0, {{0x90, 7}}, "the button block of Mode 1 (0x090), byte 0"},
    {"unknown function code", 1, {{0x91 + 4 * 2, 0x07}}, "the button block of Mode 2 (0x990), byte 9"},
    {"wheel code on a button", 0, {{0x91 + 4 * 5, 0x0B}}, "the button block of Mode 1 (0x090), byte 21"},
    {"DPI + on a primary button", 0, {{0x91 + 4 * 1, 0x09}}, "the button block of Mode 1 (0x090), byte 5"},
    {"a click with a parameter", 0, {{0x91 + 4 * 2 + 2, 1}}, "the button block of Mode 1 (0x090), byte 11"},
    {"no fixed eighth button", 0, {{0x91 + 4 * 7, 0x01}}, "the button block of Mode 1 (0x090), byte 29"},
    {"unknown media usage", 0, {{0x91 + 4 * 2, 0x0E}, {0x91 + 4 * 2 + 2, 0x6F}}, "the button block of Mode 1 (0x090), byte 11"},
    {"right-hand modifier", 0, {{0x91 + 4 * 2, 0x0F}, {0x92 + 4 * 2, 0x10}, {0x93 + 4 * 2, 4}}, "the button block of Mode 1 (0x090), byte 10"},
    {"single key with no usage", 0, {{0x91 + 4 * 2, 0x10}}, "the button block of Mode 1 (0x090), byte 11"},
    {"fire delay 0", 0, {{0x91 + 4 * 2, 0x12}, {0x92 + 4 * 2, 1}}, "the button block of Mode 1 (0x090), byte 11"},
    {"fire delay 256", 0, {{0x91 + 4 * 2, 0x12}, {0x92 + 4 * 2, 1}, {0x94 + 4 * 2, 1}}, "the button block of Mode 1 (0x090), byte 12"},
    {"macro block 5", 0, {{0x91 + 4 * 2, 0x11}, {0x92 + 4 * 2, 5}}, "the button block of Mode 1 (0x090), byte 10"},
    {"macro of 4 bytes", 0, {{0x91 + 4 * 2, 0x11}, {0x93 + 4 * 2, 4}}, "the button block of Mode 1 (0x090), byte 11"},
    {"one block played at two lengths", 0,
     {{0x91 + 4 * 2, 0x11}, {0x93 + 4 * 2, 3}, {0x91 + 4 * 5, 0x11}, {0x93 + 4 * 5, 6}, {0xD1, 0x84}, {0xD2, 4}},
     "the button block of Mode 1 (0x090), byte 23"},
    {"macro action of type 0", 0, {{0x91 + 4 * 2, 0x11}, {0x93 + 4 * 2, 6}, {0xD1, 0x84}, {0xD2, 4}},
     "the macro block of Mode 1 (0x0D1), byte 3"},
    {"macro key with no key", 1, {{0x91 + 4 * 2, 0x11}, {0x93 + 4 * 2, 3}, {0xD1, 0x84}, {0xD2, 0xF0}},
     "the macro block of Mode 2 (0x9D1), byte 1"},
    {"loop entry in the middle", 0, {{0x91 + 4 * 2, 0x11}, {0x93 + 4 * 2, 6}, {0xD1, 0x07}, {0xD2, 2}, {0xD4, 0x84}, {0xD5, 4}},
     "the macro block of Mode 1 (0x0D1), byte 0"},
    {"loop of 0 times", 0, {{0x91 + 4 * 2, 0x11}, {0x93 + 4 * 2, 3}, {0xD1, 0x07}}, "the macro block of Mode 1 (0x0D1), byte 1"},
};

TEST(BankDecodingTest, ABankTheDecoderCannotMapIsRefusedByBlockAndByteAndChangesNothing)
{
    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.what);
        std::vector<std::uint8_t> memory = memoryWith(*factoryProfile(), d.bank);
        for (auto [offset, value] : d.bytes)
            memory[offset < 0x048 ? offset : bankAddress(d.bank, offset)] = value;
        auto profile = factoryProfile();
        AssignButtonFunction(*profile, 3, 1001);
        const QByteArray before = recordToBytes(*profile);
        const QString problem = DecodeBankIntoProfile(memory, d.bank, *profile);
        EXPECT_TRUE(problem.startsWith(QLatin1String(d.expected))) << problem.toStdString();
        EXPECT_EQ(recordToBytes(*profile), before);
    }
}

TEST(BankDecodingTest, AShortReadOrANoBankIsRefused)
{
    auto profile = factoryProfile();
    const std::vector<std::uint8_t> memory = memoryWith(*profile, 0);
    EXPECT_FALSE(DecodeBankIntoProfile(std::span(memory).first(0x900), 1, *profile).isEmpty());
    EXPECT_FALSE(DecodeBankIntoProfile(memory, 2, *profile).isEmpty());
}

} // namespace
