#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/DeviceDecoding.h"
#include "wire/DeviceDescriptionFormat.h"
#include "wire/KeyCodeTable.h"
#include "wire/KeyUsageNames.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"
#include "sequences/MacroUpload.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"

#include "DefaultProfileFixture.h"
#include "EmulatedMouse.h"
#include "MacroFixture.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::EmulatedMouse;

namespace {

// Writes a profile into a bank as an apply does: through the framing and the
// macro sender.
void upload(TuiHIDData& hid, const TMOUSEPROFILEINFO& profile, int bank)
{
    const auto copy = PrepareDeviceProfile(profile);
    const ButtonBlock buttons = EncodeButtonBlock(*copy);
    const MacroBlocks macros = EncodeMacroBlocks(*copy);
    const LightBlock light = EncodeLightBlock(copy->ConfigInfo.LEDConfig);
    const CpiBlock cpi = EncodeCpiBlock(*copy);
    ASSERT_EQ(WriteDeviceMemory(hid, bankAddress(bank, kButtonBlockOffset), buttons.data(), buttons.size()), 0);
    ASSERT_EQ(WriteMacroBlocks(hid, macros, bank), 0);
    ASSERT_EQ(WriteDeviceMemory(hid, bankAddress(bank, kLightBlockOffset), light.data(), light.size()), 0);
    ASSERT_EQ(WriteDeviceMemory(hid, bankAddress(bank, kCpiBlockOffset), cpi.data(), cpi.size()), 0);
}

TBUTTONFUNCINFO& button(TMOUSEPROFILEINFO& p, int windowButton, int functionClass, int deviceCode)
{
    TBUTTONFUNCINFO& e = p.ConfigInfo.ButtonFuncInfo[windowButton];
    e.FunctionClass = std::uint8_t(functionClass);
    e.DeviceCode = deviceCode;
    return e;
}

// Keys, a combination, a fire key, a media key and three macros (one with a
// loop, one with extended keys).
std::unique_ptr<TMOUSEPROFILEINFO> keysAndMacrosProfile()
{
    auto p = test::makeDefaultProfile();
    test::putMacro(*p, 0, {test::keyDown('A'), test::delayMs(50), test::keyUp('A')});
    test::putMacro(*p, 1, {test::keyDown(33, 1), test::delayMs(1000), test::keyUp(33, 1), test::delayMs(65530)}, 3);
    test::putMacro(*p, 2, {test::keyDown(13), test::keyUp(13), test::keyDown(13, 1), test::keyUp(13, 1)});
    button(*p, 0, kFunctionClassSingleKey, 0x10).SingleKeyInfo = TSINGLEKEYINFO{0x74, 0};   // F5
    button(*p, 1, kFunctionClassCombo, 0x0F).ComboKeyInfo = TCOMBOKEYINFO{'A', 0, 'B', 0, 0x06};
    test::assignMacro(*p, 2, 0);
    button(*p, 3, kFunctionClassFire, 0x12).FireKeyInfo = TFIREKEYINFO{3, 60};
    button(*p, 4, kFunctionClassMedia, 0x0E).MediaKeyInfo = THID_CODE_INFO{233, 0, 0};   // Volume Up
    test::assignMacro(*p, 5, 1);
    test::assignMacro(*p, 6, 2);
    TMOUSECONFIGINFO& c = p->ConfigInfo;
    c.CPIState[1] = TCPILEVELINFO{800, 2400, 1};
    c.CPIState[2] = TCPILEVELINFO{1200, 1200, 1};
    c.CPIState[3] = TCPILEVELINFO{3400, 3400, 1};
    c.CurrentCPIIndex = 2;
    c.LEDConfig = TLEDCONFIG{10, 20, 30, 2, 3, 4};
    return p;
}

// The mouse buttons, CPI functions, the wheel, a raw code and Disable.
std::unique_ptr<TMOUSEPROFILEINFO> mouseFunctionsProfile()
{
    auto p = test::makeDefaultProfile();
    button(*p, 1, kFunctionClassCpi, 0x08);
    std::uint8_t raw[3] = {0x20, 0x01, 0x02};
    std::copy(raw, raw + 3, button(*p, 2, kFunctionClassRaw, 0x13).RawParam);
    button(*p, 4, kFunctionClassMouse, 0x0C).WheelParam = 3;
    button(*p, 5, kFunctionClassMedia, 0x0E).MediaKeyInfo = THID_CODE_INFO{0, 0, 0};
    TMOUSECONFIGINFO& c = p->ConfigInfo;
    c.CPILevel = 2;
    c.CPIState[2] = TCPILEVELINFO{0, 0, 0};
    c.CPIState[3] = TCPILEVELINFO{0, 0, 0};
    c.CurrentCPIIndex = 0;
    c.LEDConfig = TLEDCONFIG{255, 128, 0, 3, 1, 0};
    return p;
}

const TMACROKEYINFO* macroWithIndex(const TMOUSEPROFILEINFO& p, int index)
{
    for (int i = 0; i < p.MacroKeyInfoList.nMacroInfoCount; ++i) {
        if (p.MacroKeyInfoList.MacroInfos[i].nMacroIndex == index)
            return &p.MacroKeyInfoList.MacroInfos[i];
    }
    return nullptr;
}

DecodedKey keyOf(int virtualKey, int extended)
{
    if (virtualKey == 0)
        return {};
    return {HidUsageOf(virtualKey, extended), KeyNameOf(virtualKey, extended)};
}

void expectSameMacro(const TMACROKEYINFO& m, const DecodedMacro& d)
{
    EXPECT_TRUE(d.used);
    EXPECT_TRUE(d.problems.isEmpty()) << d.problems.join("; ").toStdString();
    EXPECT_EQ(d.loopCount, m.nLoopCount);
    ASSERT_EQ(int(d.actions.size()), m.MacroListCount);
    for (int j = 0; j < m.MacroListCount; ++j) {
        const TMACROKEY a = m.MacroList[j];
        const DecodedMacroAction& got = d.actions[j];
        EXPECT_EQ(got.type, a.nKeyType) << j;
        EXPECT_EQ(got.state, a.nKeyState) << j;
        if (a.nKeyType == kMacroTypeKey) {
            EXPECT_EQ(got.key, keyOf(a.VALUE1, a.VALUE2)) << j;
            EXPECT_EQ(got.extendedFlag, a.VALUE2) << j;
        } else if (a.nKeyType == kMacroTypeDelay) {
            EXPECT_EQ(got.delayMs, a.VALUE1 | a.VALUE2 << 8) << j;
        }
    }
}

// The decoded entry means what the profile's element says.
void expectSameButton(const TMOUSEPROFILEINFO& p, int windowButton, const DecodedBank& bank)
{
    SCOPED_TRACE(testing::Message() << "window button " << windowButton + 1);
    const int entry = windowButton == 3 ? 4 : windowButton == 4 ? 3 : windowButton;
    ASSERT_LT(entry, int(bank.buttons.size()));
    const DecodedButton& b = bank.buttons[entry];
    const TBUTTONFUNCINFO& e = p.ConfigInfo.ButtonFuncInfo[windowButton];
    EXPECT_EQ(b.windowEntry, windowButton + 1);
    EXPECT_EQ(b.code, e.DeviceCode);
    switch (e.DeviceCode) {
    case kDeviceWheelUp:
    case kDeviceWheelDown:
        EXPECT_EQ(b.wheelParameter, e.WheelParam);
        break;
    case kDeviceMediaKey:
        EXPECT_EQ(b.media.usage, e.MediaKeyInfo.nKeyValue1);
        EXPECT_EQ(b.mediaSecondValue, e.MediaKeyInfo.nKeyValue2);
        EXPECT_EQ(b.function, e.MediaKeyInfo.nKeyValue1 == 0 ? "Disable" : "Media Key");
        break;
    case kDeviceKeyCombination:
        EXPECT_EQ(b.modifierBits, e.ComboKeyInfo.nModifier);
        EXPECT_EQ(b.key1, keyOf(e.ComboKeyInfo.nKeyValue1, e.ComboKeyInfo.nKey1Extended));
        EXPECT_EQ(b.key2, keyOf(e.ComboKeyInfo.nKeyValue2, e.ComboKeyInfo.nKey2Extended));
        break;
    case kDeviceSingleKey:
        EXPECT_EQ(b.key1, keyOf(e.SingleKeyInfo.nKeyValue1, e.SingleKeyInfo.nKey1Extended));
        break;
    case kDeviceMacro: {
        ASSERT_GE(b.macroBlock, 0);
        ASSERT_LT(b.macroBlock, kMacroBlockCount);
        const TMACROKEYINFO* macro = macroWithIndex(p, e.MacroKeyInfo.nMacroIndex);
        ASSERT_NE(macro, nullptr);
        expectSameMacro(*macro, bank.macros[b.macroBlock]);
        EXPECT_EQ(b.macroLength, bank.macros[b.macroBlock].length);
        break;
    }
    case kDeviceFireKey:
        EXPECT_EQ(b.fireCount, e.FireKeyInfo.nLoopCount);
        EXPECT_EQ(b.fireDelay, e.FireKeyInfo.DelyValue);
        break;
    case kDeviceRawCode:
        EXPECT_EQ(b.parameters, (std::array<std::uint8_t, 3>{e.RawParam[0], e.RawParam[1], e.RawParam[2]}));
        break;
    default:
        EXPECT_EQ(b.parameters, (std::array<std::uint8_t, 3>{}));
        EXPECT_EQ(b.function, DeviceFunctionName(e.DeviceCode));
    }
}

void expectSameProfile(const TMOUSEPROFILEINFO& p, const DecodedBank& bank)
{
    ASSERT_EQ(bank.buttonCount, 8);
    for (int w = 0; w < 7; ++w)
        expectSameButton(p, w, bank);
    EXPECT_EQ(bank.buttons[7].text, "Eighth Button");

    const TMOUSECONFIGINFO& c = p.ConfigInfo;
    EXPECT_EQ(bank.cpi.levelCount, c.CPILevel);
    EXPECT_EQ(bank.cpi.activeLevel, c.CurrentCPIIndex);
    for (int k = 0; k < kCpiBlockLevels; ++k) {
        const TCPILEVELINFO level = c.CPIState[k];
        const DecodedCpiLevel& got = bank.cpi.levels[k];
        EXPECT_EQ(got.enabled, level.Enabled) << k;
        const int expected = level.Enabled != 0 ? SnapCpi(std::max(level.X, level.Y)) : 0;
        EXPECT_EQ(got.xCpi, expected) << k;
        EXPECT_EQ(got.yCpi, expected) << k;
    }

    const TLEDCONFIG light = c.LEDConfig;
    EXPECT_EQ(recordToBytes(bank.light), recordToBytes(light));
}

} // namespace

