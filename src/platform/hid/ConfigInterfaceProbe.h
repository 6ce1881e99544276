#pragma once
// Decides whether a hidraw node is the mouse's configuration interface, from
// its report descriptor alone (the mouse's vendor and product IDs are not
// known). The udev helper k4812-udev-probe uses it, so that the udev rule
// grants access to that interface and to no other HID device.
//
// Free of Qt and libudev: udev starts the helper for every hidraw node.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace k4812 {

// The mouse's configuration collection (the same as kMouseUsageAndPage).
constexpr std::uint16_t kConfigUsagePage = 0xFFA0;
constexpr std::uint16_t kConfigUsage = 0x0001;

// Whether the descriptor has a top-level collection with that usage page and usage.
bool hasConfigCollection(std::span<const std::uint8_t> descriptor);

struct ConfigProbeResult {
    bool readable = false;      // the descriptor could be read
    bool configInterface = false;
};

// Reads HIDRAW_SYSPATH/device/report_descriptor and decides.
ConfigProbeResult probeHidrawNode(const std::filesystem::path& hidrawSyspath);

// What the helper prints for udev to import.
inline constexpr const char* kConfigInterfaceProperty = "K4812_CONFIG_INTERFACE=1";

} // namespace k4812
