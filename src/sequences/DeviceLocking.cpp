#include "sequences/DeviceLocking.h"

#include "sequences/SequenceHost.h"

#include <algorithm>

namespace k4812 {

DeviceSequenceHold::DeviceSequenceHold(TuiHIDData& device, std::unique_ptr<DeviceSequenceLock> lock,
                                       StoreRunner runStore)
    : m_device(device), m_lock(std::move(lock)), m_runStore(std::move(runStore))
{
    const auto begin = [this] { m_device.backend().beginSequence(); };
    if (m_runStore)
        m_runStore(begin);
    else
        begin();
}

DeviceSequenceHold::~DeviceSequenceHold()
{
    end();
}

QString DeviceSequenceHold::end()
{
    if (m_ended)
        return {};
    m_ended = true;
    std::string problem;
    const auto store = [&] { problem = m_device.backend().endSequence(); };
    if (m_runStore)
        m_runStore(store);
    else
        store();
    // The mouse's quiet time after the last command goes with the lock.
    if (m_device.quietLeftMs() > 0)
        m_lock->leaveQuietUntil(m_device.quietUntil());
    // Only now may another program reach the mouse: it finds the state stored.
    m_lock->release();
    return QString::fromStdString(problem);
}

namespace {

std::unique_ptr<DeviceSequenceHold> lockDevice(TuiHIDData& device, Pauser& pauser, QString& error, int waitMs,
                                               DeviceSequenceHold::StoreRunner runStore)
{
    auto lock = std::make_unique<DeviceSequenceLock>(device.lockIdentities());
    if (!lock->acquire(waitMs, [&pauser](int ms) { pauser.pause(ms); })) {
        error = lock->errorString();
        return nullptr;
    }
    // What the last sequence left of the mouse's quiet time is waited out
    // here, as the host waits: the window keeps repainting.
    if (const int quiet = std::max(lock->quietLeftMs(), device.quietLeftMs()); quiet > 0)
        pauser.pause(quiet);
    return std::make_unique<DeviceSequenceHold>(device, std::move(lock), std::move(runStore));
}

} // namespace

std::unique_ptr<DeviceSequenceHold> LockDeviceForSequence(TuiHIDData& device, Pauser& pauser, QString& error,
                                                          int waitMs)
{
    return lockDevice(device, pauser, error, waitMs, {});
}

std::unique_ptr<DeviceSequenceHold> LockDeviceForSequence(TuiHIDData& device, SequenceHost& host, QString& error,
                                                          int waitMs)
{
    return lockDevice(device, host, error, waitMs,
                      [&host](const std::function<void()>& store) { host.runStorage(store); });
}

} // namespace k4812
