#pragma once
// Taking the one-writer lock (DeviceSequenceLock) for the mice a device
// sequence reaches, waiting as the program waits: the window with its event
// loop running, the command line asleep; and telling the device link that a
// sequence runs, so that a mouse that keeps its state in a file (the
// emulator) reads it at the beginning and writes it once, at the end, both
// through the program's store runner (the window's storage thread), before
// the lock is let go. A quiet time the mouse still needs after the last
// command (TuiHIDData::leaveQuietFor) goes with the lock to the next holder,
// who waits it out through its host before its first command.

#include "platform/desktop/DeviceSequenceLock.h"
#include "sequences/Pauser.h"
#include "wire/HidData.h"

#include <QString>

#include <functional>
#include <memory>

namespace k4812 {

class SequenceHost;

// The mouse held for one device sequence, from LockDeviceForSequence until
// end() or until this object goes.
class DeviceSequenceHold {
public:
    // Runs a store and returns when it has ended (SequenceHost::runStorage).
    using StoreRunner = std::function<void(const std::function<void()>& store)>;

    DeviceSequenceHold(TuiHIDData& device, std::unique_ptr<DeviceSequenceLock> lock, StoreRunner runStore);
    ~DeviceSequenceHold();
    DeviceSequenceHold(const DeviceSequenceHold&) = delete;
    DeviceSequenceHold& operator=(const DeviceSequenceHold&) = delete;

    // Ends the sequence: the device stores what it kept, then the lock is
    // let go. Why the mouse's state could not be stored, or an empty text.
    // Only the first call does anything.
    QString end();

private:
    TuiHIDData& m_device;
    std::unique_ptr<DeviceSequenceLock> m_lock;
    StoreRunner m_runStore;
    bool m_ended = false;
};

// The held mouse for every mouse `device` reaches now, waiting up to
// `waitMs` for another program's sequence with `pauser`; nullptr with the
// reason (naming the holder) in `error` when it cannot be had. The end's
// store runs at once.
std::unique_ptr<DeviceSequenceHold> LockDeviceForSequence(TuiHIDData& device, Pauser& pauser, QString& error,
                                                          int waitMs = DeviceSequenceLock::waitLimitMs());
// The same, the wait and the end's store through `host` (the window's
// storage thread).
std::unique_ptr<DeviceSequenceHold> LockDeviceForSequence(TuiHIDData& device, SequenceHost& host, QString& error,
                                                          int waitMs = DeviceSequenceLock::waitLimitMs());

} // namespace k4812
