#pragma once
// Auto-repeat sent as release-press pairs, told apart from a real release.
//
// An X server without detectable auto-repeat repeats a held key as a release
// and a press with the same time stamp, and Qt does not always flag such a
// pair as auto-repeat. Left as they are, a key held for a second records as
// twenty presses and releases. Here a release is held back until the next key
// event shows what it was: a press of the same key with the same time stamp
// makes it a repeat (the release is dropped, the press goes on flagged as an
// auto-repeat press, as Windows repeats a held key); any other event lets the
// release go first, as a real one. When no event follows, the caller lets the
// held release go with flush().
//
// Releases without a time stamp (0) and releases already flagged as
// auto-repeat pass at once: the first cannot be paired, the second are no
// real releases anyway.

#include "macros/LinuxKeyMap.h"

#include <optional>

namespace k4812 {

class KeyRepeatPairing {
public:
    struct Step {
        // A release held back before, which proved real: deliver it first.
        std::optional<LinuxKeyEvent> heldRelease;
        // The event itself, to deliver now; none when it is held back.
        std::optional<LinuxKeyEvent> event;
    };

    Step next(const LinuxKeyEvent& event);

    // The release held back, if any, now as a real one.
    std::optional<LinuxKeyEvent> flush();

    bool holding() const { return m_held.has_value(); }

private:
    std::optional<LinuxKeyEvent> m_held;
};

} // namespace k4812
