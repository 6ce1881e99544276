#pragma once
// The functions a mouse button can be given, as the assignment menus offer
// them: ButtonFunctionTable maps a menu choice to the FunctionIndex (the
// table row), DeviceCode and MenuID stored in a TBUTTONFUNCINFO, and the
// menus' fixed items carry their English captions (shown translated).
//
// Menu identifiers: the n-th top-level item is n, the n-th sub-item of item p
// is p * 100 + n. Macro items (1102, 1103, ...) are built from the profile's
// macro list at run time and are not part of the fixed tables.

#include <array>
#include <cstdint>
#include <optional>

namespace k4812 {

struct ButtonFunctionRow {
    int row;
    std::uint8_t deviceCode;
    int menuId;
    const char* caption;   // English caption of the menu item
};

constexpr int kButtonFunctionRowCount = 34;

// Rows 3 and 4 are Forward (menu 4, device code 5) and Backward (menu 5,
// device code 4): the window lists Forward first, the mouse numbers it second.
inline constexpr std::array<ButtonFunctionRow, kButtonFunctionRowCount> ButtonFunctionTable{{
    {0, 0x01, 1, "Click"},
    {1, 0x02, 2, "Right Click"},
    {2, 0x03, 3, "Middle Button"},
    {3, 0x05, 4, "Forward"},
    {4, 0x04, 5, "Backward"},
    {5, 0x10, 6, "Single Key"},
    {6, 0x0F, 7, "Combo Key"},
    {7, 0x0F, 801, "Cut"},
    {8, 0x0F, 802, "Copy"},
    {9, 0x0F, 803, "Paste"},
    {10, 0x0F, 804, "Select All"},
    {11, 0x0F, 805, "Find"},
    {12, 0x0F, 806, "New"},
    {13, 0x0F, 807, "Print"},
    {14, 0x0F, 808, "Save"},
    {15, 0x0F, 901, "Switch Window"},
    {16, 0x0F, 902, "Close Window"},
    {17, 0x0F, 903, "Open Explorer"},
    {18, 0x0F, 904, "Run"},
    {19, 0x0F, 905, "Show Desktop"},
    {20, 0x0F, 906, "Lock PC"},
    {21, 0x0E, 1001, "Play/Pause"},
    {22, 0x0E, 1002, "Stop"},
    {23, 0x0E, 1003, "Previous"},
    {24, 0x0E, 1004, "Next"},
    {25, 0x0E, 1005, "Volume Up"},
    {26, 0x0E, 1006, "Volume Down"},
    {27, 0x0E, 1007, "Mute"},
    {28, 0x11, 11, "Macro"},
    {29, 0x08, 12, "DPI Switch"},
    {30, 0x09, 13, "DPI +"},
    {31, 0x0A, 14, "DPI -"},
    {32, 0x12, 15, "Fire Key..."},
    {33, 0x0E, 16, "Disable"},
}};

// Rows that the assignment refers to by name.
constexpr int kRowClick = 0;
constexpr int kRowRightClick = 1;
constexpr int kRowSingleKey = 5;
constexpr int kRowComboKey = 6;
constexpr int kRowMacro = 28;
constexpr int kRowFireKey = 32;
constexpr int kRowDisable = 33;

// Menu identifiers of the items with their own handling.
constexpr int kMenuClick = 1;
constexpr int kMenuRightClick = 2;
constexpr int kMenuSingleKey = 6;
constexpr int kMenuComboKey = 7;
constexpr int kMenuBasic = 8;
constexpr int kMenuAdvanced = 9;
constexpr int kMenuMedia = 10;
constexpr int kMenuMacro = 11;
constexpr int kMenuFireKey = 15;
constexpr int kMenuDisable = 16;
constexpr int kMenuMacroManager = 1101;
constexpr int kMenuFirstMacro = 1102;       // macro k of the profile's list is 1102 + k
constexpr int kMaxMacroMenuIndex = 20;      // k at most 20 (21 macros)

// The row whose menu ID is `menuId`; `menuId` itself when no row has it.
int FindFunctionRow(int menuId);
// The menu ID of `row`; -1 outside 0 to 33.
int MenuIdOfRow(int row);
// The device code of `row`; none outside 0 to 33.
std::optional<std::uint8_t> DeviceCodeOfRow(int row);

// The key combinations of the "Basic" (801-808) and "Advanced" (901-906)
// shortcut items: one key, not extended, and modifier bits (1 Alt, 2 Ctrl,
// 4 Shift, 8 Win).
struct ShortcutCombination {
    int menuId;
    std::uint16_t modifier;
    std::uint16_t virtualKey;
};
inline constexpr std::array<ShortcutCombination, 14> ShortcutCombinations{{
    {801, 2, 88},   // Ctrl+X
    {802, 2, 67},   // Ctrl+C
    {803, 2, 86},   // Ctrl+V
    {804, 2, 65},   // Ctrl+A
    {805, 2, 70},   // Ctrl+F
    {806, 2, 78},   // Ctrl+N
    {807, 2, 80},   // Ctrl+P
    {808, 2, 83},   // Ctrl+S
    {901, 1, 9},    // Alt+Tab
    {902, 1, 115},  // Alt+F4
    {903, 8, 69},   // Win+E
    {904, 8, 82},   // Win+R
    {905, 8, 68},   // Win+D
    {906, 8, 76},   // Win+L
}};

// The media keys of the "Media" items (1001-1007): the Windows virtual key
// and the consumer usage the mouse sends for it.
struct MediaKeyItem {
    int menuId;
    int virtualKey;
    std::uint16_t usage;
};
inline constexpr std::array<MediaKeyItem, 7> MediaKeyItems{{
    {1001, 179, 0xCD},   // Play/Pause
    {1002, 178, 0xB7},   // Stop
    {1003, 177, 0xB6},   // Previous
    {1004, 176, 0xB5},   // Next
    {1005, 175, 0xE9},   // Volume Up
    {1006, 174, 0xEA},   // Volume Down
    {1007, 173, 0xE2},   // Mute
}};

const ShortcutCombination* ShortcutOfMenuId(int menuId);
const MediaKeyItem* MediaKeyOfMenuId(int menuId);

// The English caption of a fixed item of the button menu (top-level items
// 1-16 and the Basic, Advanced and Media sub-items); nullptr for any other
// identifier, including the macro items.
const char* ButtonMenuCaption(int menuId);

} // namespace k4812
