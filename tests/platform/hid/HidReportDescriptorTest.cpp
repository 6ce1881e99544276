#include "platform/hid/HidReportDescriptor.h"

#include "SampleDescriptors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace k4812;
using namespace k4812::test;

namespace {

struct KnownDescriptor {
    int line = 0;
    Bytes bytes;
    std::vector<HidTopLevelCollection> collections;
};

// tests/data/hid-descriptors.txt: "rdesc HEX" followed by one line
// "tlc PAGE USAGE INPUT OUTPUT FEATURE" per top-level collection, with the
// lengths Windows reports.
std::vector<KnownDescriptor> readKnownDescriptors()
{
    std::ifstream file(std::string(K4812_TEST_DATA_DIR) + "/hid-descriptors.txt");
    std::vector<KnownDescriptor> known;
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "rdesc") {
            std::string hex;
            words >> hex;
            known.push_back({number, fromHex(hex), {}});
        } else if (kind == "tlc" && !known.empty()) {
            std::string page, usage;
            std::uint32_t input = 0, output = 0, feature = 0;
            words >> page >> usage >> input >> output >> feature;
            known.back().collections.push_back({std::uint16_t(std::stoul(page, nullptr, 16)),
                                                std::uint16_t(std::stoul(usage, nullptr, 16)), input, output, feature});
        }
    }
    return known;
}

std::string describe(const std::vector<HidTopLevelCollection>& collections)
{
    std::string text;
    for (const HidTopLevelCollection& c : collections) {
        char line[80];
        std::snprintf(line, sizeof line, "tlc %04X %04X %u %u %u\n", c.usagePage, c.usage, c.inputReportByteLength,
                      c.outputReportByteLength, c.featureReportByteLength);
        text += line;
    }
    return text;
}

} // namespace

TEST(HidReportDescriptor, MatchesWindowsOnRealDescriptors)
{
    const std::vector<KnownDescriptor> known = readKnownDescriptors();
    ASSERT_EQ(known.size(), 86u);
    for (const KnownDescriptor& k : known) {
        const HidDescriptorSummary summary = parseHidReportDescriptor(k.bytes);
        EXPECT_EQ(summary.error, "") << "line " << k.line;
        EXPECT_EQ(describe(summary.collections), describe(k.collections)) << "line " << k.line;
    }
}

namespace {

// Three collections with report IDs: a keyboard; consumer controls whose two
// reports differ in length; a vendor collection whose one feature report is
// split over two nested collections.
const Bytes kSeveralCollections = fromHex(
    "05010906a1018501050719e029e7150025017501950881029501750881019505750105081901290591029501750391019506"
    "7508150025650507190029658100c0"
    "050c0901a1018502150026ff0319002aff037510950181008503750895048102c0"
    "0600ff0901a1018504 0901a102 75089507b102 c0 0902 75089503b102 c0");

} // namespace

TEST(HidReportDescriptor, ReadsHandWrittenDescriptors)
{
    struct Case {
        const char* name;
        Bytes bytes;
        std::vector<HidTopLevelCollection> expected;
    };
    const Case cases[] = {
        {"boot mouse", kBootMouse, {{0x0001, 0x0002, 4, 0, 0}}},
        {"boot keyboard", kBootKeyboard, {{0x0001, 0x0006, 9, 2, 0}}},
        {"K4812", kK4812, {{0x0001, 0x0002, 7, 0, 0}, {0xFFA0, 0x0001, 0, 0, 4096}}},
        {"several collections", kSeveralCollections,
         {{0x0001, 0x0006, 9, 2, 0}, {0x000C, 0x0001, 5, 0, 0}, {0xFF00, 0x0001, 0, 0, 11}}},
        // A 4-byte usage names its own page; a short one takes the page in
        // effect at the Collection item, even when set after the usage.
        {"extended usage", fromHex("0b0100a0ffa101c0"), {{0xFFA0, 0x0001, 0, 0, 0}}},
        {"page after usage", fromHex("090205010a0100a101c0"), {{0x0001, 0x0002, 0, 0, 0}}},
        {"usage minimum names a collection", fromHex("0600ff1905290aa101c0"), {{0xFF00, 0x0005, 0, 0, 0}}},
        // Pop restores the size and count that Push saved.
        {"push and pop", fromHex("0600ff0901a1017508950ca475019501b48102c0"), {{0xFF00, 0x0001, 13, 0, 0}}},
        // Data before any collection belongs to none; a long item is skipped whole.
        {"items outside collections", fromHex("75089510810209 01a101fe03 10 b1 02 00 75089502b102c0"),
         {{0x0000, 0x0001, 0, 0, 3}}},
    };
    for (const Case& c : cases) {
        const HidDescriptorSummary summary = parseHidReportDescriptor(c.bytes);
        EXPECT_EQ(summary.error, "") << c.name;
        EXPECT_EQ(describe(summary.collections), describe(c.expected)) << c.name;
    }
}

