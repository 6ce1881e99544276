#include "platform/hid/HidrawSysfs.h"

#include "platform/hid/HidReportDescriptor.h"
#include "platform/hid/HidrawNode.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace k4812 {

namespace fs = std::filesystem;

namespace {

// Sysfs attributes are small; a descriptor is at most 4096 bytes.
constexpr std::streamsize kMaxAttributeSize = 65536;

std::optional<std::string> readAttribute(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text(std::size_t(kMaxAttributeSize), '\0');
    file.read(text.data(), kMaxAttributeSize);
    if (file.bad())
        return std::nullopt;
    text.resize(std::size_t(file.gcount()));
    return text;
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

// A whole attribute as a number in `base`, surrounding blanks ignored.
std::optional<unsigned long> numberAttribute(const fs::path& path, int base)
{
    const std::optional<std::string> text = readAttribute(path);
    if (!text)
        return std::nullopt;
    const std::string value = trimmed(*text);
    unsigned long number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number, base);
    if (value.empty() || error != std::errc() || end != value.data() + value.size())
        return std::nullopt;
    return number;
}

// KEY=VALUE of a uevent file.
std::optional<std::string> ueventValue(const std::string& uevent, std::string_view key)
{
    std::size_t start = 0;
    while (start < uevent.size()) {
        std::size_t end = uevent.find('\n', start);
        if (end == std::string::npos)
            end = uevent.size();
        const std::string_view line(uevent.data() + start, end - start);
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == '=')
            return std::string(line.substr(key.size() + 1));
        start = end + 1;
    }
    return std::nullopt;
}

// "0003:00001234:00005678" into bus, vendor and product.
bool parseHidId(const std::string& text, HidInterfaceIdentity& identity)
{
    unsigned long fields[3] = {};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, error] = std::from_chars(p, end, fields[i], 16);
        if (error != std::errc() || next == p || (i < 2 && (next == end || *next != ':')) || (i == 2 && next != end))
            return false;
        p = next + 1;
    }
    if (fields[0] > 0xFFFF || fields[1] > 0xFFFFFFFF || fields[2] > 0xFFFFFFFF)
        return false;
    identity.bus = std::uint16_t(fields[0]);
    // The kernel keeps 32-bit IDs; USB and Bluetooth IDs fill the low half.
    identity.vendorId = std::uint16_t(fields[1]);
    identity.productId = std::uint16_t(fields[2]);
    return true;
}

constexpr std::uint16_t kBusUsb = 0x03;

// For a HID device on a USB interface: the device's revision and, when the
// device is composite, the interface number.
void readUsbDetails(const fs::path& hidDevice, HidInterfaceIdentity& identity)
{
    const fs::path usbInterface = hidDevice.parent_path();
    const fs::path usbDevice = usbInterface.parent_path();
    const std::optional<unsigned long> interfaceNumber = numberAttribute(usbInterface / "bInterfaceNumber", 16);
    if (!interfaceNumber || *interfaceNumber > 0xFF)
        return;   // not on a USB interface (uhid, for example)
    if (const auto revision = numberAttribute(usbDevice / "bcdDevice", 16); revision && *revision <= 0xFFFF)
        identity.revision = std::uint16_t(*revision);
    UsbDeviceFields fields;
    const auto deviceClass = numberAttribute(usbDevice / "bDeviceClass", 16);
    const auto subClass = numberAttribute(usbDevice / "bDeviceSubClass", 16);
    const auto protocol = numberAttribute(usbDevice / "bDeviceProtocol", 16);
    const auto configurations = numberAttribute(usbDevice / "bNumConfigurations", 10);
    const auto interfaces = numberAttribute(usbDevice / "bNumInterfaces", 10);
    if (!deviceClass || !subClass || !protocol || !configurations || !interfaces)
        return;
    fields.deviceClass = unsigned(*deviceClass);
    fields.deviceSubClass = unsigned(*subClass);
    fields.deviceProtocol = unsigned(*protocol);
    fields.numConfigurations = unsigned(*configurations);
    fields.numInterfaces = unsigned(*interfaces);
    if (isCompositeUsbDevice(fields))
        identity.interfaceNumber = std::uint8_t(*interfaceNumber);
}

fs::path hidDeviceFolder(const fs::path& hidrawSyspath)
{
    std::error_code error;
    const fs::path folder = fs::canonical(hidrawSyspath / "device", error);
    return error ? fs::path() : folder;
}

} // namespace

std::optional<HidInterfaceIdentity> readHidInterfaceIdentity(const fs::path& hidrawSyspath)
{
    const fs::path hidDevice = hidDeviceFolder(hidrawSyspath);
    if (hidDevice.empty())
        return std::nullopt;
    const std::optional<std::string> uevent = readAttribute(hidDevice / "uevent");
    if (!uevent)
        return std::nullopt;
    HidInterfaceIdentity identity;
    const std::optional<std::string> hidId = ueventValue(*uevent, "HID_ID");
    if (!hidId || !parseHidId(*hidId, identity))
        return std::nullopt;
    identity.modalias = ueventValue(*uevent, "MODALIAS").value_or(std::string());
    if (identity.bus == kBusUsb)
        readUsbDetails(hidDevice, identity);
    return identity;
}

std::optional<std::vector<std::uint8_t>> readSysfsReportDescriptor(const fs::path& hidrawSyspath)
{
    const std::optional<std::string> bytes = readAttribute(hidrawSyspath / "device" / "report_descriptor");
    if (!bytes || bytes->empty())
        return std::nullopt;
    return std::vector<std::uint8_t>(bytes->begin(), bytes->end());
}

std::vector<HidCollection> readHidrawCollections(const fs::path& hidrawSyspath, const std::string& devnode)
{
    const std::optional<HidInterfaceIdentity> identity = readHidInterfaceIdentity(hidrawSyspath);
    if (!identity)
        return {};
    std::optional<std::vector<std::uint8_t>> descriptor = readSysfsReportDescriptor(hidrawSyspath);
    if (!descriptor) {
        int error = 0;
        if (const std::unique_ptr<HidrawNode> node = HidrawNode::open(devnode, error))
            descriptor = node->reportDescriptor(error);
    }
    if (!descriptor)
        return {};

    const HidDescriptorSummary summary = parseHidReportDescriptor(*descriptor);
    std::vector<HidCollection> collections;
    for (std::size_t i = 0; i < summary.collections.size(); ++i) {
        const HidTopLevelCollection& tlc = summary.collections[i];
        HidCollection c;
        c.path = devnode;
        c.usagePage = tlc.usagePage;
        c.usage = tlc.usage;
        c.inputReportByteLength = tlc.inputReportByteLength;
        c.outputReportByteLength = tlc.outputReportByteLength;
        c.featureReportByteLength = tlc.featureReportByteLength;
        c.hardwareIds = windowsHardwareIds(*identity, tlc.usagePage, tlc.usage, i, summary.collections.size());
        collections.push_back(std::move(c));
    }
    return collections;
}

} // namespace k4812
