#pragma once
// Taking the one-writer lock (DeviceSequenceLock) for the mice a device
// sequence reaches, waiting as the program waits: the window with its event
// loop running, the command line asleep.

#include "platform/desktop/DeviceSequenceLock.h"
#include "sequences/Pauser.h"
#include "wire/HidData.h"

#include <QString>

#include <memory>

namespace k4812 {

// The held lock for every mouse `device` reaches now, waiting up to `waitMs`
// for another program's sequence with `pauser`; nullptr with the reason
// (naming the holder) in `error` when it cannot be had.
std::unique_ptr<DeviceSequenceLock> LockDeviceForSequence(TuiHIDData& device, Pauser& pauser, QString& error,
                                                          int waitMs = DeviceSequenceLock::waitLimitMs());

} // namespace k4812
