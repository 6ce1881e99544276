#include "profiles/SensitivityEdits.h"

#include "wire/CpiEncoding.h"

#include <algorithm>

namespace k4812 {

namespace {

void setEnabled(TMOUSECONFIGINFO& config, int level, bool enabled)
{
    const std::uint16_t flag = enabled ? 1 : 0;
    config.CPIState[level].Enabled = flag;
    config.HWCPIState[level].Enabled = flag;
}

} // namespace

bool IsCpiValueInRange(int value)
{
    return value >= kCpiValueMin && value <= kCpiValueMax;
}

bool ChangeCpiValue(TMOUSEPROFILEINFO& profile, int level, CpiAxis axis, int value)
{
    if (level < 0 || level >= kCpiLevelsShown || !IsCpiValueInRange(value))
        return false;
    TMOUSECONFIGINFO& config = profile.ConfigInfo;
    TCPILEVELINFO state = config.CPIState[level];
    const auto v = std::uint16_t(value);
    if (config.ApplyDiffirentXY != 0) {
        if (axis == CpiAxis::X)
            state.X = v;
        else
            state.Y = v;
    } else {
        state.X = v;
        state.Y = v;
    }
    config.CPIState[level] = state;
    const auto snapped = std::uint16_t(SnapCpi(std::max<int>(state.X, state.Y)));
    config.HWCPIState[level] = TCPILEVELINFO{snapped, snapped, state.Enabled};
    NormalizeCpiLevels(profile);
    return true;
}

bool SetCpiLevelCount(TMOUSEPROFILEINFO& profile, int count)
{
    if (count < 1 || count > kCpiLevelsShown)
        return false;
    for (int i = 0; i < kCpiLevelsShown; ++i)
        setEnabled(profile.ConfigInfo, i, i < count);
    profile.ConfigInfo.CPILevel = std::uint16_t(count);
    return true;
}

int NormalizeCpiLevels(TMOUSEPROFILEINFO& profile)
{
    int inUse = 0;
    for (int i = 0; i < kCpiLevelsShown; ++i) {
        if (profile.ConfigInfo.CPIState[i].Enabled == 1)
            ++inUse;
    }
    for (int i = 0; i < kCpiLevelsShown; ++i)
        setEnabled(profile.ConfigInfo, i, i < inUse);
    return inUse;
}

void SetDifferentXY(TMOUSEPROFILEINFO& profile, bool different)
{
    profile.ConfigInfo.ApplyDiffirentXY = different ? 1 : 0;
}

} // namespace k4812
