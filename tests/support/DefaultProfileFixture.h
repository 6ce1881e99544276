#pragma once
// A profile with the factory defaults that the device encoders read: the
// button functions, CPI levels, report rate and light of a new profile.
// Built here field by field from the factory table, so that the encoder tests
// do not depend on the profile manager.

#include "wire/CpiEncoding.h"
#include "records/RecordBytes.h"
#include "records/Records.h"

#include <memory>

namespace k4812::test {

inline void setButton(TBUTTONFUNCINFO& e, int index, int functionClass, int functionIndex, int deviceCode, int menuId)
{
    e.ButtonIndex = std::uint16_t(index);
    e.FunctionClass = std::uint8_t(functionClass);
    e.FunctionIndex = std::uint16_t(functionIndex);
    e.DeviceCode = deviceCode;
    e.MenuID = menuId;
}

inline std::unique_ptr<TMOUSEPROFILEINFO> makeDefaultProfile()
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    profile->ProfileHeader.FFileVersion = kProfileFileVersion;
    TMOUSECONFIGINFO& c = profile->ConfigInfo;
    c.ButtonCount = 7;
    setButton(c.ButtonFuncInfo[0], 0, 1, 0, 1, 1);     // Click
    setButton(c.ButtonFuncInfo[1], 1, 1, 1, 2, 2);     // Right Click
    setButton(c.ButtonFuncInfo[2], 2, 1, 2, 3, 3);     // Middle Button
    setButton(c.ButtonFuncInfo[3], 3, 1, 4, 4, 5);     // Backward
    setButton(c.ButtonFuncInfo[4], 4, 1, 3, 5, 4);     // Forward
    setButton(c.ButtonFuncInfo[5], 5, 0, 30, 9, 13);   // DPI +
    setButton(c.ButtonFuncInfo[6], 6, 0, 31, 10, 14);  // DPI -
    setButton(c.VWheelButtonFuncInfo[0], 0, 1, 0, 11, 1);
    setButton(c.VWheelButtonFuncInfo[1], 1, 1, 1, 12, 2);
    c.HWVWheelValue = 1;
    c.WheelLedOnOff = 1;
    c.VWheelSpeed = 3;
    c.DoubleClickSpeed = 550;
    c.PointerSpeed = 10;
    c.ReportRate = 500;
    c.CPILevel = 4;
    c.CurrentCPIIndex = 1;
    c.LEDConfig = TLEDCONFIG{0, 0, 255, 1, 1, 0};
    const int levels[4] = {400, 800, 1600, 3500};
    for (int k = 0; k < 4; ++k) {
        c.UseDiffentXY[k] = 1;
        const auto v = std::uint16_t(levels[k]);
        c.CPIState[k] = TCPILEVELINFO{v, v, 1};
        const auto snapped = std::uint16_t(SnapCpi(levels[k]));
        c.HWCPIState[k] = TCPILEVELINFO{snapped, snapped, 1};
    }
    c.ApplyCPISettingEachProfile = 1;
    c.FireKeySpeed = 10;
    c.FireKeyCount = 2;
    return profile;
}

} // namespace k4812::test
