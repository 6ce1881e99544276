#include "sequences/DeviceLocking.h"

namespace k4812 {

std::unique_ptr<DeviceSequenceLock> LockDeviceForSequence(TuiHIDData& device, Pauser& pauser, QString& error,
                                                          int waitMs)
{
    auto lock = std::make_unique<DeviceSequenceLock>(device.lockIdentities());
    if (!lock->acquire(waitMs, [&pauser](int ms) { pauser.pause(ms); })) {
        error = lock->errorString();
        return nullptr;
    }
    return lock;
}

} // namespace k4812
