#include "sequences/LightSenders.h"

#include "wire/LightEncoding.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"

namespace k4812 {

namespace {

// Keeps the first failure of a group of commands that are all sent regardless.
class FirstError {
public:
    void keep(int error)
    {
        if (m_error == 0)
            m_error = error;
    }
    int value() const { return m_error; }

private:
    int m_error = 0;
};

} // namespace

int PreviewLight(TuiHIDData& device, const TMOUSEPROFILEINFO& profile)
{
    const LightBlock light = EncodeLightBlock(profile.ConfigInfo.LEDConfig);
    const std::uint8_t wheelLight =
        EncodeWheelLightByte(profile.ConfigInfo.WheelLedOnOff, profile.ConfigInfo.HWVWheelValue);
    FirstError error;
    error.keep(SendUpdateMark(device, kUpdateMarkBegin));
    error.keep(SendLightPreview(device, {light[0], light[1], light[2], light[3], light[4]}));
    error.keep(WriteDeviceMemory(device, kWheelLightAddress, &wheelLight, 1));
    error.keep(SendUpdateMark(device, kUpdateMarkEnd));
    return error.value();
}

int RestoreLight(TuiHIDData& device, Pauser& pauser, const TLEDCONFIG& savedLight, int activeMode,
                 LastActivatedProfile& activation)
{
    const LightBlock light = EncodeLightBlock(savedLight);
    const int bank = activeMode == 0 ? 0 : 1;
    FirstError error;
    error.keep(SendUpdateMark(device, kUpdateMarkBegin));
    error.keep(WriteDeviceMemory(device, bankAddress(bank, kLightBlockOffset), light.data(), light.size()));
    pauser.pause(kPauseBeforeLightActivation);
    error.keep(SendActivation(device, activation));
    error.keep(SendUpdateMark(device, kUpdateMarkEnd));
    return error.value();
}

} // namespace k4812
