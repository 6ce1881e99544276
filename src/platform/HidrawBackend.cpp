#include "platform/HidrawBackend.h"

#include <cerrno>

namespace k4812 {

// Placeholder until the hidraw enumeration lands: sees no device.
HidrawBackend::HidrawBackend() = default;

std::vector<HidCollection> HidrawBackend::enumerate()
{
    return {};
}

std::unique_ptr<HidDeviceHandle> HidrawBackend::open(const HidCollection&, int& error)
{
    error = ENODEV;
    return nullptr;
}

} // namespace k4812
