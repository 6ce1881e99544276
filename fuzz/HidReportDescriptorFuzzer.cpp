// Feeds arbitrary bytes to the report-descriptor reader. Besides the
// sanitizers' checks, it insists on what every result must satisfy.

#include "platform/hid/HidReportDescriptor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const k4812::HidDescriptorSummary whole = k4812::parseHidReportDescriptor({data, size});
    // A collection takes at least a Collection and an End Collection byte.
    if (whole.collections.size() > size / 2)
        std::abort();
    // Bytes after a cut cannot change the collections closed before it, so
    // the collections of any prefix begin the whole descriptor's list.
    const std::size_t cut = size == 0 ? 0 : data[0] % size;
    const k4812::HidDescriptorSummary prefix = k4812::parseHidReportDescriptor({data, cut});
    if (prefix.collections.size() > whole.collections.size()
        || !std::equal(prefix.collections.begin(), prefix.collections.end(), whole.collections.begin()))
        std::abort();
    return 0;
}
