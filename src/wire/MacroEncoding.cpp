#include "wire/MacroEncoding.h"

#include "wire/KeyCodeTable.h"

#include <algorithm>

namespace k4812 {

int MacroDelayUnits(int milliseconds)
{
    const int whole = milliseconds / 10;
    const int rest = milliseconds % 10;
    if (rest > 5 || (rest == 5 && whole % 2 != 0))
        return whole + 1;
    return whole;
}

MacroAction EncodeMacroAction(int type, int state, std::uint8_t value1, std::uint8_t value2)
{
    MacroAction action{};
    if ((state != 0 && state != 1) || type < 0 || type > 127)
        return action;
    action[0] = std::uint8_t(type | (state << 7));
    if (type == kMacroTypeKey) {
        action[1] = DeviceKeyUsage(value1, value2);
        action[2] = value2;
    } else if (type == kMacroTypeDelay) {
        const int units = MacroDelayUnits(value2 * 256 + value1);   // at most 6554: fits 16 bits
        action[1] = std::uint8_t(units & 0xFF);
        action[2] = std::uint8_t(units >> 8);
    } else {
        action[1] = value1;
        action[2] = value2;
    }
    return action;
}

namespace {

QString macroLabel(const TMACROKEYINFO& macro)
{
    return QStringLiteral("macro %1 (\"%2\")").arg(macro.nMacroIndex).arg(macro.szMacroName.toString());
}

void noteUnsentActions(const TMACROKEYINFO& macro, int count, EncodingNotes* notes)
{
    for (int j = 0; j < count; ++j) {
        const TMACROKEY key = macro.MacroList[j];
        if ((key.nKeyState != 0 && key.nKeyState != 1) || key.nKeyType > 127) {
            addEncodingNote(notes, QStringLiteral("%1: action %2 (type %3, state %4) cannot be sent; sent as zeros")
                                       .arg(macroLabel(macro)).arg(j + 1).arg(key.nKeyType).arg(key.nKeyState));
        } else if (key.nKeyType == kMacroTypeKey && HidUsageOf(key.VALUE1, key.VALUE2) > 255) {
            addEncodingNote(notes, QStringLiteral("%1: action %2, key %3 has no keyboard usage the mouse can send; "
                                                  "sent as no key")
                                       .arg(macroLabel(macro)).arg(j + 1).arg(KeyNameOf(key.VALUE1, key.VALUE2)));
        }
    }
}

// Fills one block from one macro; returns the length in use.
std::uint16_t encodeMacro(const TMACROKEYINFO& macro, MacroBlock& block, EncodingNotes* notes)
{
    const int count = macro.MacroListCount;
    if (count < 0 || count > kMacroActionCapacity) {
        addEncodingNote(notes, QStringLiteral("%1 claims %2 actions; not sent").arg(macroLabel(macro)).arg(count));
        return 0;
    }
    const std::uint16_t loops = macro.nLoopCount;
    bool withLoop = loops > 0;
    if (withLoop && count + 1 > kMacroBlockEntries) {
        addEncodingNote(notes, QStringLiteral("%1 has %2 actions and no room for its loop entry; sent without the loop")
                                   .arg(macroLabel(macro)).arg(count));
        withLoop = false;
    }
    noteUnsentActions(macro, count, notes);
    for (int j = 0; j < count; ++j) {
        const TMACROKEY key = macro.MacroList[j];   // a copy: the record is packed
        const MacroAction action = EncodeMacroAction(key.nKeyType, key.nKeyState, key.VALUE1, key.VALUE2);
        std::copy(action.begin(), action.end(), block.begin() + 3 * j);
    }
    int entries = count;
    if (withLoop) {
        block[3 * count] = std::uint8_t(kMacroTypeLoop);
        block[3 * count + 1] = std::uint8_t(loops & 0xFF);
        block[3 * count + 2] = std::uint8_t(loops >> 8);
        ++entries;
    }
    return std::uint16_t(3 * entries);
}

} // namespace

MacroBlocks EncodeMacroBlocks(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes)
{
    MacroBlocks result;
    const std::vector<std::uint16_t> list = DistinctMacroList(profile);
    const TMACROKEYINFOLIST& macros = profile.MacroKeyInfoList;
    int count = macros.nMacroInfoCount;
    if (count > kMacroListCapacity) {
        addEncodingNote(notes, QStringLiteral("the macro list claims %1 macros; only the first %2 are looked at")
                                   .arg(count).arg(kMacroListCapacity));
        count = kMacroListCapacity;
    }
    std::array<bool, kMacroBlockCount> filled{};
    for (int i = 0; i < count; ++i) {
        const TMACROKEYINFO& macro = macros.MacroInfos[i];
        const int k = MacroBlockOf(list, macro.nMacroIndex);
        if (k < 0 || filled[k])   // not on a button, or a second macro with the same index
            continue;
        filled[k] = true;
        result.lengths[k] = encodeMacro(macro, result.blocks[k], notes);
    }
    for (std::size_t k = 0; k < list.size(); ++k) {
        if (!filled[k]) {
            addEncodingNote(notes, QStringLiteral("a button is assigned macro %1, which the macro list does not hold; "
                                                  "it plays nothing")
                                       .arg(list[k]));
        }
    }
    return result;
}

} // namespace k4812
