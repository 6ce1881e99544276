#pragma once
// The small device settings: report rate, light and the wheel-light byte.

#include "wire/DeviceByte.h"
#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace k4812 {

// The report-rate code is the report interval in milliseconds.
struct ReportRateRow {
    int hertz;
    int code;
};
constexpr std::array<ReportRateRow, 4> kReportRates{{{125, 8}, {250, 4}, {500, 2}, {1000, 1}}};
constexpr int kDefaultReportRateCode = 2;   // 500 Hz, the factory default

// The code of the profile's ReportRate. A rate other than 125, 250, 500 and
// 1000 Hz takes the factory default's code (500 Hz).
int ReportRateCode(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes = nullptr);

// The report-rate byte shared by both banks: bank 1's code in the high
// nibble, bank 0's in the low one.
std::uint8_t EncodeReportRateByte(int bank0Code, int bank1Code);

// Complemented colour in the order green, blue, red, then brightness,
// breathing speed and BREATH_SECOND.
using LightBlock = std::array<std::uint8_t, kLightBlockSize>;
LightBlock EncodeLightBlock(const TLEDCONFIG& light);

// Bit 7 = light on (any WheelLedOnOff other than 0), bits 0-6 = the low seven
// bits of HWVWheelValue.
std::uint8_t EncodeWheelLightByte(int wheelLedOnOff, int hwVWheelValue);

} // namespace k4812
