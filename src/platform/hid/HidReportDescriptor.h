#pragma once
// Reads a HID report descriptor into its top-level collections, with the
// capabilities Windows reports for each: usage page, usage and the longest
// Input, Output and Feature report in bytes, plus one byte for the report ID
// (0 when the collection has no report of that kind).
//
// The descriptor comes from whatever device is plugged in, so the reader
// trusts nothing: it never reads past the end, stops at the first fault, and
// saturates report sizes rather than overflow.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace k4812 {

struct HidTopLevelCollection {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint32_t inputReportByteLength = 0;
    std::uint32_t outputReportByteLength = 0;
    std::uint32_t featureReportByteLength = 0;

    bool operator==(const HidTopLevelCollection&) const = default;
};

struct HidDescriptorSummary {
    // Every top-level collection closed before the end or the first fault,
    // in descriptor order.
    std::vector<HidTopLevelCollection> collections;
    // Empty when the whole descriptor was read without fault; otherwise what
    // was wrong and at which byte offset.
    std::string error;
};

// More nested Push items than this is a fault.
constexpr std::size_t kMaxHidGlobalStack = 32;

HidDescriptorSummary parseHidReportDescriptor(std::span<const std::uint8_t> descriptor);

} // namespace k4812
