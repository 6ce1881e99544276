#include "wire/KeyCodeTable.h"

#include <utility>

namespace k4812 {

namespace {

constexpr int N = kNotExtendedEntry;
constexpr int E = kExtendedEntry;
constexpr int none = kNoHidUsage;

struct KeyRow {
    int vk;
    const char* name;
    int extended;
    int hid;
    const char* description;
    int scanCode = 0;
};

// Rows of the normal table that follow no rule, in virtual-key order.
constexpr KeyRow kNormalRows[] = {
    {0, "VK_NULL", N, none, ""},
    {1, "VK_LBUTTON", N, none, "Mouse Left Click"},
    {2, "VK_RBUTTON", N, none, "Mouse Right Click"},
    {3, "VK_CANCEL", N, none, "Control Break"},
    {4, "VK_MBUTTON", N, none, "Mouse Middle Click"},
    {8, "VK_BACK", N, 42, "BACKSPACE"},
    {9, "VK_TAB", N, 43, "TAB"},
    {12, "VK_CLEAR", N, 156, "CLEAR"},
    {13, "VK_RETURN", N, 40, "ENTER"},
    {16, "VK_SHIFT", N, none, "SHIFT"},
    {17, "VK_CONTROL", N, none, "CTRL"},
    {18, "VK_MENU", N, none, "ALT"},
    {19, "VK_PAUSE", N, 72, "PAUSE"},
    {20, "VK_CAPITAL", N, 57, "CAPS LOCK"},
    {27, "VK_ESCAPE", N, 41, "ESC"},
    {32, "VK_SPACE", N, 44, "SPACEBAR"},
    {33, "VK_PRIOR", N, 97, "PAGE UP"},
    {34, "VK_NEXT", N, 91, "PAGE DOWN"},
    {35, "VK_END", N, 89, "END"},
    {36, "VK_HOME", N, 95, "HOME"},
    {37, "VK_LEFT", N, 92, "LEFT ARROW"},
    {38, "VK_UP", N, 96, "UP ARROW"},
    {39, "VK_RIGHT", N, 94, "RIGHT ARROW"},
    {40, "VK_DOWN", N, 90, "DOWN ARROW"},
    {41, "VK_SELECT", N, none, "SELECT"},
    {42, "VK_PRINT", N, none, "PRINT"},
    {43, "VK_EXECUTE", N, none, "EXECUTE"},
    {44, "VK_SNAPSHOT", E, 70, "PRINT SCREEN"},
    {45, "VK_NUMPAD0_INSERT", N, 98, "Keypad 0 Insert"},
    {46, "VK_DELETE", N, 99, "Keypad DEL"},
    {47, "VK_HELP", N, none, "HELP"},
    {91, "VK_LWIN", E, 227, "L WIN"},
    {92, "VK_RWIN", E, 231, "R WIN"},
    {93, "VK_APP", E, 101, "APP"},
    {106, "VK_MULTIPLY", N, 85, "Multiply"},
    {107, "VK_ADD", N, 87, "+"},
    {108, "VK_SEPARATOR", N, 151, "Separator"},
    {109, "VK_SUBTRACT", N, 86, "-"},
    {110, "VK_DECIMAL", N, 99, "Decimal"},
    {111, "VK_DIVIDE", E, 84, "Divide"},
    {144, "VK_NUMLOCK", E, 83, "NUM LOCK"},
    {145, "VK_SCROLL", N, 71, "Scroll Lock"},
    {160, "VK_LSHIFT", N, 225, "L SHIFT"},
    {161, "VK_RSHIFT", E, 229, "R SHIFT"},
    {162, "VK_LCONTROL", N, 224, "L CTRL"},
    {163, "VK_RCONTROL", E, 228, "R CTRL"},
    {164, "VK_LMENU", N, 226, "L ALT"},
    {165, "VK_RMENU", E, 230, "R ALT"},
    {166, "VK_BROWSER_BACK", E, 0x224, "BROWSER_BACK"},
    {167, "VK_BROWSER_FORWARD", E, 0x225, "BROWSER_FORWARD"},
    {168, "VK_BROWSER_REFRESH", E, 0x227, "BROWSER_REFRESH"},
    {169, "VK_BROWSER_STOP", E, 0x226, "BROWSER_STOP"},
    {170, "VK_BROWSER_SEARCH", E, 0x221, "BROWSER_SEARCH"},
    {171, "VK_BROWSER_FAVORITES", E, 0x22A, "BROWSER_FAVORITES"},
    {172, "VK_BROWSER_HOME", E, 0x223, "BROWSER_HOME"},
    {173, "VK_VOLUME_MUTE", E, 226, "VOLUME_MUTE"},
    {174, "VK_VOLUME_DOWN", E, 234, "VOLUME_DOWN"},
    {175, "VK_VOLUME_UP", E, 233, "VOLUME_UP"},
    {176, "VK_MEDIA_NEXT_TRACK", E, 181, "MEDIA_NEXT_TRACK"},
    {177, "VK_MEDIA_PREV_TRACK", E, 182, "MEDIA_PREV_TRACK"},
    {178, "VK_MEDIA_STOP", E, 183, "MEDIA_STOP"},
    {179, "VK_MEDIA_PLAY_PAUSE", E, 205, "MEDIA_PLAY_PAUSE"},
    {180, "VK_LAUNCH_MAIL", E, 0x18A, "LAUNCH_MAIL"},
    {181, "VK_LAUNCH_MEDIA_SELECT", E, 0x183, "LAUNCH_MEDIA_SELECT"},
    {182, "VK_LAUNCH_APP1", E, 0x194, "LAUNCH_APP1"},
    {183, "VK_LAUNCH_APP2", E, 0x192, "LAUNCH_APP2"},
    {186, "VK_OEM_1", N, 51, ";:"},
    {187, "VK_OEM_PLUS", N, 46, "+="},
    {188, "VK_OEM_COMMA", N, 54, ",<"},
    {189, "VK_OEM_MINUS", N, 45, "-_"},
    {190, "VK_OEM_PERIOD", N, 55, ".>"},
    {191, "VK_OEM_2", N, 56, "/?"},
    {192, "VK_OEM_3", N, 53, "~`"},
    {219, "VK_OEM_4", N, 47, "[{"},
    {220, "VK_OEM_5", N, 49, "\\|"},
    {221, "VK_OEM_6", N, 48, "]}"},
    {222, "VK_OEM_7", N, 52, "'\""},
    {223, "VK_OEM_8", N, none, "None"},
    {225, "VK_OEM_AX", N, none, "AX"},
    {226, "VK_OEM_102", N, none, "\\|"},
};

// Virtual keys the normal table names "VK_UNDEFINED_xx" / "Undefined"
// (first and last of each run).
constexpr std::pair<int, int> kUndefinedRuns[] = {
    {5, 7}, {10, 11}, {14, 15}, {21, 26}, {28, 31}, {58, 64},
    {94, 95}, {136, 143}, {146, 159}, {224, 224},
};

// The extended table's own rows. Virtual key 255 (VK_POWER, scan code 94) is
// the system power key: it keeps its name but gets no usage, so that no mouse
// button or macro can switch the computer off.
constexpr KeyRow kExtendedRows[] = {
    {13, "VK_RETURN", E, 88, "ENTER"},
    {33, "VK_PRIOR", E, 75, "PAGE UP"},
    {34, "VK_NEXT", E, 78, "PAGE DOWN"},
    {35, "VK_END", E, 77, "END"},
    {36, "VK_HOME", E, 74, "HOME"},
    {37, "VK_LEFT", E, 80, "LEFT ARROW"},
    {38, "VK_UP", E, 82, "UP ARROW"},
    {39, "VK_RIGHT", E, 79, "RIGHT ARROW"},
    {40, "VK_DOWN", E, 81, "DOWN ARROW"},
    {45, "VK_INSERT", E, 73, "INS"},
    {46, "VK_DELETE", E, 76, "DEL"},
    {255, "VK_POWER", E, none, "POWER", 94},
};

QString hex(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

KeyTable defaultTable(int extended)
{
    KeyTable table;
    for (int vk = 0; vk < kKeyTableSize; ++vk) {
        table[vk] = TKeyboardInfoTable{QStringLiteral("VK_UNDEFINED_") + hex(vk, 3), vk, 0, extended, kNoHidUsage,
                                       QStringLiteral("UNDEFINED_") + hex(vk, 3)};
    }
    return table;
}

void put(KeyTable& table, int vk, const QString& name, int extended, int hid, const QString& description,
         int scanCode = 0)
{
    table[vk] = TKeyboardInfoTable{name, vk, scanCode, extended, hid, description};
}

void put(KeyTable& table, const KeyRow& row)
{
    put(table, row.vk, QLatin1String(row.name), row.extended, row.hid, QLatin1String(row.description), row.scanCode);
}

KeyTable buildNormalTable()
{
    KeyTable table = defaultTable(N);
    for (int i = 0; i <= 9; ++i) {
        const QString digit = QString::number(i);
        const int hid = i == 0 ? 39 : 29 + i;   // HID orders 1 … 9 before 0
        put(table, '0' + i, QStringLiteral("VK_") + digit, N, hid, digit);
        put(table, 96 + i, QStringLiteral("VK_NUMPAD") + digit, N, i == 0 ? 98 : 88 + i,
            QStringLiteral("NUMPAD ") + digit);
    }
    for (int i = 0; i < 26; ++i) {
        const QString letter = QChar(u'A' + i);
        put(table, 'A' + i, QStringLiteral("VK_") + letter, N, 4 + i, letter);
    }
    for (int i = 1; i <= 24; ++i) {
        const QString name = QStringLiteral("F") + QString::number(i);
        put(table, 111 + i, QStringLiteral("VK_") + name, N, i <= 12 ? 57 + i : 91 + i, name);
    }
    for (const auto& [first, last] : kUndefinedRuns) {
        for (int vk = first; vk <= last; ++vk)
            put(table, vk, QStringLiteral("VK_UNDEFINED_") + hex(vk, 2), N, kNoHidUsage, QStringLiteral("Undefined"));
    }
    for (const KeyRow& row : kNormalRows)
        put(table, row);
    return table;
}

KeyTable buildExtendedTable()
{
    KeyTable table = defaultTable(E);
    for (const KeyRow& row : kExtendedRows)
        put(table, row);
    return table;
}

struct KeyTables {
    KeyTable normal = buildNormalTable();
    KeyTable extended = buildExtendedTable();
};

const KeyTables& tables()
{
    static const KeyTables built;   // built once, on first use; thread-safe
    return built;
}

} // namespace

const KeyTable& NormalKeyTable()
{
    return tables().normal;
}

const KeyTable& ExtendedKeyTable()
{
    return tables().extended;
}

const TKeyboardInfoTable* KeyEntryOf(int virtualKey, int extendedFlag)
{
    int selector = extendedFlag;
    if (extendedFlag == 0 || extendedFlag == kNotExtendedEntry)
        selector = 0;
    else if (extendedFlag == 1 || extendedFlag == kExtendedEntry)
        selector = 1;
    if (virtualKey < 0 || virtualKey >= kKeyTableSize)
        return nullptr;
    const TKeyboardInfoTable& normal = NormalKeyTable()[virtualKey];
    if (selector == 0)
        return &normal;
    if (selector == 1 && normal.Extended == kExtendedEntry)
        return &normal;
    return &ExtendedKeyTable()[virtualKey];
}

int HidUsageOf(int virtualKey, int extendedFlag)
{
    const TKeyboardInfoTable* entry = KeyEntryOf(virtualKey, extendedFlag);
    if (entry == nullptr || entry->HIDCode == kNoHidUsage)
        return 0;
    return entry->HIDCode;
}

std::uint8_t DeviceKeyUsage(int virtualKey, int extendedFlag)
{
    const int usage = HidUsageOf(virtualKey, extendedFlag);
    return usage >= 0 && usage <= 255 ? std::uint8_t(usage) : 0;
}

QString KeyNameOf(int virtualKey, int extendedFlag)
{
    const TKeyboardInfoTable* entry = KeyEntryOf(virtualKey, extendedFlag);
    return entry == nullptr ? QString() : entry->KeyDescription;
}

QString ModifierText(int bits)
{
    QString text;
    for (const ComboModifier& m : kComboModifiers) {
        if ((bits & m.bit) != 0)
            text += QLatin1String(m.text);
    }
    return text;
}

int HidModifierOf(int bits)
{
    int hid = 0;
    for (const ComboModifier& m : kComboModifiers) {
        if ((bits & m.bit) != 0)
            hid |= m.hidBit;
    }
    return hid;
}

} // namespace k4812
