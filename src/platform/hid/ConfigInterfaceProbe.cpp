#include "platform/hid/ConfigInterfaceProbe.h"

#include "platform/hid/HidHardwareIds.h"
#include "platform/hid/HidReportDescriptor.h"
#include "platform/hid/HidrawSysfs.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <system_error>

namespace k4812 {

namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kGenericDesktopPage = 0x01;
constexpr std::uint16_t kMouseUsage = 0x02;
constexpr std::uint16_t kKeyboardUsage = 0x06;
constexpr std::uint16_t kKeypadUsage = 0x07;
constexpr std::uint16_t kKeyboardPage = 0x07;
constexpr std::uint16_t kBusUsb = 0x03;
constexpr int kMaxIncludeEntries = 101;
// A descriptor is at most 4096 bytes and config.ini a few lines; anything
// much larger is read only this far.
constexpr std::streamsize kMaxFileSize = 1 << 20;

std::optional<std::string> readWholeFile(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes(std::size_t(kMaxFileSize), '\0');
    file.read(bytes.data(), kMaxFileSize);
    if (file.bad())
        return std::nullopt;
    bytes.resize(std::size_t(file.gcount()));
    return bytes;
}

std::optional<std::vector<HidTopLevelCollection>> collectionsOf(const fs::path& hidDevice)
{
    const std::optional<std::string> bytes = readWholeFile(hidDevice / "report_descriptor");
    if (!bytes || bytes->empty())
        return std::nullopt;
    const std::vector<std::uint8_t> descriptor(bytes->begin(), bytes->end());
    return parseHidReportDescriptor(descriptor).collections;
}

bool present(const fs::path& path)
{
    std::error_code error;
    return fs::exists(path, error);
}

// The HID device folders of every interface of the USB device that
// `hidDevice` belongs to; just `hidDevice` when it is not on a USB interface.
std::vector<fs::path> hidDevicesOfSameDevice(const fs::path& hidDevice, const HidInterfaceIdentity& identity)
{
    const fs::path usbInterface = hidDevice.parent_path();
    if (identity.bus != kBusUsb || !present(usbInterface / "bInterfaceNumber"))
        return {hidDevice};
    std::vector<fs::path> found;
    std::error_code error;
    for (const fs::directory_entry& interface : fs::directory_iterator(usbInterface.parent_path(), error)) {
        if (!present(interface.path() / "bInterfaceNumber"))
            continue;
        std::error_code innerError;
        for (const fs::directory_entry& child : fs::directory_iterator(interface.path(), innerError)) {
            // A HID device folder holds a uevent naming its HID_ID; its
            // descriptor may still be unreadable, which the caller sees.
            if (present(child.path() / "report_descriptor") || present(child.path() / "hidraw"))
                found.push_back(child.path());
        }
    }
    if (error || std::find(found.begin(), found.end(), hidDevice) == found.end())
        found.push_back(hidDevice);
    return found;
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The file as UTF-8: a UTF-8 mark is dropped, UTF-16LE with its mark is converted.
std::string asUtf8(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return std::string(bytes.substr(3));
    if (!bytes.starts_with("\xFF\xFE"))
        return std::string(bytes);
    std::string out;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char32_t unit = char32_t(std::uint8_t(bytes[i])) | char32_t(std::uint8_t(bytes[i + 1])) << 8;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char32_t low = char32_t(std::uint8_t(bytes[i + 2])) | char32_t(std::uint8_t(bytes[i + 3])) << 8;
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

} // namespace

bool hasConfigCollection(std::span<const std::uint8_t> descriptor)
{
    const HidDescriptorSummary summary = parseHidReportDescriptor(descriptor);
    return std::any_of(summary.collections.cbegin(), summary.collections.cend(), [](const HidTopLevelCollection& c) {
        return c.usagePage == kConfigUsagePage && c.usage == kConfigUsage;
    });
}

bool isMouseCollection(std::uint16_t usagePage, std::uint16_t usage)
{
    return usagePage == kGenericDesktopPage && usage == kMouseUsage;
}

bool isKeyboardCollection(std::uint16_t usagePage, std::uint16_t usage)
{
    return usagePage == kKeyboardPage ||
           (usagePage == kGenericDesktopPage && (usage == kKeyboardUsage || usage == kKeypadUsage));
}

ProbeVerdict probeHidrawNode(const fs::path& hidrawSyspath, const std::vector<std::string>& includeList)
{
    std::error_code error;
    const fs::path hidDevice = fs::canonical(hidrawSyspath / "device", error);
    if (error)
        return ProbeVerdict::Unreadable;
    const std::optional<HidInterfaceIdentity> identity = readHidInterfaceIdentity(hidrawSyspath);
    const std::optional<std::vector<HidTopLevelCollection>> own = collectionsOf(hidDevice);
    if (!identity || !own)
        return ProbeVerdict::Unreadable;

    const auto config = std::find_if(own->begin(), own->end(), [](const HidTopLevelCollection& c) {
        return c.usagePage == kConfigUsagePage && c.usage == kConfigUsage;
    });
    if (config == own->end())
        return ProbeVerdict::NoConfigCollection;

    bool mouse = false;
    for (const fs::path& sibling : hidDevicesOfSameDevice(hidDevice, *identity)) {
        const std::optional<std::vector<HidTopLevelCollection>> collections =
            sibling == hidDevice ? own : collectionsOf(sibling);
        // A keyboard could hide behind a descriptor that cannot be read.
        if (!collections)
            return ProbeVerdict::Unreadable;
        for (const HidTopLevelCollection& c : *collections) {
            if (isKeyboardCollection(c.usagePage, c.usage))
                return ProbeVerdict::KeyboardOnDevice;
            mouse = mouse || isMouseCollection(c.usagePage, c.usage);
        }
    }
    if (!mouse)
        return ProbeVerdict::NoMouse;

    if (!includeList.empty()) {
        const std::vector<std::string> ids = windowsHardwareIds(
            *identity, config->usagePage, config->usage, std::size_t(config - own->begin()), own->size());
        const bool listed = std::any_of(includeList.begin(), includeList.end(), [&](const std::string& entry) {
            return std::any_of(ids.begin(), ids.end(), [&](const std::string& id) { return sameIgnoringCase(entry, id); });
        });
        if (!listed)
            return ProbeVerdict::NotIncluded;
    }
    return ProbeVerdict::Granted;
}

std::vector<std::string> includeListFromIni(std::string_view fileBytes)
{
    const std::string text = asUtf8(fileBytes);
    std::vector<std::pair<std::string, std::string>> entries;
    bool inSection = false;
    bool sectionSeen = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = trimmed(std::string_view(text).substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            const std::string_view name = trimmed(line.substr(1, close == std::string_view::npos ? close : close - 1));
            // Only the first section of that name counts, as in the programs.
            inSection = !sectionSeen && sameIgnoringCase(name, "IncludeHIDDeviceList");
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inSection || eq == std::string_view::npos || eq == 0)
            continue;
        const std::string_view key = trimmed(line.substr(0, eq));
        const bool known = std::any_of(entries.begin(), entries.end(),
                                       [&](const auto& e) { return sameIgnoringCase(e.first, key); });
        if (!known)
            entries.emplace_back(key, trimmed(line.substr(eq + 1)));
    }

    std::vector<std::string> list;
    for (int i = 1; i <= kMaxIncludeEntries; ++i) {
        const std::string key = "id" + std::to_string(i);
        const auto entry =
            std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return sameIgnoringCase(e.first, key); });
        if (entry == entries.end() || entry->second.empty())
            break;
        list.push_back(entry->second);
    }
    return list;
}

std::vector<std::string> readIncludeList(const fs::path& configIni)
{
    const std::optional<std::string> bytes = readWholeFile(configIni);
    return bytes ? includeListFromIni(*bytes) : std::vector<std::string>{};
}

} // namespace k4812
