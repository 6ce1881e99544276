#include "profiles/AdvancedPageChoices.h"

namespace k4812 {

int ReportRateRadioOf(int reportRate)
{
    for (std::size_t i = 0; i < kReportRateRadios.size(); ++i) {
        if (kReportRateRadios[i] == reportRate)
            return int(i);
    }
    return 0;
}

bool ShowsLightOn(const TMOUSEPROFILEINFO& profile)
{
    const TLEDCONFIG light = profile.ConfigInfo.LEDConfig;
    return profile.ConfigInfo.WheelLedOnOff == 1 || light.BRIGHT_LEVEL != 0;
}

int LightSwatchOf(const TMOUSEPROFILEINFO& profile)
{
    const TLEDCONFIG light = profile.ConfigInfo.LEDConfig;
    for (std::size_t i = 0; i < kLightSwatches.size(); ++i) {
        const std::uint32_t argb = kLightSwatches[i];
        const LightColor c = LightColorOf(argb);
        if ((argb >> 24) == 0xFF && c.r == light.R && c.g == light.G && c.b == light.B)
            return int(i);
    }
    return 0;
}

} // namespace k4812
