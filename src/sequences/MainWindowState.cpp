#include "sequences/MainWindowState.h"

#include "platform/desktop/PointerSettings.h"

#include <algorithm>

namespace k4812 {

TSYSTEMMOUSEPARAMS SystemMouseParamsOf(const TMOUSEPROFILEINFO& profile)
{
    TSYSTEMMOUSEPARAMS params{};
    params.PointerSpeed = std::clamp<std::int32_t>(profile.ConfigInfo.PointerSpeed, kMinPointerSpeed, kMaxPointerSpeed);
    params.WheelScrollLines = profile.ConfigInfo.VWheelSpeed;
    params.AccelerationIndex = profile.ConfigInfo.PointerAcceleration;
    return params;
}

} // namespace k4812
