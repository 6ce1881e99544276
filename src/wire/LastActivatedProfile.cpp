#include "wire/LastActivatedProfile.h"

#include "wire/ReportFraming.h"

namespace k4812 {

int SendActivation(TuiHIDData& device, LastActivatedProfile& bytes)
{
    bytes.first = 1;
    return SendActivate(device, bytes.first, bytes.profileIndex);
}

} // namespace k4812