TEST(HidReportDescriptor, StopsAtTheFirstFaultKeepingClosedCollections)
{
    struct Case {
        const char* name;
        Bytes bytes;
        std::size_t collections;
        const char* error;
    };
    Bytes deepPush(kMaxHidGlobalStack + 1, 0xA4);
    Bytes deepNesting;
    for (int i = 0; i < 10000; ++i)
        deepNesting.insert(deepNesting.end(), {0xA1, 0x00});
    Bytes mouseThenTruncated = kBootMouse;
    mouseThenTruncated.insert(mouseThenTruncated.end(), {0xA1, 0x01, 0x26, 0xFF});
    Bytes mouseThenStray = kBootMouse;
    mouseThenStray.push_back(0xC0);
    const Case cases[] = {
        {"empty", {}, 0, ""},
        {"truncated short item", fromHex("05010902a10175"), 0, "truncated item at byte 6"},
        {"truncated 4-byte item", fromHex("a10197ffff"), 0, "truncated item at byte 2"},
        {"truncated after a whole collection", mouseThenTruncated, 1, "truncated item"},
        {"truncated long item", fromHex("a101fe0500010203"), 0, "truncated long item at byte 2"},
        {"long item header cut", fromHex("a101fe05"), 0, "truncated long item"},
        {"stray end collection", fromHex("c0"), 0, "End Collection without Collection at byte 0"},
        {"one end collection too many", mouseThenStray, 1, "End Collection without Collection"},
        {"collection never closed", fromHex("0600ff0901a1017508950181 02"), 0, "Collection not closed"},
        {"deep nesting never closed", deepNesting, 0, "Collection not closed"},
        {"pop without push", fromHex("a101b4c0"), 0, "Pop without Push at byte 2"},
        {"push overflow", deepPush, 0, "too many nested Push items"},
        {"report ID 0", fromHex("a1018500c0"), 0, "invalid report ID"},
        {"report ID above 255", fromHex("a101860001c0"), 0, "invalid report ID"},
    };
    for (const Case& c : cases) {
        const HidDescriptorSummary summary = parseHidReportDescriptor(c.bytes);
        EXPECT_EQ(summary.collections.size(), c.collections) << c.name;
        if (*c.error == '\0')
            EXPECT_EQ(summary.error, "") << c.name;
        else
            EXPECT_NE(summary.error.find(c.error), std::string::npos) << c.name << ": " << summary.error;
    }
}

TEST(HidReportDescriptor, HugeReportsSaturateInsteadOfOverflowing)
{
    // Report size and count of 0xFFFFFFFF, twice in one feature report.
    const Bytes huge = fromHex("0600ff0901a10177ffffffff97ffffffffb102b10281020901c0");
    const HidDescriptorSummary summary = parseHidReportDescriptor(huge);
    ASSERT_EQ(summary.collections.size(), 1u);
    EXPECT_EQ(summary.collections[0].featureReportByteLength, UINT32_MAX);
    EXPECT_EQ(summary.collections[0].inputReportByteLength, UINT32_MAX);
    EXPECT_EQ(summary.collections[0].outputReportByteLength, 0u);
}
