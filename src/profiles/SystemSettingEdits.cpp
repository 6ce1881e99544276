#include "profiles/SystemSettingEdits.h"

#include "platform/desktop/PointerSettings.h"

namespace k4812 {

bool SetDoubleClickTrack(TMOUSEPROFILEINFO& profile, int trackValue)
{
    if (trackValue < kDoubleClickTrackMin || trackValue > kDoubleClickTrackMax)
        return false;
    profile.ConfigInfo.DoubleClickSpeed = std::uint16_t(DoubleClickTimeOfTrack(trackValue));
    return true;
}

bool SetPointerSpeed(TMOUSEPROFILEINFO& profile, int speed)
{
    if (speed < kMinPointerSpeed || speed > kMaxPointerSpeed)
        return false;
    profile.ConfigInfo.PointerSpeed = std::uint16_t(speed);
    return true;
}

void SetPointerPrecision(TMOUSEPROFILEINFO& profile, bool enhance)
{
    profile.ConfigInfo.PointerAcceleration = enhance ? 1 : 0;
}

bool SetScrollLines(TMOUSEPROFILEINFO& profile, int lines)
{
    if (lines < kScrollLinesMin || lines > kScrollLinesMax)
        return false;
    profile.ConfigInfo.VWheelSpeed = std::uint16_t(lines);
    return true;
}

void SetScrollOnePage(TMOUSEPROFILEINFO& profile)
{
    profile.ConfigInfo.VWheelSpeed = kScrollOnePageLines;
}

} // namespace k4812
