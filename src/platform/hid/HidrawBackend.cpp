#include "platform/hid/HidrawBackend.h"

#include "platform/hid/HidReportDescriptor.h"
#include "platform/hid/HidrawNode.h"
#include "platform/hid/HidrawSysfs.h"

#include <libudev.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace k4812 {

namespace fs = std::filesystem;

namespace {

struct Node {
    fs::path syspath;
    std::string devnode;
};

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevDeleter>;

std::vector<Node> udevNodes()
{
    std::vector<Node> nodes;
    const UdevPtr<udev> context(udev_new());
    if (!context)
        return nodes;
    const UdevPtr<udev_enumerate> enumeration(udev_enumerate_new(context.get()));
    if (!enumeration || udev_enumerate_add_match_subsystem(enumeration.get(), "hidraw") < 0
        || udev_enumerate_scan_devices(enumeration.get()) < 0)
        return nodes;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumeration.get()))
    {
        const char* syspath = udev_list_entry_get_name(entry);
        const UdevPtr<udev_device> device(udev_device_new_from_syspath(context.get(), syspath));
        const char* devnode = device ? udev_device_get_devnode(device.get()) : nullptr;
        if (devnode != nullptr)
            nodes.push_back({syspath, devnode});
    }
    return nodes;
}

std::vector<Node> folderNodes(const fs::path& sysClass, const fs::path& dev)
{
    std::vector<Node> nodes;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(sysClass, error)) {
        const fs::path syspath = fs::canonical(entry.path(), error);
        if (!error)
            nodes.push_back({syspath, (dev / entry.path().filename()).string()});
    }
    std::sort(nodes.begin(), nodes.end(), [](const Node& a, const Node& b) { return a.devnode < b.devnode; });
    return nodes;
}

} // namespace

HidrawBackend::HidrawBackend() = default;

HidrawBackend::HidrawBackend(fs::path sysClassFolder, fs::path devFolder)
    : m_folders(Folders{std::move(sysClassFolder), std::move(devFolder)})
{
}

std::vector<HidCollection> HidrawBackend::enumerate()
{
    const std::vector<Node> nodes = m_folders ? folderNodes(m_folders->sysClass, m_folders->dev) : udevNodes();
    std::vector<HidCollection> collections;
    for (const Node& node : nodes) {
        std::vector<HidCollection> found = readHidrawCollections(node.syspath, node.devnode);
        std::move(found.begin(), found.end(), std::back_inserter(collections));
    }
    return collections;
}

std::string HidrawBackend::lockIdentity(const HidCollection& collection)
{
    const fs::path sysClass = m_folders ? m_folders->sysClass : fs::path("/sys/class/hidraw");
    std::error_code error;
    const fs::path device = fs::canonical(sysClass / fs::path(collection.path).filename() / "device", error);
    return "hidraw:" + (error ? collection.path : device.string());
}

std::unique_ptr<HidDeviceHandle> HidrawBackend::open(const HidCollection& collection, int& error)
{
    std::unique_ptr<HidrawNode> node = HidrawNode::open(collection.path, error);
    if (!node)
        return nullptr;
    const std::optional<std::vector<std::uint8_t>> descriptor = node->reportDescriptor(error);
    if (!descriptor)
        return nullptr;
    const HidDescriptorSummary summary = parseHidReportDescriptor(*descriptor);
    const bool stillThere = std::any_of(summary.collections.cbegin(), summary.collections.cend(),
                                        [&](const HidTopLevelCollection& c) {
                                            return c.usagePage == collection.usagePage && c.usage == collection.usage;
                                        });
    if (!stillThere) {
        error = ENODEV;
        return nullptr;
    }
    return node;
}

} // namespace k4812
