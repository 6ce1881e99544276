#pragma once
// The edits of the Advanced page on a profile record, shared by the window
// and the command line: report rate, light on or off, colour and breathing
// speed. The caller writes the profile back and, for colour and breathing
// speed, shows the light on the mouse (PreviewLight) as the page does.

#include "records/Records.h"

#include <cstdint>

namespace k4812 {

constexpr int kBreathingSpeedMin = 1;
constexpr int kBreathingSpeedMax = 3;

// The brightness and breathing speed that "Turn On" sets.
constexpr std::uint8_t kLightOnBrightness = 3;
constexpr std::uint8_t kLightOnBreathingSpeed = 1;

// ReportRate: 125, 250, 500 or 1000 Hz; false, nothing changed, for any other.
bool SetReportRate(TMOUSEPROFILEINFO& profile, int hertz);

// "Turn On": WheelLedOnOff 1, brightness 3, breathing speed 1.
// "Turn Off": WheelLedOnOff 0, brightness 0, breathing speed 0.
void SetLightOn(TMOUSEPROFILEINFO& profile, bool on);

// R, G, B of LEDConfig.
void SetLightColor(TMOUSEPROFILEINFO& profile, std::uint8_t r, std::uint8_t g, std::uint8_t b);

// BREATH_SPEED, 1 to 3; false, nothing changed, outside.
bool SetBreathingSpeed(TMOUSEPROFILEINFO& profile, int speed);

} // namespace k4812
