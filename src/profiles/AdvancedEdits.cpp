#include "profiles/AdvancedEdits.h"

#include "wire/LightEncoding.h"

#include <algorithm>

namespace k4812 {

bool SetReportRate(TMOUSEPROFILEINFO& profile, int hertz)
{
    const bool offered = std::any_of(kReportRates.begin(), kReportRates.end(),
                                     [hertz](const ReportRateRow& r) { return r.hertz == hertz; });
    if (!offered)
        return false;
    profile.ConfigInfo.ReportRate = std::uint16_t(hertz);
    return true;
}

void SetLightOn(TMOUSEPROFILEINFO& profile, bool on)
{
    TLEDCONFIG light = profile.ConfigInfo.LEDConfig;
    light.BRIGHT_LEVEL = on ? kLightOnBrightness : 0;
    light.BREATH_SPEED = on ? kLightOnBreathingSpeed : 0;
    profile.ConfigInfo.LEDConfig = light;
    profile.ConfigInfo.WheelLedOnOff = on ? 1 : 0;
}

void SetLightColor(TMOUSEPROFILEINFO& profile, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    TLEDCONFIG light = profile.ConfigInfo.LEDConfig;
    light.R = r;
    light.G = g;
    light.B = b;
    profile.ConfigInfo.LEDConfig = light;
}

bool SetBreathingSpeed(TMOUSEPROFILEINFO& profile, int speed)
{
    if (speed < kBreathingSpeedMin || speed > kBreathingSpeedMax)
        return false;
    TLEDCONFIG light = profile.ConfigInfo.LEDConfig;
    light.BREATH_SPEED = std::uint8_t(speed);
    profile.ConfigInfo.LEDConfig = light;
    return true;
}

} // namespace k4812
