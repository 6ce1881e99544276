#include "platform/hid/ConfigInterfaceProbe.h"

#include "platform/hid/HidReportDescriptor.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace k4812 {

bool hasConfigCollection(std::span<const std::uint8_t> descriptor)
{
    const HidDescriptorSummary summary = parseHidReportDescriptor(descriptor);
    return std::any_of(summary.collections.cbegin(), summary.collections.cend(), [](const HidTopLevelCollection& c) {
        return c.usagePage == kConfigUsagePage && c.usage == kConfigUsage;
    });
}

ConfigProbeResult probeHidrawNode(const std::filesystem::path& hidrawSyspath)
{
    std::ifstream file(hidrawSyspath / "device" / "report_descriptor", std::ios::binary);
    if (!file)
        return {};
    // A descriptor is at most 4096 bytes; read a little more to be lenient,
    // never an unbounded amount.
    std::vector<std::uint8_t> descriptor(65536);
    file.read(reinterpret_cast<char*>(descriptor.data()), std::streamsize(descriptor.size()));
    if (file.bad())
        return {};
    descriptor.resize(std::size_t(file.gcount()));
    return {true, hasConfigCollection(descriptor)};
}

} // namespace k4812