TEST(DeviceDecoding, WhatWasSentDecodesToWhatTheProfilesSay)
{
    EmulatedMouse emulated;
    const auto first = keysAndMacrosProfile();
    const auto second = mouseFunctionsProfile();
    upload(*emulated.hid, *first, 0);
    upload(*emulated.hid, *second, 1);

    const DeviceDescription d = DecodeDeviceMemory(emulated.memory());
    {
        SCOPED_TRACE("bank 0");
        expectSameProfile(*first, d.banks[0]);
    }
    {
        SCOPED_TRACE("bank 1");
        expectSameProfile(*second, d.banks[1]);
    }
    // Macros in the order their buttons meet them; the other blocks unused.
    EXPECT_EQ(d.banks[0].macros[0].length, 9);
    EXPECT_EQ(d.banks[0].macros[1].length, 15);   // four actions and the loop entry
    EXPECT_FALSE(d.banks[0].macros[3].used);
    EXPECT_FALSE(d.banks[1].macros[0].used);

    const QStringList expectedTexts = {
        "Single Key: F5",
        "Combo Key: Ctrl+Shift+A+B",
        "Macro: block 0, 9 bytes",
        "Media Key: VOLUME_UP",         // window button 5, sent fourth
        "Fire Key: 3 times, delay 60",  // window button 4, sent fifth
        "Macro: block 1, 15 bytes",
        "Macro: block 2, 12 bytes",
        "Eighth Button",
    };
    QStringList texts;
    for (const DecodedButton& b : d.banks[0].buttons)
        texts << b.text;
    EXPECT_EQ(texts, expectedTexts);
    texts.clear();
    for (const DecodedButton& b : d.banks[1].buttons)
        texts << b.text;
    EXPECT_EQ(texts, (QStringList{"Click", "DPI Switch", "Raw Code: 20 01 02", "Wheel Down: 3", "Backward", "Disable",
                                  "DPI -", "Eighth Button"}));
}

