#include "emulator/EmulatorDescription.h"

#include "wire/DeviceDecoding.h"

namespace k4812 {

DeviceDescription describeEmulatorState(const EmulatorState& state)
{
    DeviceDescription description = DecodeDeviceMemory(state.memory);
    description.lastActivation = state.lastActivation;
    if (state.shownLight)
        description.shownLight = DecodeLightPreview(*state.shownLight);
    return description;
}

} // namespace k4812
