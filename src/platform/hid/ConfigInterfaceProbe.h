#pragma once
// Decides whether a hidraw node is the mouse's configuration interface, for
// the udev helper k4812-udev-probe, so that the udev rule grants access to
// that interface and to no other HID device. The mouse's vendor and product
// IDs are not known, so the decision rests on the report descriptors of the
// whole USB device:
//  - the node carries the configuration collection (usage page 0xFFA0, usage 1);
//  - the device carries a mouse collection (Generic Desktop / Mouse) on some
//    interface;
//  - the device carries no keyboard (Generic Desktop / Keyboard or Keypad, or
//    a collection of the Keyboard/Keypad usage page) on any interface, so that
//    a keyboard with such a collection never becomes readable by the user;
//  - when config.ini's include list has entries, one of them is a hardware ID
//    of the node's configuration collection, as the programs match it.
// Anything that cannot be read means no.
//
// Free of Qt and libudev: udev starts the helper for every hidraw node.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace k4812 {

// The mouse's configuration collection (the same as kMouseUsageAndPage).
constexpr std::uint16_t kConfigUsagePage = 0xFFA0;
constexpr std::uint16_t kConfigUsage = 0x0001;

// Whether the descriptor has a top-level collection with that usage page and usage.
bool hasConfigCollection(std::span<const std::uint8_t> descriptor);

// Top-level collections that make a device a mouse, or a keyboard.
bool isMouseCollection(std::uint16_t usagePage, std::uint16_t usage);
bool isKeyboardCollection(std::uint16_t usagePage, std::uint16_t usage);

enum class ProbeVerdict {
    Granted,            // the mouse's configuration interface
    NoConfigCollection, // the node does not carry the configuration collection
    NoMouse,            // no interface of the device is a mouse
    KeyboardOnDevice,   // some interface of the device is a keyboard
    NotIncluded,        // the include list names other devices
    Unreadable,         // the node's identity or a descriptor of the device could not be read
};

// Decides for the hidraw node whose sysfs folder is `hidrawSyspath` (as udev
// gives it: /sys/devices/.../hidraw/hidrawN). An empty include list admits
// every device.
ProbeVerdict probeHidrawNode(const std::filesystem::path& hidrawSyspath, const std::vector<std::string>& includeList);

// The include list of config.ini, [IncludeHIDDeviceList] id1, id2, ... up to
// the first missing or empty key, at most 101 entries, read with the same
// rules as the programs' INI reader (names without regard to case, the first
// of duplicates wins, ';' and '#' comments, UTF-8 or UTF-16LE with its mark).
// A missing or unreadable file gives an empty list.
std::vector<std::string> includeListFromIni(std::string_view fileBytes);
std::vector<std::string> readIncludeList(const std::filesystem::path& configIni);

// What the helper prints for udev to import.
inline constexpr const char* kConfigInterfaceProperty = "K4812_CONFIG_INTERFACE=1";

} // namespace k4812
