#include "macros/LinuxKeyMap.h"

#include "wire/KeyCodeTable.h"

#include <gtest/gtest.h>

#include <Qt>

#include <set>
#include <utility>
#include <vector>

namespace k4812 {
namespace {

constexpr std::uint32_t kXkbOffset = 8;

std::optional<WindowsKey> physical(int evdev, int qtKey = 0, bool keypad = false)
{
    return windowsKeyOf(LinuxKey{std::uint32_t(evdev) + kXkbOffset, qtKey, keypad});
}

// Every key of a 105-key PC keyboard and the media keys, by evdev code, with
// the HID usage the keyboard itself sends for it (the kernel's HID table read
// backwards; consumer-page usages for the media keys). Recording a key and
// playing it back through the mouse must give that same usage.
struct KeyboardKey {
    int evdev;
    int usage;
    const char* what;
};
const std::vector<KeyboardKey> kKeyboard = {
    {1, 41, "Esc"}, {2, 30, "1"}, {3, 31, "2"}, {4, 32, "3"}, {5, 33, "4"}, {6, 34, "5"}, {7, 35, "6"},
    {8, 36, "7"}, {9, 37, "8"}, {10, 38, "9"}, {11, 39, "0"}, {12, 45, "-"}, {13, 46, "="},
    {14, 42, "Backspace"}, {15, 43, "Tab"}, {16, 20, "Q"}, {17, 26, "W"}, {18, 8, "E"}, {19, 21, "R"},
    {20, 23, "T"}, {21, 28, "Y"}, {22, 24, "U"}, {23, 12, "I"}, {24, 18, "O"}, {25, 19, "P"}, {26, 47, "["},
    {27, 48, "]"}, {28, 40, "Enter"}, {29, 224, "Left Ctrl"}, {30, 4, "A"}, {31, 22, "S"}, {32, 7, "D"},
    {33, 9, "F"}, {34, 10, "G"}, {35, 11, "H"}, {36, 13, "J"}, {37, 14, "K"}, {38, 15, "L"}, {39, 51, ";"},
    {40, 52, "'"}, {41, 53, "`"}, {42, 225, "Left Shift"}, {43, 49, "\\"}, {44, 29, "Z"}, {45, 27, "X"},
    {46, 6, "C"}, {47, 25, "V"}, {48, 5, "B"}, {49, 17, "N"}, {50, 16, "M"}, {51, 54, ","}, {52, 55, "."},
    {53, 56, "/"}, {54, 229, "Right Shift"}, {55, 85, "Keypad *"}, {56, 226, "Left Alt"}, {57, 44, "Space"},
    {58, 57, "Caps Lock"}, {59, 58, "F1"}, {60, 59, "F2"}, {61, 60, "F3"}, {62, 61, "F4"}, {63, 62, "F5"},
    {64, 63, "F6"}, {65, 64, "F7"}, {66, 65, "F8"}, {67, 66, "F9"}, {68, 67, "F10"}, {69, 83, "Num Lock"},
    {70, 71, "Scroll Lock"}, {71, 95, "Keypad 7"}, {72, 96, "Keypad 8"}, {73, 97, "Keypad 9"},
    {74, 86, "Keypad -"}, {75, 92, "Keypad 4"}, {76, 93, "Keypad 5"}, {77, 94, "Keypad 6"},
    {78, 87, "Keypad +"}, {79, 89, "Keypad 1"}, {80, 90, "Keypad 2"}, {81, 91, "Keypad 3"},
    {82, 98, "Keypad 0"}, {83, 99, "Keypad ."}, {86, 100, "ISO \\"}, {87, 68, "F11"}, {88, 69, "F12"},
    {96, 88, "Keypad Enter"}, {97, 228, "Right Ctrl"}, {98, 84, "Keypad /"}, {99, 70, "Print Screen"},
    {100, 230, "Right Alt"}, {102, 74, "Home"}, {103, 82, "Up"}, {104, 75, "Page Up"}, {105, 80, "Left"},
    {106, 79, "Right"}, {107, 77, "End"}, {108, 81, "Down"}, {109, 78, "Page Down"}, {110, 73, "Insert"},
    {111, 76, "Delete"}, {119, 72, "Pause"}, {125, 227, "Left Win"}, {126, 231, "Right Win"},
    {127, 101, "Menu"},
};
const std::vector<KeyboardKey> kMediaKeys = {
    {113, 0xE2, "Mute"}, {114, 0xEA, "Volume down"}, {115, 0xE9, "Volume up"}, {163, 0xB5, "Next track"},
    {164, 0xCD, "Play/pause"}, {165, 0xB6, "Previous track"}, {166, 0xB7, "Stop"}, {155, 0x18A, "Mail"},
    {171, 0x183, "Media select"}, {140, 0x192, "Calculator"}, {144, 0x194, "My computer"},
    {158, 0x224, "Browser back"}, {159, 0x225, "Browser forward"}, {173, 0x227, "Browser refresh"},
    {128, 0x226, "Browser stop"}, {217, 0x221, "Browser search"}, {156, 0x22A, "Browser favourites"},
    {172, 0x223, "Browser home"},
};

bool hasKeyName(const WindowsKey& key)
{
    const QString name = KeyNameOf(key.vk, key.extended ? 1 : 0);
    return !name.isEmpty() && !name.startsWith(QLatin1String("UNDEFINED")) && name != QLatin1String("Undefined");
}

TEST(LinuxKeyMap, EveryKeyOfAFullKeyboardAndTheMediaKeysPlaysBackAsItself)
{
    EXPECT_EQ(kKeyboard.size(), 105u);
    std::vector<KeyboardKey> all = kKeyboard;
    all.insert(all.end(), kMediaKeys.begin(), kMediaKeys.end());
    for (const KeyboardKey& k : all) {
        SCOPED_TRACE(k.what);
        const std::optional<WindowsKey> key = physical(k.evdev);
        ASSERT_TRUE(key.has_value());
        EXPECT_TRUE(hasKeyName(*key)) << KeyNameOf(key->vk, key->extended).toStdString();
        // The key code table has no usage for the ISO key beside left Shift.
        const int expected = k.evdev == 86 ? 0 : k.usage;
        EXPECT_EQ(HidUsageOf(key->vk, key->extended ? 1 : 0), expected);
    }
}

TEST(LinuxKeyMap, NoTwoKeysShareAVirtualKeyAndFlag)
{
    std::set<std::pair<int, bool>> seen;
    for (const KeyboardKey& k : kKeyboard) {
        const std::optional<WindowsKey> key = physical(k.evdev);
        ASSERT_TRUE(key.has_value()) << k.what;
        EXPECT_TRUE(seen.emplace(key->vk, key->extended).second) << k.what;
    }
}

struct NamedKeyCase {
    const char* what;
    int evdev;
    int qtKey;
    bool keypad;
    WindowsKey expected;
};

class LinuxKeyMapNamedKeys : public testing::TestWithParam<NamedKeyCase> {};

TEST_P(LinuxKeyMapNamedKeys, GiveWhatWindowsReports)
{
    const NamedKeyCase& c = GetParam();
    EXPECT_EQ(physical(c.evdev, c.qtKey, c.keypad), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LinuxKeyMapNamedKeys,
    testing::Values(
        NamedKeyCase{"Enter", 28, Qt::Key_Return, false, {0x0D, 0x1C, false}},
        NamedKeyCase{"Keypad Enter", 96, Qt::Key_Enter, true, {0x0D, 0x1C, true}},
        NamedKeyCase{"Tab", 15, Qt::Key_Tab, false, {0x09, 0x0F, false}},
        NamedKeyCase{"Shift+Tab", 15, Qt::Key_Backtab, false, {0x09, 0x0F, false}},
        NamedKeyCase{"Escape", 1, Qt::Key_Escape, false, {0x1B, 0x01, false}},
        NamedKeyCase{"Print Screen", 99, Qt::Key_Print, false, {0x2C, 0x37, true}},
        NamedKeyCase{"Pause", 119, Qt::Key_Pause, false, {0x13, 0x45, false}},
        NamedKeyCase{"Num Lock", 69, Qt::Key_NumLock, false, {0x90, 0x45, true}},
        NamedKeyCase{"Left Win", 125, Qt::Key_Meta, false, {0x5B, 0x5B, true}},
        NamedKeyCase{"Right Win", 126, Qt::Key_Meta, false, {0x5C, 0x5C, true}},
        NamedKeyCase{"Menu", 127, Qt::Key_Menu, false, {0x5D, 0x5D, true}},
        NamedKeyCase{"Left Ctrl", 29, Qt::Key_Control, false, {0xA2, 0x1D, false}},
        NamedKeyCase{"Right Ctrl", 97, Qt::Key_Control, false, {0xA3, 0x1D, true}},
        NamedKeyCase{"Left Alt", 56, Qt::Key_Alt, false, {0xA4, 0x38, false}},
        NamedKeyCase{"AltGr", 100, Qt::Key_AltGr, false, {0xA5, 0x38, true}},
        NamedKeyCase{"Left Shift", 42, Qt::Key_Shift, false, {0xA0, 0x2A, false}},
        NamedKeyCase{"Right Shift", 54, Qt::Key_Shift, false, {0xA1, 0x36, false}},
        NamedKeyCase{"Home", 102, Qt::Key_Home, false, {0x24, 0x47, true}},
        NamedKeyCase{"Delete", 111, Qt::Key_Delete, false, {0x2E, 0x53, true}},
        NamedKeyCase{"F5", 63, Qt::Key_F5, false, {0x74, 0x3F, false}},
        NamedKeyCase{"F24", 194, Qt::Key_F24, false, {0x87, 0x76, false}},
        NamedKeyCase{"Keypad 7, Num Lock on", 71, Qt::Key_7, true, {0x67, 0x47, false}},
        NamedKeyCase{"Keypad 7, Num Lock off", 71, Qt::Key_Home, true, {0x24, 0x47, false}},
        NamedKeyCase{"Keypad 5, Num Lock off", 76, Qt::Key_Clear, true, {0x0C, 0x4C, false}},
        NamedKeyCase{"Keypad 0, Num Lock off", 82, Qt::Key_Insert, true, {0x2D, 0x52, false}},
        NamedKeyCase{"Keypad ., Num Lock off", 83, Qt::Key_Delete, true, {0x2E, 0x53, false}},
        NamedKeyCase{"Keypad , (German)", 83, Qt::Key_Comma, true, {0x6E, 0x53, false}},
        NamedKeyCase{"Keypad /", 98, Qt::Key_Slash, true, {0x6F, 0x35, true}},
        NamedKeyCase{"Volume up", 115, Qt::Key_VolumeUp, false, {0xAF, 0x30, true}},
        NamedKeyCase{"Play/pause", 164, Qt::Key_MediaTogglePlayPause, false, {0xB3, 0x22, true}}));

TEST(LinuxKeyMap, KeypadWithNumLockOffPlaysBackTheKeypadKey)
{
    // Num Lock off turns the keypad digits into navigation keys that are not
    // extended: the mouse must still send the keypad's usage.
    const std::pair<int, int> keys[] = {
        {71, Qt::Key_Home}, {72, Qt::Key_Up}, {73, Qt::Key_PageUp}, {75, Qt::Key_Left}, {77, Qt::Key_Right},
        {79, Qt::Key_End},  {80, Qt::Key_Down}, {81, Qt::Key_PageDown}, {82, Qt::Key_Insert}, {83, Qt::Key_Delete},
    };
    for (const auto& [evdev, qtKey] : keys) {
        const std::optional<WindowsKey> off = physical(evdev, qtKey, true);
        const std::optional<WindowsKey> on = physical(evdev);
        ASSERT_TRUE(off && on);
        EXPECT_FALSE(off->extended);
        EXPECT_EQ(HidUsageOf(off->vk, 0), HidUsageOf(on->vk, 0)) << evdev;
    }
}

struct LayoutCase {
    const char* what;
    int evdev;
    int qtKey;
    int expectedVk;
};

class LinuxKeyMapLayouts : public testing::TestWithParam<LayoutCase> {};

TEST_P(LinuxKeyMapLayouts, LettersAndDigitsFollowTheLayout)
{
    const LayoutCase& c = GetParam();
    const std::optional<WindowsKey> key = physical(c.evdev, c.qtKey);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->vk, c.expectedVk);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LinuxKeyMapLayouts,
    testing::Values(LayoutCase{"US A", 30, Qt::Key_A, 'A'},
                    LayoutCase{"French: key Q types a", 16, Qt::Key_A, 'A'},
                    LayoutCase{"French: key A types q", 30, Qt::Key_Q, 'Q'},
                    LayoutCase{"French: key ; types m", 39, Qt::Key_M, 'M'},
                    LayoutCase{"French: key 1 types &", 2, Qt::Key_Ampersand, '1'},
                    LayoutCase{"French: Shift+key 1 types 1", 2, Qt::Key_1, '1'},
                    LayoutCase{"German: key Y types z", 21, Qt::Key_Z, 'Z'},
                    LayoutCase{"German: key - types sharp s", 12, Qt::Key_ssharp, 0xBD},
                    LayoutCase{"Dvorak: key S types o", 31, Qt::Key_O, 'O'},
                    LayoutCase{"Russian: key Q types a Cyrillic letter", 16, 0x0419, 'Q'},
                    LayoutCase{"Keypad 1 stays on the keypad", 79, Qt::Key_1, 0x61},
                    LayoutCase{"Enter stays Enter whatever it types", 28, Qt::Key_A, 0x0D}));

// A keymap that names a key another special key than a US keyboard has there
// wins; printing keys, modifiers, the keypad and a modifier's alternate name
// of the same key keep their place.
INSTANTIATE_TEST_SUITE_P(
    Remapped, LinuxKeyMapNamedKeys,
    testing::Values(
        NamedKeyCase{"F5 on the Escape keycode (a virtual keyboard's keymap)", 1, Qt::Key_F5, false,
                     {0x74, 0x3F, false}},
        NamedKeyCase{"F6 on the 1 keycode", 2, Qt::Key_F6, false, {0x75, 0x40, false}},
        NamedKeyCase{"Space on the Escape keycode", 1, Qt::Key_Space, false, {0x20, 0x39, false}},
        NamedKeyCase{"Caps Lock made Escape", 58, Qt::Key_Escape, false, {0x1B, 0x01, false}},
        NamedKeyCase{"Caps Lock made Ctrl stays Caps Lock", 58, Qt::Key_Control, false, {0x14, 0x3A, false}},
        NamedKeyCase{"Right Alt naming Alt stays right", 100, Qt::Key_Alt, false, {0xA5, 0x38, true}},
        NamedKeyCase{"Alt+Print (SysReq) stays Print Screen", 99, Qt::Key_SysReq, false, {0x2C, 0x37, true}},
        NamedKeyCase{"Keypad 7 with Num Lock off stays on the keypad", 71, Qt::Key_Home, true,
                     {0x24, 0x47, false}},
        NamedKeyCase{"Enter typing a stays Enter", 28, Qt::Key_A, false, {0x0D, 0x1C, false}},
        NamedKeyCase{"An unknown name keeps the key", 1, Qt::Key_unknown, false, {0x1B, 0x01, false}}));

TEST(LinuxKeyMap, WithoutAKeycodeTheQtKeyNamesTheKey)
{
    const struct {
        int qtKey;
        bool keypad;
        std::optional<WindowsKey> expected;
    } cases[] = {
        {Qt::Key_A, false, WindowsKey{'A', 0x1E, false}},
        {Qt::Key_5, false, WindowsKey{'5', 0x06, false}},
        {Qt::Key_5, true, WindowsKey{0x65, 0x4C, false}},
        {Qt::Key_Return, false, WindowsKey{0x0D, 0x1C, false}},
        {Qt::Key_Enter, true, WindowsKey{0x0D, 0x1C, true}},
        {Qt::Key_Minus, false, WindowsKey{0xBD, 0x0C, false}},
        {Qt::Key_Minus, true, WindowsKey{0x6D, 0x4A, false}},
        {Qt::Key_Control, false, WindowsKey{0xA2, 0x1D, false}},
        {Qt::Key_Super_R, false, WindowsKey{0x5C, 0x5C, true}},
        {Qt::Key_Home, true, WindowsKey{0x24, 0x47, false}},
        {Qt::Key_Home, false, WindowsKey{0x24, 0x47, true}},
        {Qt::Key_unknown, false, std::nullopt},
        {0, false, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(windowsKeyOf(LinuxKey{0, c.qtKey, c.keypad}), c.expected) << std::hex << c.qtKey;
}

TEST(LinuxKeyMap, KeysWindowsHasNoCodeForAreNotMapped)
{
    EXPECT_FALSE(physical(240).has_value());    // KEY_UNKNOWN
    EXPECT_FALSE(physical(116).has_value());    // power: must not become a recordable key
}

// --- The translator: records, releases, auto-repeat, time.

LinuxKeyEvent keyEvent(int evdev, int qtKey, bool released, std::uint32_t time, bool autoRepeat = false)
{
    return LinuxKeyEvent{LinuxKey{std::uint32_t(evdev) + kXkbOffset, qtKey, false}, released, autoRepeat, time};
}

TEST(KeyEventTranslator, BuildsTheLowLevelRecord)
{
    KeyEventTranslator translator;
    const auto press = translator.translate(keyEvent(102, Qt::Key_Home, false, 1234));
    ASSERT_TRUE(press.has_value());
    EXPECT_EQ(press->vkCode, 0x24u);
    EXPECT_EQ(press->scanCode, 0x47u);
    EXPECT_EQ(press->flags, kKeyFlagExtended);
    EXPECT_EQ(press->time, 1234u);
    EXPECT_EQ(press->dwExtraInfo, 0u);

    const auto release = translator.translate(keyEvent(102, Qt::Key_Home, true, 1300));
    ASSERT_TRUE(release.has_value());
    EXPECT_EQ(release->flags, kKeyFlagExtended | kKeyFlagReleased);
    EXPECT_EQ(release->time, 1300u);
}

TEST(KeyEventTranslator, AutoRepeatIsPressesWithoutReleases)
{
    KeyEventTranslator translator;
    ASSERT_TRUE(translator.translate(keyEvent(30, Qt::Key_A, false, 100)));
    EXPECT_FALSE(translator.translate(keyEvent(30, Qt::Key_A, true, 600, true)));
    const auto repeat = translator.translate(keyEvent(30, Qt::Key_A, false, 600, true));
    ASSERT_TRUE(repeat.has_value());
    EXPECT_EQ(repeat->vkCode, std::uint32_t('A'));
    EXPECT_EQ(repeat->flags, 0u);
    const auto release = translator.translate(keyEvent(30, Qt::Key_A, true, 700));
    ASSERT_TRUE(release.has_value());
    EXPECT_EQ(release->flags, kKeyFlagReleased);
}

TEST(KeyEventTranslator, AKeyIsReleasedAsTheKeyItWentDownAs)
{
    // French layout: the key at Q types "a"; with AltGr pressed meanwhile it
    // types "æ" on release. Press and release must still both be VK_A.
    KeyEventTranslator translator;
    EXPECT_EQ(translator.translate(keyEvent(16, Qt::Key_A, false, 10))->vkCode, std::uint32_t('A'));
    EXPECT_EQ(translator.translate(keyEvent(16, Qt::Key_AE, true, 20))->vkCode, std::uint32_t('A'));
    // Released: the next press looks again.
    EXPECT_EQ(translator.translate(keyEvent(16, Qt::Key_AE, false, 30))->vkCode, std::uint32_t('Q'));
}

TEST(KeyEventTranslator, EventsWithoutTimeReadTheClock)
{
    std::uint32_t now = 5000;
    KeyEventTranslator translator([&now] { return now; });
    EXPECT_EQ(translator.translate(keyEvent(30, Qt::Key_A, false, 0))->time, 5000u);
    now = 5040;
    EXPECT_EQ(translator.translate(keyEvent(30, Qt::Key_A, true, 0))->time, 5040u);
    EXPECT_EQ(translator.translate(keyEvent(30, Qt::Key_A, false, 77))->time, 77u);
}

TEST(KeyEventTranslator, UnknownKeysGiveNoRecord)
{
    KeyEventTranslator translator;
    EXPECT_FALSE(translator.translate(keyEvent(240, 0, false, 1)));
    EXPECT_FALSE(translator.translate(keyEvent(240, 0, true, 2)));
}

} // namespace
} // namespace k4812
