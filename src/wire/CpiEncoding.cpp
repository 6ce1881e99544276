#include "wire/CpiEncoding.h"

#include <algorithm>
#include <cstdlib>

namespace k4812 {

int NearestOfTwo(int low, int high, int value)
{
    // 64-bit differences: no overflow whatever ints come in.
    const long long toLow = std::abs((long long)value - low);
    const long long toHigh = std::abs((long long)value - high);
    return toHigh < toLow ? high : low;
}

int CpiStepIndex(int value)
{
    constexpr int last = int(kCpiSteps.size()) - 1;
    if (value <= kCpiSteps.front())
        return 0;
    if (value >= kCpiSteps.back())
        return last;
    int k = 0;
    while (!(kCpiSteps[k] <= value && value < kCpiSteps[k + 1]))
        ++k;
    return NearestOfTwo(kCpiSteps[k], kCpiSteps[k + 1], value) == kCpiSteps[k] ? k : k + 1;
}

int SnapCpi(int value)
{
    return kCpiSteps[CpiStepIndex(value)];
}

int DeviceCpiCode(int x, int y)
{
    if (x == 0 || y == 0)
        return 1;
    return CpiStepIndex(std::max(x, y)) + 1;
}

int CpiOfDeviceCode(int code)
{
    if (code < 1 || code > int(kCpiSteps.size()))
        return 0;
    return kCpiSteps[code - 1];
}

CpiBlock EncodeCpiBlock(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes)
{
    const TMOUSECONFIGINFO& config = profile.ConfigInfo;
    CpiBlock block{};
    block[0] = clampToByte(config.CPILevel, "CPILevel", notes);
    block[1] = clampToByte(config.CurrentCPIIndex, "CurrentCPIIndex", notes);
    for (int k = 0; k < kCpiBlockLevels; ++k) {
        const TCPILEVELINFO level = config.CPIState[k];   // a copy: the record is packed
        const std::uint8_t enabled = clampToByte(level.Enabled, "CPI level Enabled", notes);
        block[2 + 3 * k] = enabled;
        if (enabled != 0) {
            const auto code = std::uint8_t(DeviceCpiCode(level.X, level.Y));
            block[3 + 3 * k] = code;
            block[4 + 3 * k] = code;
        }
    }
    return block;
}

} // namespace k4812
