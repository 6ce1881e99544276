#pragma once
// The hardware IDs Windows gives a HID top-level collection, made from what
// Linux knows about the interface, so that a config.ini include list written
// on Windows still matches.
//
// Windows lists, for collection b (1-based) of interface z of a USB device:
//   HID\VID_v&PID_d&REV_r&MI_z&Colb
//   HID\VID_v&PID_d&MI_z&Colb
//   HID\VID_v&UP:p_U:u
//   HID_DEVICE_SYSTEM_...        (mice, keyboards, game controllers, ...)
//   HID_DEVICE_UP:p_U:u
//   HID_DEVICE
// where "&MI_z" appears only for an interface of a composite USB device and
// "&Colb" only when the descriptor has more than one top-level collection.
// v, d, r, p and u are four upper-case hex digits, z and b two. The Linux
// modalias follows as the last ID.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace k4812 {

// What sysfs tells about the HID interface of a hidraw node.
struct HidInterfaceIdentity {
    std::uint16_t bus = 0;            // BUS_USB = 3, BUS_BLUETOOTH = 5, ...
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::optional<std::uint16_t> revision;       // a USB device's bcdDevice
    std::optional<std::uint8_t> interfaceNumber; // set only for a function of a composite USB device
    std::string modalias;                        // e.g. hid:b0003g0001v00001234p00005678
};

// The descriptor fields of a USB device that decide whether Windows treats
// it as composite (one function per interface, hence "&MI_z" in the IDs):
// a single configuration with more than one interface, and device class 0
// or the interface-association class triple EF/02/01.
struct UsbDeviceFields {
    unsigned deviceClass = 0;
    unsigned deviceSubClass = 0;
    unsigned deviceProtocol = 0;
    unsigned numConfigurations = 1;
    unsigned numInterfaces = 1;
};
bool isCompositeUsbDevice(const UsbDeviceFields& device);

// The IDs of collection `index` (0-based) of `count` in the interface's
// report descriptor.
std::vector<std::string> windowsHardwareIds(const HidInterfaceIdentity& identity, std::uint16_t usagePage,
                                            std::uint16_t usage, std::size_t index, std::size_t count);

} // namespace k4812
