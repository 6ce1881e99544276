#pragma once
// What the Advanced page shows for a profile: which report-rate radio is
// ticked, whether the light shows as on, and which of the six colour
// swatches is the profile's colour.

#include "records/Records.h"

#include <array>
#include <cstdint>

namespace k4812 {

// The four report-rate radios, in order (125, 250, 500, 1000 Hz).
inline constexpr std::array<int, 4> kReportRateRadios{125, 250, 500, 1000};

// The radio (0 to 3) that shows `ReportRate`; a rate the radios do not offer
// shows as the first (125 Hz) and stays stored as it is.
int ReportRateRadioOf(int reportRate);

// "Turn On" is ticked when the wheel light is on or the brightness is not 0.
bool ShowsLightOn(const TMOUSEPROFILEINFO& profile);

// The six light colours, as ARGB values; their red, green and blue bytes are
// what a click stores in LEDConfig.
inline constexpr std::array<std::uint32_t, 6> kLightSwatches{
    0xFFFF0000u, 0xFFFFFF00u, 0xFF00FF00u, 0xFF036160u, 0xFFFF00FFu, 0xFF0000FFu};

struct LightColor {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

constexpr LightColor LightColorOf(std::uint32_t argb)
{
    return {std::uint8_t(argb >> 16), std::uint8_t(argb >> 8), std::uint8_t(argb)};
}

// The first swatch (0 to 5) whose colour is the profile's R, G, B; the first
// swatch (red) when none is. The profile keeps its own colour either way.
int LightSwatchOf(const TMOUSEPROFILEINFO& profile);

} // namespace k4812
