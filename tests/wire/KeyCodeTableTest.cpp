#include "wire/KeyCodeTable.h"

#include <gtest/gtest.h>

using namespace k4812;

namespace {

struct Row {
    int vk;
    int flag;
    int usage;
    const char* name;
};

void expectRows(std::initializer_list<Row> rows)
{
    for (const Row& r : rows) {
        EXPECT_EQ(HidUsageOf(r.vk, r.flag), r.usage) << "vk " << r.vk << " flag " << r.flag;
        EXPECT_EQ(KeyNameOf(r.vk, r.flag), QString::fromUtf8(r.name)) << "vk " << r.vk << " flag " << r.flag;
    }
}

} // namespace

TEST(KeyCodeTable, RuleRowsAtTheirEnds)
{
    expectRows({
        {48, 0, 39, "0"},          {49, 0, 30, "1"},          {57, 0, 38, "9"},
        {65, 0, 4, "A"},           {67, 0, 6, "C"},           {90, 0, 29, "Z"},
        {96, 0, 98, "NUMPAD 0"},   {97, 0, 89, "NUMPAD 1"},   {105, 0, 97, "NUMPAD 9"},
        {112, 0, 58, "F1"},        {116, 0, 62, "F5"},        {123, 0, 69, "F12"},
        {124, 0, 104, "F13"},      {135, 0, 115, "F24"},
        {5, 0, 0, "Undefined"},    {7, 0, 0, "Undefined"},    {10, 0, 0, "Undefined"},
        {31, 0, 0, "Undefined"},   {58, 0, 0, "Undefined"},   {64, 0, 0, "Undefined"},
        {94, 0, 0, "Undefined"},   {95, 0, 0, "Undefined"},   {136, 0, 0, "Undefined"},
        {143, 0, 0, "Undefined"},  {146, 0, 0, "Undefined"},  {159, 0, 0, "Undefined"},
        {224, 0, 0, "Undefined"},
    });
    const KeyTable& normal = NormalKeyTable();
    EXPECT_EQ(normal[5].VKName, "VK_UNDEFINED_05");
    EXPECT_EQ(normal[224].VKName, "VK_UNDEFINED_E0");
    EXPECT_EQ(normal[57].VKName, "VK_9");
    EXPECT_EQ(normal[105].VKName, "VK_NUMPAD9");
    EXPECT_EQ(normal[135].VKName, "VK_F24");
    EXPECT_EQ(normal[90].Extended, kNotExtendedEntry);
}

TEST(KeyCodeTable, SpecialRowsOfEveryKind)
{
    expectRows({
        {0, 0, 0, ""},                              // no name, no usage
        {1, 0, 0, "Mouse Left Click"},
        {8, 0, 42, "BACKSPACE"},
        {13, 224, 40, "ENTER"},
        {16, 224, 0, "SHIFT"},                      // generic modifiers have no usage
        {160, 0, 225, "L SHIFT"},
        {161, 0, 229, "R SHIFT"},
        {12, 0, 156, "CLEAR"},
        {45, 0, 98, "Keypad 0 Insert"},
        {46, 0, 99, "Keypad DEL"},
        {173, 0, 226, "VOLUME_MUTE"},
        {179, 0, 205, "MEDIA_PLAY_PAUSE"},
        {166, 0, 0x224, "BROWSER_BACK"},            // consumer usages above a byte
        {172, 0, 0x223, "BROWSER_HOME"},
        {180, 0, 0x18A, "LAUNCH_MAIL"},
        {183, 0, 0x192, "LAUNCH_APP2"},
        {186, 0, 51, ";:"},
        {192, 0, 53, "~`"},
        {220, 0, 49, "\\|"},
        {222, 0, 52, "'\""},
        {223, 0, 0, "None"},
        {226, 0, 0, "\\|"},
    });
    EXPECT_EQ(NormalKeyTable()[45].VKName, "VK_NUMPAD0_INSERT");
    EXPECT_EQ(NormalKeyTable()[111].Extended, kExtendedEntry);
}