TEST(DeviceDecoding, ButtonEntriesNameTheirFunctionAndKeys)
{
    const std::pair<std::array<std::uint8_t, 4>, const char*> cases[] = {
        {{0x0F, 0x01, 0x06, 0x00}, "Combo Key: Ctrl+C"},
        {{0x0F, 0x0F, 0x04, 0x05}, "Combo Key: Alt+Ctrl+Shift+WIN+A+B"},
        {{0x0F, 0x11, 0x04, 0x00}, "Combo Key: Ctrl+HID modifiers 0x10+A"},   // right Ctrl: not a profile bit
        {{0x10, 0x00, 0x61, 0x00}, "Single Key: PAGE UP or NUMPAD 9"},        // one usage, two keys
        {{0x10, 0x00, 0x4B, 0x00}, "Single Key: PAGE UP"},                    // the extended key's usage
        {{0x10, 0x00, 0xE8, 0x00}, "Single Key: usage 0xE8"},                 // no key of the table
        {{0x10, 0x00, 0x00, 0x00}, "Single Key: no key"},
        {{0x0E, 0x00, 0x00, 0x00}, "Disable"},
        {{0x0E, 0x00, 0xE2, 0x00}, "Media Key: VOLUME_MUTE"},                 // not L ALT, the keyboard's 0xE2
        {{0x0E, 0x00, 0xCD, 0x01}, "Media Key: MEDIA_PLAY_PAUSE (second value 0x01)"},
        {{0x0E, 0x00, 0x07, 0x00}, "Media Key: usage 0x07"},
        {{0x11, 0x02, 0x21, 0x00}, "Macro: block 2, 33 bytes"},
        {{0x11, 0x07, 0x03, 0x00}, "Macro: block 7, 3 bytes (there is no such block)"},
        {{0x12, 0x03, 0x2C, 0x01}, "Fire Key: 3 times, delay 300"},
        {{0x0B, 0x03, 0x00, 0x00}, "Wheel Up: 3"},
        {{0x13, 0x20, 0x00, 0x00}, "Raw Code: 20 00 00"},
        {{0x2A, 0x01, 0x02, 0x03}, "Unknown code 0x2A: 01 02 03"},
        {{0x00, 0x00, 0x00, 0x00}, "None"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(DecodeButtonEntry(0, bytes).text, text);

    const DecodedButton combo = DecodeButtonEntry(1, {0x0F, 0x03, 0x3E, 0x00});
    EXPECT_EQ(combo.modifierBits, 0x06);
    EXPECT_EQ(combo.key1, (DecodedKey{0x3E, "F5"}));
    EXPECT_EQ(combo.key2, DecodedKey{});
}

TEST(DeviceDecoding, MacroBlocksPlayWhatTheirButtonSays)
{
    MacroBlock block{};
    const std::uint8_t bytes[] = {0x84, 0x04, 0x00, 0x07, 0x02, 0x00, 0x06, 0x05, 0x00, 0x07, 0x03, 0x00};
    std::copy(std::begin(bytes), std::end(bytes), block.begin());

    const DecodedMacro whole = DecodeMacroBlock(1, block, 12);
    EXPECT_TRUE(whole.problems.isEmpty());
    EXPECT_EQ(whole.loopCount, 3);
    ASSERT_EQ(whole.actions.size(), 3u);   // a loop entry inside the macro is an action
    EXPECT_EQ(whole.actions[0].text, "down A");
    EXPECT_EQ(whole.actions[1].type, 7);
    EXPECT_EQ(whole.actions[2].text, "delay 50 ms");

    const DecodedMacro cut = DecodeMacroBlock(1, block, 10);
    EXPECT_EQ(cut.actions.size(), 3u);
    EXPECT_EQ(cut.loopCount, 0);
    EXPECT_EQ(cut.problems.size(), 1);

    const DecodedMacro beyond = DecodeMacroBlock(1, block, 390);
    EXPECT_EQ(beyond.actions.size(), 128u);
    EXPECT_EQ(beyond.problems.size(), 1);
    EXPECT_EQ(beyond.actions.back().text, "nothing (an action that could not be sent)");
}

TEST(DeviceDecoding, ABlockNamedWithTwoLengthsIsNoted)
{
    std::vector<std::uint8_t> memory(kSettingsMemorySize, 0);
    const std::uint8_t buttons[] = {3, 0x11, 0, 3, 0, 0x11, 0, 6, 0, 0x11, 2, 3, 0};
    std::copy(std::begin(buttons), std::end(buttons), memory.begin() + bankAddress(1, kButtonBlockOffset));
    const DecodedBank bank = DecodeBank(memory, 1);
    EXPECT_EQ(bank.macros[0].length, 3);
    EXPECT_EQ(bank.macros[0].actions.size(), 1u);
    ASSERT_EQ(bank.macros[0].problems.size(), 1);
    EXPECT_TRUE(bank.macros[0].problems[0].contains("entries 0 and 1")) << bank.macros[0].problems[0].toStdString();
    EXPECT_TRUE(bank.macros[2].used);
    EXPECT_FALSE(bank.macros[1].used);

    memory[bankAddress(1, kButtonBlockOffset)] = 20;
    EXPECT_EQ(DecodeBank(memory, 1).buttons.size(), 16u);
    EXPECT_EQ(DecodeBank(memory, 1).problems.size(), 1);
}

TEST(DeviceDecoding, SharedBytes)
{
    struct Case {
        std::uint8_t selection, rate, wheel;
        int bank;
        std::array<int, 2> hertz;
        bool lightOn;
        int wheelValue;
    };
    const Case cases[] = {
        {0x00, 0x22, 0x81, 0, {500, 500}, true, 1},
        {0x01, 0x41, 0x05, 1, {1000, 250}, false, 5},
        {0x04, 0x18, 0xFF, 1, {125, 1000}, true, 127},   // the profile switch writes a profile index
        {0x00, 0x30, 0x00, 0, {0, 0}, false, 0},         // codes the mouse does not define
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> memory(kSettingsMemorySize, 0);
        memory[kActiveBankAddress] = c.selection;
        memory[kReportRateAddress] = c.rate;
        memory[kWheelLightAddress] = c.wheel;
        const DeviceDescription d = DecodeDeviceMemory(memory);
        EXPECT_EQ(d.activeBank, c.bank) << int(c.selection);
        EXPECT_EQ(d.reportRateHz, c.hertz) << int(c.rate);
        EXPECT_EQ(d.wheelLightOn, c.lightOn) << int(c.wheel);
        EXPECT_EQ(d.wheelValue, c.wheelValue) << int(c.wheel);
    }
    // A memory that is too short reads as zeros beyond its end.
    const std::vector<std::uint8_t> shortMemory(0x41, 0x01);
    const DeviceDescription d = DecodeDeviceMemory(shortMemory);
    EXPECT_EQ(d.activeBank, 1);
    EXPECT_EQ(d.reportRateByte, 0);
    EXPECT_EQ(d.banks[1].buttonCount, 0);
}

TEST(DeviceDecoding, KeyNamesOfUsagesFollowTheExtendedFlag)
{
    EXPECT_EQ(KeyNameOfHidUsage(0x28, 0), "ENTER");
    EXPECT_EQ(KeyNameOfHidUsage(0x58, 225), "ENTER");   // keypad Enter
    EXPECT_EQ(KeyNameOfHidUsage(0x58, 0), "ENTER");     // only the extended table has it
    EXPECT_EQ(KeyNameOfHidUsage(0x63, 0), "Keypad DEL or Decimal");
    EXPECT_EQ(KeyNameOfHidUsage(0xE3, 0), "L WIN");
    EXPECT_EQ(KeyNameOfHidUsage(0xE2, 0), "L ALT");
    EXPECT_EQ(KeyNameOfHidUsage(0, 0), QString());
    EXPECT_EQ(MediaKeyNameOfUsage(0xE9), "VOLUME_UP");
    EXPECT_EQ(MediaKeyNameOfUsage(0x04), QString());
}

TEST(DeviceDescriptionFormat, TextAndJsonShowTheSameDescription)
{
    EmulatedMouse emulated;
    upload(*emulated.hid, *keysAndMacrosProfile(), 1);
    emulated.memory()[kActiveBankAddress] = 1;
    DeviceDescription d = DecodeDeviceMemory(emulated.memory());
    d.lastActivation = std::array<std::uint8_t, 2>{1, 3};
    d.shownLight = DecodeLightPreview({0xFF, 0xFF, 0x00, 3, 2});

    const QString text = DeviceDescriptionText(d);
    for (const char* line : {"active bank: 1 (byte 01)\n", "last activation: 01 03\n",
                             "light preview shown: R 255 G 0 B 0, brightness 3, breathing speed 2\n",
                             "bank 1 (Mode 2):\n", "    3: (window button 5) Media Key: VOLUME_UP\n",
                             "  cpi: 4 levels, active level 2\n", "    level 1: 2500 (code 6) CPI\n",
                             "  light: R 10 G 20 B 30, brightness 2, breathing speed 3, breath second 4\n",
                             "    block 1: 15 bytes, 4 actions, loop count 3\n", "      down PAGE UP\n",
                             "      delay 65530 ms\n", "    block 3: unused\n"}) {
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line << "\nin:\n" << text.toStdString();
    }

    const QJsonObject json = DeviceDescriptionJson(d);
    EXPECT_EQ(json["shared"]["activeBank"].toInt(), 1);
    EXPECT_EQ(json["shared"]["lastActivation"].toArray(), (QJsonArray{1, 3}));
    EXPECT_EQ(json["shared"]["shownLight"]["r"].toInt(), 255);
    const QJsonObject bank = json["banks"].toArray().at(1).toObject();
    EXPECT_EQ(bank["buttons"].toArray().at(1)["key2"]["name"].toString(), "B");
    EXPECT_EQ(bank["buttons"].toArray().at(1)["modifiers"].toInt(), 6);
    EXPECT_EQ(bank["cpi"]["levels"].toArray().at(3)["xCpi"].toInt(), 3400);
    const QJsonArray actions = bank["macros"].toArray().at(1)["actions"].toArray();
    EXPECT_EQ(actions[1]["delayMs"].toInt(), 1000);
    EXPECT_EQ(actions[0]["key"]["usage"].toInt(), 0x4B);
}
