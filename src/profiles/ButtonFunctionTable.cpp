#include "profiles/ButtonFunctionTable.h"

#include <algorithm>

namespace k4812 {

namespace {

// Top-level items of the button menu, identifiers 1 to 16.
constexpr const char* kTopLevelCaptions[] = {
    "Click",  "Right Click", "Middle Button", "Forward",    "Backward", "Single Key", "Combo Key",   "Basic",
    "Advanced", "Media",     "Macro",         "DPI Switch", "DPI +",    "DPI -",      "Fire Key...", "Disable",
};

} // namespace

int FindFunctionRow(int menuId)
{
    const auto found = std::find_if(ButtonFunctionTable.begin(), ButtonFunctionTable.end(),
                                    [menuId](const ButtonFunctionRow& r) { return r.menuId == menuId; });
    return found != ButtonFunctionTable.end() ? found->row : menuId;
}

int MenuIdOfRow(int row)
{
    return row >= 0 && row < kButtonFunctionRowCount ? ButtonFunctionTable[std::size_t(row)].menuId : -1;
}

std::optional<std::uint8_t> DeviceCodeOfRow(int row)
{
    if (row < 0 || row >= kButtonFunctionRowCount)
        return std::nullopt;
    return ButtonFunctionTable[std::size_t(row)].deviceCode;
}

const ShortcutCombination* ShortcutOfMenuId(int menuId)
{
    const auto found = std::find_if(ShortcutCombinations.begin(), ShortcutCombinations.end(),
                                    [menuId](const ShortcutCombination& s) { return s.menuId == menuId; });
    return found != ShortcutCombinations.end() ? &*found : nullptr;
}

const MediaKeyItem* MediaKeyOfMenuId(int menuId)
{
    const auto found = std::find_if(MediaKeyItems.begin(), MediaKeyItems.end(),
                                    [menuId](const MediaKeyItem& m) { return m.menuId == menuId; });
    return found != MediaKeyItems.end() ? &*found : nullptr;
}

const char* ButtonMenuCaption(int menuId)
{
    if (menuId >= 1 && menuId <= int(std::size(kTopLevelCaptions)))
        return kTopLevelCaptions[menuId - 1];
    // Sub-items of Basic, Advanced and Media: their captions are the table's.
    if (menuId >= 100 && (menuId / 100 == kMenuBasic || menuId / 100 == kMenuAdvanced || menuId / 100 == kMenuMedia)) {
        const int row = FindFunctionRow(menuId);
        if (row != menuId)
            return ButtonFunctionTable[std::size_t(row)].caption;
    }
    return nullptr;
}

} // namespace k4812
