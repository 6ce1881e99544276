#include "wire/CpiEncoding.h"

#include "DefaultProfileFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace k4812;

namespace {

std::vector<int> bytesOf(const CpiBlock& block)
{
    return {block.begin(), block.end()};
}

} // namespace

TEST(CpiEncoding, SnapsToTheNearestStepWithTiesGoingDown)
{
    struct Case {
        int value;
        int step;
        int cpi;
    };
    const Case cases[] = {
        {-5, 0, 400},   {0, 0, 400},     {100, 0, 400},   {400, 0, 400},   {599, 0, 400},
        {600, 0, 400},  {601, 1, 800},   {800, 1, 800},   {1000, 1, 800},  {1001, 2, 1200},
        {1450, 2, 1200}, {1451, 3, 1700}, {1600, 3, 1700}, {1900, 3, 1700}, {1901, 4, 2100},
        {2300, 4, 2100}, {2301, 5, 2500}, {2400, 5, 2500}, {2750, 5, 2500}, {2751, 6, 3000},
        {3200, 6, 3000}, {3201, 7, 3400}, {3400, 7, 3400}, {3500, 7, 3400}, {65535, 7, 3400},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CpiStepIndex(c.value), c.step) << c.value;
        EXPECT_EQ(SnapCpi(c.value), c.cpi) << c.value;
    }
}

TEST(CpiEncoding, NearestOfTwoPrefersLowOnATie)
{
    EXPECT_EQ(NearestOfTwo(400, 800, 600), 400);
    EXPECT_EQ(NearestOfTwo(400, 800, 601), 800);
    EXPECT_EQ(NearestOfTwo(400, 800, 599), 400);
    EXPECT_EQ(NearestOfTwo(0, 2'000'000'000, -2'000'000'000), 0);   // no overflow
}

TEST(CpiEncoding, DeviceCodeUsesTheLargerAxisAndOneForAZeroAxis)
{
    struct Case {
        int x;
        int y;
        int code;
    };
    const Case cases[] = {
        {400, 400, 1}, {800, 800, 2}, {1600, 1600, 4}, {3500, 3500, 8}, {100, 100, 1},
        {800, 2400, 6}, {2400, 800, 6}, {0, 800, 1}, {3400, 0, 1}, {0, 0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DeviceCpiCode(c.x, c.y), c.code) << c.x << "x" << c.y;
    for (int code = 1; code <= 8; ++code)
        EXPECT_EQ(DeviceCpiCode(CpiOfDeviceCode(code), CpiOfDeviceCode(code)), code);
    EXPECT_EQ(CpiOfDeviceCode(0), 0);
    EXPECT_EQ(CpiOfDeviceCode(9), 0);
}

TEST(CpiEncoding, DefaultProfileBlockByteForByte)
{
    const auto profile = test::makeDefaultProfile();
    std::vector<int> expected = {0x04, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02, 0x02,
                                 0x01, 0x04, 0x04, 0x01, 0x08, 0x08};
    expected.resize(kCpiBlockSize, 0);
    EXPECT_EQ(bytesOf(EncodeCpiBlock(*profile)), expected);
}

TEST(CpiEncoding, BlockCarriesTenLevelsAndZeroCodesForDisabledOnes)
{
    auto profile = test::makeDefaultProfile();
    TMOUSECONFIGINFO& c = profile->ConfigInfo;
    c.CPIState[1] = TCPILEVELINFO{800, 2400, 0};   // disabled: no codes even with values
    c.CPIState[2] = TCPILEVELINFO{800, 2400, 1};
    c.CPIState[9] = TCPILEVELINFO{0, 800, 1};      // the last level that travels
    c.CPIState[10] = TCPILEVELINFO{3400, 3400, 1}; // never sent
    const CpiBlock block = EncodeCpiBlock(*profile);
    EXPECT_EQ(block[5], 0);
    EXPECT_EQ(block[6], 0);
    EXPECT_EQ(block[7], 0);
    EXPECT_EQ(block[8], 1);
    EXPECT_EQ(block[9], 6);
    EXPECT_EQ(block[10], 6);
    EXPECT_EQ(block[29], 1);
    EXPECT_EQ(block[30], 1);
    EXPECT_EQ(block[31], 1);
}

TEST(CpiEncoding, ValuesOutsideAByteAreClampedAndNoted)
{
    auto profile = test::makeDefaultProfile();
    TMOUSECONFIGINFO& c = profile->ConfigInfo;
    c.CPILevel = 300;
    c.CurrentCPIIndex = -1;
    c.CPIState[0].Enabled = 256;   // its low byte would read as "disabled"
    EncodingNotes notes;
    const CpiBlock block = EncodeCpiBlock(*profile, &notes);
    EXPECT_EQ(block[0], 255);
    EXPECT_EQ(block[1], 0);
    EXPECT_EQ(block[2], 255);
    EXPECT_EQ(block[3], 1);
    EXPECT_EQ(notes.size(), 3);
    EXPECT_TRUE(notes.join('\n').contains("CurrentCPIIndex = -1"));

    EncodingNotes none;
    EncodeCpiBlock(*test::makeDefaultProfile(), &none);
    EXPECT_TRUE(none.isEmpty());
}
