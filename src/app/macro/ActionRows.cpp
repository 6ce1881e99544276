#include "app/macro/ActionRows.h"

#include "wire/KeyCodeTable.h"
#include "i18n/Translation.h"
#include "macros/MacroAction.h"

namespace k4812 {

std::vector<ActionRow> actionRowsOf(const std::vector<TMACROKEY>& actions, bool showDelays)
{
    std::vector<ActionRow> rows;
    for (int i = 0; i < int(actions.size()); ++i) {
        const TMACROKEY& action = actions[std::size_t(i)];
        const bool down = action.nKeyState == kMacroKeyDown;
        const bool stateShown = action.nKeyState == kMacroKeyDown || action.nKeyState == kMacroKeyUp;
        switch (action.nKeyType) {
        case kMacroKeyDelay:
            if (showDelays)
                rows.push_back({ActionRow::Kind::Delay, QString::number(macroActionWord(action)), i});
            break;
        case kMacroKeyKeyboard:
            if (stateShown)
                rows.push_back({down ? ActionRow::Kind::KeyDown : ActionRow::Kind::KeyUp,
                                QLatin1Char(' ') + KeyNameOf(action.VALUE1, action.VALUE2), i});
            break;
        case kMacroKeyMouse:
            if (stateShown)
                rows.push_back({down ? ActionRow::Kind::MouseDown : ActionRow::Kind::MouseUp,
                                QLatin1Char(' ') + translate(KeyNameOf(action.VALUE1, action.VALUE2)), i});
            break;
        default:
            break;
        }
    }
    return rows;
}

int rowOfAction(const std::vector<ActionRow>& rows, int actionIndex)
{
    for (int row = 0; row < int(rows.size()); ++row)
        if (rows[std::size_t(row)].actionIndex == actionIndex)
            return row;
    return -1;
}

} // namespace k4812
