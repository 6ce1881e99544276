#include "macros/LinuxKeyMap.h"

#include <Qt>

#include <chrono>

namespace k4812 {

namespace {

using R = KeyRole;
constexpr bool ext = true;
constexpr bool plain = false;

// Windows virtual keys used below.
enum : std::uint8_t {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24,
    VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D,
    VK_DELETE = 0x2E, VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F13 = 0x7C,
    VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2,
    VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5, VK_BROWSER_BACK = 0xA6, VK_BROWSER_FORWARD = 0xA7,
    VK_BROWSER_REFRESH = 0xA8, VK_BROWSER_STOP = 0xA9, VK_BROWSER_SEARCH = 0xAA, VK_BROWSER_FAVORITES = 0xAB,
    VK_BROWSER_HOME = 0xAC, VK_VOLUME_MUTE = 0xAD, VK_VOLUME_DOWN = 0xAE, VK_VOLUME_UP = 0xAF,
    VK_MEDIA_NEXT_TRACK = 0xB0, VK_MEDIA_PREV_TRACK = 0xB1, VK_MEDIA_STOP = 0xB2, VK_MEDIA_PLAY_PAUSE = 0xB3,
    VK_LAUNCH_MAIL = 0xB4, VK_LAUNCH_MEDIA_SELECT = 0xB5, VK_LAUNCH_APP1 = 0xB6, VK_LAUNCH_APP2 = 0xB7,
    VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE,
    VK_OEM_102 = 0xE2,
};

constexpr PhysicalKey typing(std::uint16_t evdev, char vk, std::uint8_t scan)
{
    return {evdev, std::uint8_t(vk), scan, plain, R::Typing, vk};
}

constexpr PhysicalKey keypad(std::uint16_t evdev, std::uint8_t vk, std::uint8_t scan, int qtKey, std::uint8_t navVk,
                             int navQtKey)
{
    return {evdev, vk, scan, plain, R::Keypad, qtKey, navVk, navQtKey};
}

constexpr PhysicalKey fixed(std::uint16_t evdev, std::uint8_t vk, std::uint8_t scan, bool extended, int qtKey)
{
    return {evdev, vk, scan, extended, R::Fixed, qtKey};
}

// Left keys before right ones: a lookup by Qt key alone takes the first row.
// Set-1 scan codes equal the evdev codes of the main block; the extended keys
// are the ones whose scan code comes after an 0xE0 prefix.
constexpr PhysicalKey kKeys[] = {
    fixed(1, VK_ESCAPE, 0x01, plain, Qt::Key_Escape),
    typing(2, '1', 0x02), typing(3, '2', 0x03), typing(4, '3', 0x04), typing(5, '4', 0x05),
    typing(6, '5', 0x06), typing(7, '6', 0x07), typing(8, '7', 0x08), typing(9, '8', 0x09),
    typing(10, '9', 0x0A), typing(11, '0', 0x0B),
    {12, VK_OEM_MINUS, 0x0C, plain, R::Typing, Qt::Key_Minus},
    {13, VK_OEM_PLUS, 0x0D, plain, R::Typing, Qt::Key_Equal},
    fixed(14, VK_BACK, 0x0E, plain, Qt::Key_Backspace),
    fixed(15, VK_TAB, 0x0F, plain, Qt::Key_Tab),
    typing(16, 'Q', 0x10), typing(17, 'W', 0x11), typing(18, 'E', 0x12), typing(19, 'R', 0x13),
    typing(20, 'T', 0x14), typing(21, 'Y', 0x15), typing(22, 'U', 0x16), typing(23, 'I', 0x17),
    typing(24, 'O', 0x18), typing(25, 'P', 0x19),
    {26, VK_OEM_4, 0x1A, plain, R::Typing, Qt::Key_BracketLeft},
    {27, VK_OEM_6, 0x1B, plain, R::Typing, Qt::Key_BracketRight},
    fixed(28, VK_RETURN, 0x1C, plain, Qt::Key_Return),
    fixed(29, VK_LCONTROL, 0x1D, plain, Qt::Key_Control),
    typing(30, 'A', 0x1E), typing(31, 'S', 0x1F), typing(32, 'D', 0x20), typing(33, 'F', 0x21),
    typing(34, 'G', 0x22), typing(35, 'H', 0x23), typing(36, 'J', 0x24), typing(37, 'K', 0x25),
    typing(38, 'L', 0x26),
    {39, VK_OEM_1, 0x27, plain, R::Typing, Qt::Key_Semicolon},
    {40, VK_OEM_7, 0x28, plain, R::Typing, Qt::Key_Apostrophe},
    {41, VK_OEM_3, 0x29, plain, R::Typing, Qt::Key_QuoteLeft},
    fixed(42, VK_LSHIFT, 0x2A, plain, Qt::Key_Shift),
    {43, VK_OEM_5, 0x2B, plain, R::Typing, Qt::Key_Backslash},
    typing(44, 'Z', 0x2C), typing(45, 'X', 0x2D), typing(46, 'C', 0x2E), typing(47, 'V', 0x2F),
    typing(48, 'B', 0x30), typing(49, 'N', 0x31), typing(50, 'M', 0x32),
    {51, VK_OEM_COMMA, 0x33, plain, R::Typing, Qt::Key_Comma},
    {52, VK_OEM_PERIOD, 0x34, plain, R::Typing, Qt::Key_Period},
    {53, VK_OEM_2, 0x35, plain, R::Typing, Qt::Key_Slash},
    // Right Shift sends no 0xE0 prefix, so Windows reports it without the flag.
    fixed(54, VK_RSHIFT, 0x36, plain, Qt::Key_Shift),
    {55, VK_MULTIPLY, 0x37, plain, R::Keypad, Qt::Key_Asterisk},
    fixed(56, VK_LMENU, 0x38, plain, Qt::Key_Alt),
    fixed(57, VK_SPACE, 0x39, plain, Qt::Key_Space),
    fixed(58, VK_CAPITAL, 0x3A, plain, Qt::Key_CapsLock),
    fixed(59, VK_F1, 0x3B, plain, Qt::Key_F1), fixed(60, VK_F1 + 1, 0x3C, plain, Qt::Key_F2),
    fixed(61, VK_F1 + 2, 0x3D, plain, Qt::Key_F3), fixed(62, VK_F1 + 3, 0x3E, plain, Qt::Key_F4),
    fixed(63, VK_F1 + 4, 0x3F, plain, Qt::Key_F5), fixed(64, VK_F1 + 5, 0x40, plain, Qt::Key_F6),
    fixed(65, VK_F1 + 6, 0x41, plain, Qt::Key_F7), fixed(66, VK_F1 + 7, 0x42, plain, Qt::Key_F8),
    fixed(67, VK_F1 + 8, 0x43, plain, Qt::Key_F9), fixed(68, VK_F1 + 9, 0x44, plain, Qt::Key_F10),
    fixed(69, VK_NUMLOCK, 0x45, ext, Qt::Key_NumLock),
    fixed(70, VK_SCROLL, 0x46, plain, Qt::Key_ScrollLock),
    keypad(71, VK_NUMPAD0 + 7, 0x47, Qt::Key_7, VK_HOME, Qt::Key_Home),
    keypad(72, VK_NUMPAD0 + 8, 0x48, Qt::Key_8, VK_UP, Qt::Key_Up),
    keypad(73, VK_NUMPAD0 + 9, 0x49, Qt::Key_9, VK_PRIOR, Qt::Key_PageUp),
    {74, VK_SUBTRACT, 0x4A, plain, R::Keypad, Qt::Key_Minus},
    keypad(75, VK_NUMPAD0 + 4, 0x4B, Qt::Key_4, VK_LEFT, Qt::Key_Left),
    keypad(76, VK_NUMPAD0 + 5, 0x4C, Qt::Key_5, VK_CLEAR, Qt::Key_Clear),
    keypad(77, VK_NUMPAD0 + 6, 0x4D, Qt::Key_6, VK_RIGHT, Qt::Key_Right),
    {78, VK_ADD, 0x4E, plain, R::Keypad, Qt::Key_Plus},
    keypad(79, VK_NUMPAD0 + 1, 0x4F, Qt::Key_1, VK_END, Qt::Key_End),
    keypad(80, VK_NUMPAD0 + 2, 0x50, Qt::Key_2, VK_DOWN, Qt::Key_Down),
    keypad(81, VK_NUMPAD0 + 3, 0x51, Qt::Key_3, VK_NEXT, Qt::Key_PageDown),
    keypad(82, VK_NUMPAD0, 0x52, Qt::Key_0, VK_INSERT, Qt::Key_Insert),
    keypad(83, VK_DECIMAL, 0x53, Qt::Key_Period, VK_DELETE, Qt::Key_Delete),
    {86, VK_OEM_102, 0x56, plain, R::Typing, Qt::Key_Less},
    fixed(87, VK_F1 + 10, 0x57, plain, Qt::Key_F11), fixed(88, VK_F1 + 11, 0x58, plain, Qt::Key_F12),
    {96, VK_RETURN, 0x1C, ext, R::Keypad, Qt::Key_Enter},
    fixed(97, VK_RCONTROL, 0x1D, ext, Qt::Key_Control),
    {98, VK_DIVIDE, 0x35, ext, R::Keypad, Qt::Key_Slash},
    fixed(99, VK_SNAPSHOT, 0x37, ext, Qt::Key_Print),
    fixed(100, VK_RMENU, 0x38, ext, Qt::Key_AltGr),
    fixed(102, VK_HOME, 0x47, ext, Qt::Key_Home), fixed(103, VK_UP, 0x48, ext, Qt::Key_Up),
    fixed(104, VK_PRIOR, 0x49, ext, Qt::Key_PageUp), fixed(105, VK_LEFT, 0x4B, ext, Qt::Key_Left),
    fixed(106, VK_RIGHT, 0x4D, ext, Qt::Key_Right), fixed(107, VK_END, 0x4F, ext, Qt::Key_End),
    fixed(108, VK_DOWN, 0x50, ext, Qt::Key_Down), fixed(109, VK_NEXT, 0x51, ext, Qt::Key_PageDown),
    fixed(110, VK_INSERT, 0x52, ext, Qt::Key_Insert), fixed(111, VK_DELETE, 0x53, ext, Qt::Key_Delete),
    fixed(113, VK_VOLUME_MUTE, 0x20, ext, Qt::Key_VolumeMute),
    fixed(114, VK_VOLUME_DOWN, 0x2E, ext, Qt::Key_VolumeDown),
    fixed(115, VK_VOLUME_UP, 0x30, ext, Qt::Key_VolumeUp),
    // Pause shares Num Lock's scan code; Windows tells them apart by the flag.
    fixed(119, VK_PAUSE, 0x45, plain, Qt::Key_Pause),
    fixed(125, VK_LWIN, 0x5B, ext, Qt::Key_Meta),
    fixed(126, VK_RWIN, 0x5C, ext, Qt::Key_Meta),
    fixed(127, VK_APPS, 0x5D, ext, Qt::Key_Menu),
    fixed(128, VK_BROWSER_STOP, 0x68, ext, Qt::Key_Stop),
    fixed(140, VK_LAUNCH_APP2, 0x21, ext, Qt::Key_Calculator),
    fixed(144, VK_LAUNCH_APP1, 0x6B, ext, Qt::Key_Explorer),
    fixed(155, VK_LAUNCH_MAIL, 0x6C, ext, Qt::Key_LaunchMail),
    fixed(156, VK_BROWSER_FAVORITES, 0x66, ext, Qt::Key_Favorites),
    fixed(157, VK_LAUNCH_APP1, 0x6B, ext, Qt::Key_Launch0),
    fixed(158, VK_BROWSER_BACK, 0x6A, ext, Qt::Key_Back),
    fixed(159, VK_BROWSER_FORWARD, 0x69, ext, Qt::Key_Forward),
    fixed(163, VK_MEDIA_NEXT_TRACK, 0x19, ext, Qt::Key_MediaNext),
    fixed(164, VK_MEDIA_PLAY_PAUSE, 0x22, ext, Qt::Key_MediaTogglePlayPause),
    fixed(165, VK_MEDIA_PREV_TRACK, 0x10, ext, Qt::Key_MediaPrevious),
    fixed(166, VK_MEDIA_STOP, 0x24, ext, Qt::Key_MediaStop),
    fixed(171, VK_LAUNCH_MEDIA_SELECT, 0x6D, ext, Qt::Key_LaunchMedia),
    fixed(172, VK_BROWSER_HOME, 0x32, ext, Qt::Key_HomePage),
    fixed(173, VK_BROWSER_REFRESH, 0x67, ext, Qt::Key_Refresh),
    fixed(183, VK_F13, 0x64, plain, Qt::Key_F13), fixed(184, VK_F13 + 1, 0x65, plain, Qt::Key_F14),
    fixed(185, VK_F13 + 2, 0x66, plain, Qt::Key_F15), fixed(186, VK_F13 + 3, 0x67, plain, Qt::Key_F16),
    fixed(187, VK_F13 + 4, 0x68, plain, Qt::Key_F17), fixed(188, VK_F13 + 5, 0x69, plain, Qt::Key_F18),
    fixed(189, VK_F13 + 6, 0x6A, plain, Qt::Key_F19), fixed(190, VK_F13 + 7, 0x6B, plain, Qt::Key_F20),
    fixed(191, VK_F13 + 8, 0x6C, plain, Qt::Key_F21), fixed(192, VK_F13 + 9, 0x6D, plain, Qt::Key_F22),
    fixed(193, VK_F13 + 10, 0x6E, plain, Qt::Key_F23), fixed(194, VK_F13 + 11, 0x76, plain, Qt::Key_F24),
    fixed(200, VK_MEDIA_PLAY_PAUSE, 0x22, ext, Qt::Key_MediaPlay),
    fixed(201, VK_MEDIA_PLAY_PAUSE, 0x22, ext, Qt::Key_MediaPause),
    fixed(217, VK_BROWSER_SEARCH, 0x65, ext, Qt::Key_Search),
    fixed(226, VK_LAUNCH_MEDIA_SELECT, 0x6D, ext, Qt::Key_LaunchMedia),
};

// Qt keys that name a key of the table by another name (lookup by Qt key only).
constexpr std::pair<int, std::uint16_t> kQtKeyAliases[] = {
    {Qt::Key_Backtab, 15},  {Qt::Key_SysReq, 99},   {Qt::Key_Super_L, 125},   {Qt::Key_Super_R, 126},
    {Qt::Key_Launch1, 140}, {Qt::Key_Enter, 28},    {Qt::Key_Comma, 83},
};

constexpr std::uint32_t kXkbKeycodeOffset = 8;

const PhysicalKey* keyOfEvdev(std::uint32_t evdev)
{
    for (const PhysicalKey& key : kKeys) {
        if (key.evdev == evdev)
            return &key;
    }
    return nullptr;
}

bool isLetter(int qtKey)
{
    return qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z;
}

bool isDigit(int qtKey)
{
    return qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9;
}

// The key found by its Qt key alone: the keypad flag must agree, so that the
// keypad's digits and operators are not taken for the main block's.
const PhysicalKey* keyOfQtKey(int qtKey, bool onKeypad)
{
    for (const PhysicalKey& key : kKeys) {
        const bool keypadRow = key.role == R::Keypad;
        if (keypadRow == onKeypad && (key.qtKey == qtKey || (keypadRow && key.navQtKey == qtKey)))
            return &key;
    }
    for (const auto& [alias, evdev] : kQtKeyAliases) {
        const PhysicalKey* key = keyOfEvdev(evdev);
        if (alias == qtKey && (key->role == R::Keypad) == onKeypad)
            return key;
    }
    return nullptr;
}

WindowsKey windowsKeyOfRow(const PhysicalKey& key, int qtKey)
{
    WindowsKey result{key.vk, key.scanCode, key.extended};
    switch (key.role) {
    case R::Fixed:
        break;
    case R::Typing:
        // The layout's letter or digit names the key, as Windows layouts do.
        if (isLetter(qtKey) || isDigit(qtKey))
            result.vk = std::uint8_t(qtKey);
        break;
    case R::Keypad:
        if (key.navVk != 0 && qtKey == key.navQtKey)
            result.vk = key.navVk;
        break;
    }
    return result;
}

std::uint32_t steadyMilliseconds()
{
    using namespace std::chrono;
    return std::uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

std::span<const PhysicalKey> physicalKeys()
{
    return kKeys;
}

namespace {

bool isModifier(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

// The key the keymap names when it gives a key outside the keypad another
// function key, navigation or editing key (or Space) than a US keyboard has
// there (Caps Lock made Escape, a virtual keyboard that puts F5 on the Escape
// keycode): that named key is what the user pressed. Other printing keys keep
// their place (the layout rules above), and modifiers too, as their name
// tells no side.
const PhysicalKey* keyNamedInstead(const PhysicalKey& row, const LinuxKey& key)
{
    constexpr int kFirstSpecialKey = 0x01000000;
    const bool named = key.qtKey >= kFirstSpecialKey || key.qtKey == Qt::Key_Space;
    if (!named || key.keypad || row.role == R::Keypad || key.qtKey == row.qtKey || key.qtKey == Qt::Key_unknown
        || isModifier(key.qtKey))
        return nullptr;
    return keyOfQtKey(key.qtKey, false);
}

} // namespace

std::optional<WindowsKey> windowsKeyOf(const LinuxKey& key)
{
    if (key.nativeScanCode >= kXkbKeycodeOffset) {
        const PhysicalKey* row = keyOfEvdev(key.nativeScanCode - kXkbKeycodeOffset);
        if (row == nullptr)
            return std::nullopt;
        if (const PhysicalKey* named = keyNamedInstead(*row, key))
            row = named;
        return windowsKeyOfRow(*row, key.qtKey);
    }
    // No keycode: letters and digits by their Qt key, the rest by the table.
    if (!key.keypad && (isLetter(key.qtKey) || isDigit(key.qtKey))) {
        for (const PhysicalKey& row : kKeys) {
            if (row.role == R::Typing && row.qtKey == key.qtKey)
                return WindowsKey{std::uint8_t(key.qtKey), row.scanCode, false};
        }
    }
    if (const PhysicalKey* row = keyOfQtKey(key.qtKey, key.keypad))
        return windowsKeyOfRow(*row, key.qtKey);
    return std::nullopt;
}

KeyEventTranslator::KeyEventTranslator(Clock clock) : m_clock(std::move(clock))
{
    if (!m_clock)
        m_clock = steadyMilliseconds;
}

std::uint64_t keyIdentity(const LinuxKey& key)
{
    return key.nativeScanCode != 0
        ? key.nativeScanCode
        : (std::uint64_t(1) << 40) | (std::uint64_t(key.keypad) << 32) | std::uint32_t(key.qtKey);
}

std::optional<TKBDLLHOOKSTRUCT> KeyEventTranslator::translate(const LinuxKeyEvent& event)
{
    if (event.released && event.autoRepeat)
        return std::nullopt;   // Windows repeats a held key with presses only

    const std::uint64_t identity = keyIdentity(event.key);

    std::optional<WindowsKey> key;
    if (const auto held = m_held.find(identity); held != m_held.end()) {
        key = held->second;
        if (event.released)
            m_held.erase(held);
    } else {
        key = windowsKeyOf(event.key);
        if (key && !event.released)
            m_held.emplace(identity, *key);
    }
    if (!key)
        return std::nullopt;

    TKBDLLHOOKSTRUCT record{};
    record.vkCode = key->vk;
    record.scanCode = key->scanCode;
    record.flags = (key->extended ? kKeyFlagExtended : 0) | (event.released ? kKeyFlagReleased : 0);
    record.time = event.time != 0 ? event.time : m_clock();
    return record;
}

} // namespace k4812