TEST(KeyCodeTable, ExtendedFlagSelectsTheNavigationBlock)
{
    expectRows({
        {13, 225, 88, "ENTER"},    {13, 1, 88, "ENTER"},
        {33, 0, 97, "PAGE UP"},    {33, 1, 75, "PAGE UP"},
        {34, 1, 78, "PAGE DOWN"},  {35, 1, 77, "END"},         {36, 1, 74, "HOME"},
        {37, 1, 80, "LEFT ARROW"}, {38, 1, 82, "UP ARROW"},    {39, 1, 79, "RIGHT ARROW"},
        {40, 0, 90, "DOWN ARROW"}, {40, 225, 81, "DOWN ARROW"},
        {45, 1, 73, "INS"},        {46, 225, 76, "DEL"},
        // keys that exist only extended keep their normal entry with the flag set
        {91, 224, 227, "L WIN"},   {91, 225, 227, "L WIN"},
        {44, 1, 70, "PRINT SCREEN"}, {111, 1, 84, "Divide"},   {144, 1, 83, "NUM LOCK"},
        // an extended key with no row of its own
        {65, 225, 0, "UNDEFINED_041"},
        // any other flag value goes straight to the extended table
        {91, 2, 0, "UNDEFINED_05B"}, {13, 7, 88, "ENTER"},
    });
    EXPECT_EQ(ExtendedKeyTable()[45].VKName, "VK_INSERT");
}

TEST(KeyCodeTable, PowerKeyHasANameButNoUsage)
{
    const TKeyboardInfoTable& power = ExtendedKeyTable()[255];
    EXPECT_EQ(power.VKName, "VK_POWER");
    EXPECT_EQ(power.ScanCode, 94);
    expectRows({{255, 1, 0, "POWER"}, {255, 0, 0, "UNDEFINED_0FF"}});
}

TEST(KeyCodeTable, UnlistedEntriesKeepTheirDefaults)
{
    expectRows({
        {200, 224, 0, "UNDEFINED_0C8"}, {250, 224, 0, "UNDEFINED_0FA"},  {184, 0, 0, "UNDEFINED_0B8"},
        {193, 0, 0, "UNDEFINED_0C1"},   {218, 0, 0, "UNDEFINED_0DA"},    {227, 0, 0, "UNDEFINED_0E3"},
        {299, 0, 0, "UNDEFINED_12B"},   {299, 1, 0, "UNDEFINED_12B"},
        {300, 224, 0, ""},              {-1, 0, 0, ""},                   {65535, 1, 0, ""},
    });
    const TKeyboardInfoTable& normal = NormalKeyTable()[200];
    EXPECT_EQ(normal.VKName, "VK_UNDEFINED_0C8");
    EXPECT_EQ(normal.VKCode, 200);
    EXPECT_EQ(normal.ScanCode, 0);
    EXPECT_EQ(normal.Extended, kNotExtendedEntry);
    EXPECT_EQ(normal.HIDCode, kNoHidUsage);
    EXPECT_EQ(ExtendedKeyTable()[200].Extended, kExtendedEntry);
    EXPECT_EQ(ExtendedKeyTable()[65].VKName, "VK_UNDEFINED_041");
}

TEST(KeyCodeTable, NormalTableHoldsItsThreeRunsOfConstantRows)
{
    // Every key of 0…183, 186…192 and 219…226 has a row of its own; nothing else does.
    int rows = 0;
    for (int vk = 0; vk < kKeyTableSize; ++vk) {
        const TKeyboardInfoTable& e = NormalKeyTable()[vk];
        EXPECT_EQ(e.VKCode, vk);
        const bool hasRow = !e.KeyDescription.startsWith(QLatin1String("UNDEFINED_"));
        const bool inRuns = vk <= 183 || (vk >= 186 && vk <= 192) || (vk >= 219 && vk <= 226);
        EXPECT_EQ(hasRow, inRuns) << vk;
        rows += hasRow ? 1 : 0;
    }
    EXPECT_EQ(rows, 199);
}

TEST(KeyCodeTable, DeviceUsageRefusesUsagesAboveAByte)
{
    EXPECT_EQ(DeviceKeyUsage(65, 0), 4);
    EXPECT_EQ(DeviceKeyUsage(161, 1), 229);
    EXPECT_EQ(DeviceKeyUsage(166, 1), 0);   // 0x224 would otherwise become 0x24, the 7 key
    EXPECT_EQ(DeviceKeyUsage(183, 0), 0);
    EXPECT_EQ(DeviceKeyUsage(400, 0), 0);
}

TEST(KeyCodeTable, Modifiers)
{
    EXPECT_EQ(HidModifierOf(0x03), 0x05);
    EXPECT_EQ(HidModifierOf(0x02), 0x01);
    EXPECT_EQ(HidModifierOf(0x04), 0x02);
    EXPECT_EQ(HidModifierOf(0x08), 0x08);
    EXPECT_EQ(HidModifierOf(0xF0), 0);
    EXPECT_EQ(ModifierText(0x0F), "Alt+Ctrl+Shift+WIN+");
    EXPECT_EQ(ModifierText(0x06), "Ctrl+Shift+");
    EXPECT_EQ(ModifierText(0), "");
    EXPECT_EQ(ModifierText(0x18), "WIN+");
}
