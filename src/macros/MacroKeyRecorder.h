#pragma once
// The macro recorder: key presses and releases with the pauses between them.
//
// Each event that is not the first adds a pause entry for the time since the
// previous accepted event (capped at 65535 ms; none when it is 0), then the
// key entry. Auto-repeat presses of a held key add nothing and do not move
// the point the pause is measured from, so holding a key gives one press,
// then at the release a pause as long as the hold and the release. Once the
// recording holds more than 500 entries it stops growing and stops
// swallowing keys.

#include "macros/HookRecords.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace k4812 {

class MacroKeyRecorder {
public:
    static constexpr std::size_t kMaxEntries = 500;
    static constexpr std::uint32_t kMaxPauseMs = 65535;

    struct Outcome {
        bool blocked = false;
        // The key entry to announce, with Time, MacroKeyString ("L CTRL") and
        // MacroKeyStateString ("Down"/"Up") filled in.
        std::optional<TMACROKEYHOOK> key;
        std::uint32_t totalTime = 0;   // the pause measured before this event, ms
    };

    Outcome record(const TKBDLLHOOKSTRUCT& event);

    // Empties the recording and forgets the last event and the held keys.
    void clear();

    const std::vector<TMACROKEYHOOK>& entries() const { return FMacroKeyList; }

private:
    std::vector<TMACROKEYHOOK> FMacroKeyList;
    TKBDLLHOOKSTRUCT FLastMacroKey{};
    std::uint32_t FTotalMacroTime = 0;
    std::array<std::uint8_t, 256> FAllKeyState{};   // 1 while a key is held as far as the recording knows
};

} // namespace k4812
