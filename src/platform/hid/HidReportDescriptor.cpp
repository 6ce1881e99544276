#include "platform/hid/HidReportDescriptor.h"

#include <algorithm>
#include <array>
#include <optional>

namespace k4812 {

namespace {

// Item types and tags of the HID short-item format.
enum ItemType : unsigned { kMain = 0, kGlobal = 1, kLocal = 2 };
enum MainTag : unsigned { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC };
enum GlobalTag : unsigned {
    kUsagePage = 0x0,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};
enum LocalTag : unsigned { kUsage = 0x0, kUsageMinimum = 0x1 };
constexpr std::uint8_t kLongItemPrefix = 0xFE;

enum ReportKind { kInputReport, kOutputReport, kFeatureReport, kReportKinds };

// A report longer than this many bits is counted as this long; it keeps the
// byte length, report ID byte included, within 32 bits.
constexpr std::uint64_t kMaxReportBits = (std::uint64_t(UINT32_MAX) - 1) * 8;

struct GlobalState {
    std::uint32_t usagePage = 0;
    std::uint32_t reportSize = 0;
    std::uint32_t reportCount = 0;
    std::uint32_t reportId = 0;
};

struct NamedUsage {
    std::uint32_t value = 0;
    bool extended = false;   // a 4-byte usage carries its own usage page
};

// What names a collection: the first Usage since the last main item, failing
// that the first Usage Minimum.
struct LocalState {
    std::optional<NamedUsage> usage;
    std::optional<NamedUsage> minimum;
};

// Bits per report ID and kind within the top-level collection being read.
class ReportSizes {
public:
    void clear()
    {
        for (auto& kind : m_bits)
            kind.fill(0);
        m_present.fill(false);
    }

    void add(ReportKind kind, std::uint32_t reportId, std::uint64_t bits)
    {
        std::uint64_t& total = m_bits[kind][reportId];
        total = std::min(kMaxReportBits, total + std::min(bits, kMaxReportBits));
        m_present[kind] = true;
    }

    // The longest report of a kind in bytes, plus one for the report ID.
    std::uint32_t byteLength(ReportKind kind) const
    {
        if (!m_present[kind])
            return 0;
        const std::uint64_t longest = *std::max_element(m_bits[kind].cbegin(), m_bits[kind].cend());
        return std::uint32_t((longest + 7) / 8 + 1);
    }

private:
    std::array<std::array<std::uint64_t, 256>, kReportKinds> m_bits{};
    std::array<bool, kReportKinds> m_present{};
};

std::string fault(const char* what, std::size_t offset)
{
    return std::string(what) + " at byte " + std::to_string(offset);
}

} // namespace

HidDescriptorSummary parseHidReportDescriptor(std::span<const std::uint8_t> descriptor)
{
    HidDescriptorSummary summary;
    GlobalState global;
    std::vector<GlobalState> globalStack;
    LocalState local;
    ReportSizes sizes;
    HidTopLevelCollection current;
    std::size_t depth = 0;

    const std::size_t size = descriptor.size();
    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t offset = pos;
        const std::uint8_t prefix = descriptor[pos];
        if (prefix == kLongItemPrefix) {
            // Long items carry no meaning for the capabilities; skip them whole.
            if (size - pos < 3) {
                summary.error = fault("truncated long item", offset);
                return summary;
            }
            const std::size_t dataSize = descriptor[pos + 1];
            if (size - pos - 3 < dataSize) {
                summary.error = fault("truncated long item", offset);
                return summary;
            }
            pos += 3 + dataSize;
            continue;
        }

        const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        const unsigned type = (prefix >> 2) & 3;
        const unsigned tag = prefix >> 4;
        if (size - pos - 1 < dataSize) {
            summary.error = fault("truncated item", offset);
            return summary;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < dataSize; ++i)
            value |= std::uint32_t(descriptor[pos + 1 + i]) << (8 * i);
        pos += 1 + dataSize;

        if (type == kGlobal) {
            switch (tag) {
            case kUsagePage: global.usagePage = value; break;
            case kReportSize: global.reportSize = value; break;
            case kReportCount: global.reportCount = value; break;
            case kReportId:
                if (value == 0 || value > 255) {
                    summary.error = fault("invalid report ID", offset);
                    return summary;
                }
                global.reportId = value;
                break;
            case kPush:
                if (globalStack.size() >= kMaxHidGlobalStack) {
                    summary.error = fault("too many nested Push items", offset);
                    return summary;
                }
                globalStack.push_back(global);
                break;
            case kPop:
                if (globalStack.empty()) {
                    summary.error = fault("Pop without Push", offset);
                    return summary;
                }
                global = globalStack.back();
                globalStack.pop_back();
                break;
            default: break;
            }
            continue;
        }
        if (type == kLocal) {
            if (tag == kUsage && !local.usage)
                local.usage = NamedUsage{value, dataSize == 4};
            else if (tag == kUsageMinimum && !local.minimum)
                local.minimum = NamedUsage{value, dataSize == 4};
            continue;
        }
        if (type != kMain)
            continue;   // reserved item type

        switch (tag) {
        case kInput:
        case kOutput:
        case kFeature:
            // Data outside every collection belongs to no top-level collection.
            if (depth > 0) {
                const ReportKind kind = tag == kInput ? kInputReport : tag == kOutput ? kOutputReport : kFeatureReport;
                sizes.add(kind, global.reportId, std::uint64_t(global.reportSize) * global.reportCount);
            }
            break;
        case kCollection:
            if (depth == 0) {
                const std::optional<NamedUsage>& name = local.usage ? local.usage : local.minimum;
                current = {};
                // A short usage takes the usage page in effect at the Collection item.
                current.usagePage = name && name->extended ? std::uint16_t(name->value >> 16)
                                                           : std::uint16_t(global.usagePage);
                current.usage = name ? std::uint16_t(name->value) : 0;
                sizes.clear();
            }
            ++depth;
            break;
        case kEndCollection:
            if (depth == 0) {
                summary.error = fault("End Collection without Collection", offset);
                return summary;
            }
            if (--depth == 0) {
                current.inputReportByteLength = sizes.byteLength(kInputReport);
                current.outputReportByteLength = sizes.byteLength(kOutputReport);
                current.featureReportByteLength = sizes.byteLength(kFeatureReport);
                summary.collections.push_back(current);
            }
            break;
        default: break;
        }
        local = {};
    }
    if (depth > 0)
        summary.error = fault("Collection not closed", size);
    return summary;
}

} // namespace k4812
