#pragma once
// The real HID back end: hidraw devices found through libudev.

#include "platform/HidBackend.h"

namespace k4812 {

class HidrawBackend final : public HidBackend {
public:
    HidrawBackend();
    std::vector<HidCollection> enumerate() override;
    std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) override;
};

} // namespace k4812
