#pragma once
// The two bytes of the activation command that makes written settings take
// effect, shared by everything that sends it (the apply sequence, "Restore
// light"): the first is set to 1 just before each send, the second is the
// profile (0 to 4) most recently chosen with a profile button, 0 until the
// first such choice.

#include "wire/HidData.h"

#include <cstdint>

namespace k4812 {

struct LastActivatedProfile {
    std::uint8_t first = 0;
    std::uint8_t profileIndex = 0;
};

// Sets `bytes.first` to 1 and sends the activation command with both bytes.
// Returns the command's error code.
int SendActivation(TuiHIDData& device, LastActivatedProfile& bytes);

} // namespace k4812
