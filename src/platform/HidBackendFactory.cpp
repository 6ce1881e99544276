#include "platform/DeviceSelection.h"
#include "platform/HidrawBackend.h"

namespace k4812 {

std::unique_ptr<HidBackend> createHidBackend(const DeviceSelection& selection)
{
    // The emulator back end is added with the emulator itself.
    if (selection.kind == DeviceSelection::Kind::Emulator)
        return nullptr;
    return std::make_unique<HidrawBackend>();
}

} // namespace k4812
