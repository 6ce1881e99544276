#pragma once
// What the emulated mouse would do: its memory decoded, with the last
// activation it received and the light its last preview shows.

#include "wire/DeviceDescription.h"
#include "emulator/MouseEmulator.h"

namespace k4812 {

DeviceDescription describeEmulatorState(const EmulatorState& state);

} // namespace k4812
