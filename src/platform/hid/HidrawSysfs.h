#pragma once
// What a hidraw node's sysfs folder tells about it: the report descriptor of
// its HID device, that device's IDs (uevent HID_ID and MODALIAS) and, for a
// USB device, the interface number and revision. Kept apart from libudev,
// which only supplies the list of nodes, so that it can be read from a
// made-up sysfs tree.

#include "platform/hid/HidBackend.h"
#include "platform/hid/HidHardwareIds.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace k4812 {

// The identity of the HID device above a hidraw node, e.g.
// /sys/devices/.../1-2:1.1/0003:1234:5678.0002/hidraw/hidraw1. Nothing when
// its uevent has no valid HID_ID.
std::optional<HidInterfaceIdentity> readHidInterfaceIdentity(const std::filesystem::path& hidrawSyspath);

// The report descriptor from sysfs (readable without any permission on the
// node); nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> readSysfsReportDescriptor(const std::filesystem::path& hidrawSyspath);

// Every top-level collection of a hidraw node, each with its capabilities and
// hardware IDs and `devnode` as its path. When sysfs has no descriptor it is
// asked of the node itself. Nothing when the node is not a HID device or no
// descriptor can be read.
std::vector<HidCollection> readHidrawCollections(const std::filesystem::path& hidrawSyspath,
                                                 const std::string& devnode);

} // namespace k4812
