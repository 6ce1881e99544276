#include "macros/MacroKeyRecorder.h"

#include "wire/KeyCodeTable.h"

#include <algorithm>

namespace k4812 {

namespace {

TMACROKEYHOOK entry(std::uint16_t type, std::uint16_t state, std::uint16_t value, std::uint16_t extended)
{
    TMACROKEYHOOK e;
    e.nKeyType = type;
    e.nKeyState = state;
    e.nKeyValue = value;
    e.nKeyValueExtended = extended;
    return e;
}

} // namespace

void MacroKeyRecorder::clear()
{
    FMacroKeyList.clear();
    FLastMacroKey = TKBDLLHOOKSTRUCT{};
    FTotalMacroTime = 0;
    FAllKeyState.fill(0);
}

MacroKeyRecorder::Outcome MacroKeyRecorder::record(const TKBDLLHOOKSTRUCT& event)
{
    // Virtual key 0 would read as "no event yet", and the key state has 256
    // places: such events are not recorded.
    if (FMacroKeyList.size() > kMaxEntries || event.vkCode == 0 || event.vkCode > 255)
        return {};

    const bool released = (event.flags & kKeyFlagReleased) != 0;
    const std::uint16_t extended = (event.flags & kKeyFlagExtended) != 0 ? 1 : 0;
    const auto sameFlags = [](std::uint32_t a, std::uint32_t b) {
        return (a & (kKeyFlagExtended | kKeyFlagReleased)) == (b & (kKeyFlagExtended | kKeyFlagReleased));
    };

    if (FLastMacroKey.vkCode == 0) {
        FLastMacroKey = event;
        FTotalMacroTime = 0;
    } else if (!released && event.vkCode == FLastMacroKey.vkCode && sameFlags(event.flags, FLastMacroKey.flags)) {
        // Auto-repeat: keep measuring from the first press.
        FTotalMacroTime = event.time - FLastMacroKey.time;
    } else {
        FTotalMacroTime = event.time - FLastMacroKey.time;   // wraps with the clock
        FLastMacroKey = event;
        if (released)
            FAllKeyState[event.vkCode] = 0;
        if (FTotalMacroTime > 0) {
            FTotalMacroTime = std::min(FTotalMacroTime, kMaxPauseMs);
            FMacroKeyList.push_back(entry(kMacroHookPause, 0, std::uint16_t(FTotalMacroTime), 0));
        }
    }

    Outcome outcome;
    outcome.blocked = true;
    outcome.totalTime = FTotalMacroTime;
    if (FAllKeyState[event.vkCode] == 0) {
        if (!released)
            FAllKeyState[event.vkCode] = 1;
        const std::uint16_t state = released ? 0 : 1;
        FMacroKeyList.push_back(entry(kMacroHookKey, state, std::uint16_t(event.vkCode), extended));
        TMACROKEYHOOK announced = FMacroKeyList.back();
        announced.Time = double(event.time);
        announced.MacroKeyString = KeyNameOf(int(event.vkCode), extended);
        announced.MacroKeyStateString = released ? QStringLiteral("Up") : QStringLiteral("Down");
        outcome.key = announced;
    }
    return outcome;
}

} // namespace k4812
