#include "wire/LightEncoding.h"

#include <algorithm>

namespace k4812 {

int ReportRateCode(const TMOUSEPROFILEINFO& profile, EncodingNotes* notes)
{
    const int hertz = profile.ConfigInfo.ReportRate;
    for (const ReportRateRow& row : kReportRates) {
        if (row.hertz == hertz)
            return row.code;
    }
    addEncodingNote(notes, QStringLiteral("report rate %1 Hz is not one the mouse offers; sent as 500 Hz").arg(hertz));
    return kDefaultReportRateCode;
}

std::uint8_t EncodeReportRateByte(int bank0Code, int bank1Code)
{
    // Codes are 1 to 8; a nibble never takes more than 15.
    return std::uint8_t((std::clamp(bank1Code, 0, 15) << 4) | std::clamp(bank0Code, 0, 15));
}

LightBlock EncodeLightBlock(const TLEDCONFIG& light)
{
    return {std::uint8_t(255 - light.G), std::uint8_t(255 - light.B), std::uint8_t(255 - light.R),
            light.BRIGHT_LEVEL, light.BREATH_SPEED, light.BREATH_SECOND};
}

std::uint8_t EncodeWheelLightByte(int wheelLedOnOff, int hwVWheelValue)
{
    return std::uint8_t((wheelLedOnOff != 0 ? 0x80 : 0) | (hwVWheelValue & 0x7F));
}

} // namespace k4812
