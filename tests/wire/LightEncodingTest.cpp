#include "wire/LightEncoding.h"

#include "DefaultProfileFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace k4812;

namespace {

std::vector<int> bytesOf(const LightBlock& block)
{
    return {block.begin(), block.end()};
}

} // namespace

TEST(LightEncoding, ColourIsComplementedGreenBlueRed)
{
    EXPECT_EQ(bytesOf(EncodeLightBlock(test::makeDefaultProfile()->ConfigInfo.LEDConfig)),
              (std::vector<int>{0xFF, 0x00, 0xFF, 0x01, 0x01, 0x00}));
    EXPECT_EQ(bytesOf(EncodeLightBlock(TLEDCONFIG{255, 0, 0, 3, 2, 0})),
              (std::vector<int>{0xFF, 0xFF, 0x00, 0x03, 0x02, 0x00}));
    EXPECT_EQ(bytesOf(EncodeLightBlock(TLEDCONFIG{0x12, 0x34, 0x56, 0, 0, 9})),
              (std::vector<int>{0xCB, 0xA9, 0xED, 0x00, 0x00, 0x09}));
}

TEST(LightEncoding, WheelLightByte)
{
    struct Case {
        int onOff;
        int value;
        int byte;
    };
    const Case cases[] = {
        {1, 1, 0x81}, {0, 1, 0x01}, {1, 0x85, 0x85}, {0, 0x85, 0x05},
        {1, std::int8_t(-123), 0x85},   // 0x85 as the record's signed byte
        {0, 0, 0x00}, {2, 0x7F, 0xFF}, {-1, 0, 0x80},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeWheelLightByte(c.onOff, c.value), c.byte) << c.onOff << " " << c.value;
}

TEST(LightEncoding, ReportRateCodes)
{
    struct Case {
        int hertz;
        int code;
        bool noted;
    };
    const Case cases[] = {{125, 8, false}, {250, 4, false}, {500, 2, false}, {1000, 1, false},
                          {0, 2, true},    {1001, 2, true}, {65535, 2, true}};
    auto profile = test::makeDefaultProfile();
    for (const Case& c : cases) {
        profile->ConfigInfo.ReportRate = std::uint16_t(c.hertz);
        EncodingNotes notes;
        EXPECT_EQ(ReportRateCode(*profile, &notes), c.code) << c.hertz;
        EXPECT_EQ(!notes.isEmpty(), c.noted) << c.hertz;
    }
    EXPECT_EQ(EncodeReportRateByte(2, 2), 0x22);
    EXPECT_EQ(EncodeReportRateByte(1, 8), 0x81);
    EXPECT_EQ(EncodeReportRateByte(1, 4), 0x41);
}
