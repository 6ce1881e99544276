#pragma once
// The real HID back end: the machine's hidraw nodes, listed through libudev
// (or, for tests, from a sysfs-like folder), described from sysfs, and
// opened for feature reports.

#include "platform/hid/HidBackend.h"

#include <filesystem>
#include <optional>

namespace k4812 {

class HidrawBackend final : public HidBackend {
public:
    // Lists the nodes through libudev.
    HidrawBackend();
    // Lists the entries of `sysClassFolder` (a stand-in for /sys/class/hidraw)
    // instead, with their device nodes in `devFolder`.
    HidrawBackend(std::filesystem::path sysClassFolder, std::filesystem::path devFolder);

    std::vector<HidCollection> enumerate() override;
    // Opens the collection's node and checks that it still carries that
    // collection, so that a report never reaches a device that took the
    // node's name after the enumeration (ENODEV when it does not).
    std::unique_ptr<HidDeviceHandle> open(const HidCollection& collection, int& error) override;
    // The HID device above the node in sysfs (its resolved folder, e.g.
    // /sys/devices/.../1-2:1.1/0003:1234:5678.0002): the same for every
    // program while the mouse stays plugged in.
    std::string lockIdentity(const HidCollection& collection) override;

private:
    struct Folders {
        std::filesystem::path sysClass;
        std::filesystem::path dev;
    };
    std::optional<Folders> m_folders;
};

} // namespace k4812
