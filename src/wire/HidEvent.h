#pragma once
// TuiHIDEvent: tells its owner when HID interfaces are added or removed, so
// that the window can react to the mouse being plugged in. It does not look
// at which device came or went; the owner checks for the mouse itself.
//
// Besides the events of its source it raises OnDeviceChange once shortly
// after creation (on the next turn of the event loop) and OnDeviceArrival
// once 1.5 s after creation, so that the owner runs its arrival handling at
// start-up whether or not anything is plugged in later.
//
// The source (the udev monitor unless one is given) and the scheduler of the
// two start-up events are injected, so tests need no device and no sleeping.
// All events run on the thread that created the component.

#include "wire/EventScheduler.h"
#include "platform/hid/HotplugSource.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace k4812 {

class TuiHIDEvent final : public QObject {
public:
    using NotifyEvent = std::function<void(TuiHIDEvent& sender)>;

    // The delay of the one start-up OnDeviceArrival (FTimerToStartMonitor).
    static constexpr int kStartMonitorDelayMs = 1500;
    // What the watcher watches: the hidraw nodes.
    static constexpr const char* kSubsystem = "hidraw";

    // Without a source the udev monitor is opened; when that fails (no
    // libudev, no netlink socket) the component still raises its two
    // start-up events and sourceError() tells why nothing else comes.
    explicit TuiHIDEvent(QObject* owner = nullptr, std::unique_ptr<HotplugSource> source = nullptr,
                         EventScheduler& scheduler = defaultEventScheduler());
    ~TuiHIDEvent() override;

    void setOnDeviceArrival(NotifyEvent handler) { m_onDeviceArrival = std::move(handler); }
    void setOnDeviceRemove(NotifyEvent handler) { m_onDeviceRemove = std::move(handler); }
    void setOnDeviceChange(NotifyEvent handler) { m_onDeviceChange = std::move(handler); }

    HotplugSource* source() const { return m_source.get(); }
    const QString& sourceError() const { return m_sourceError; }

private:
    void handle(HotplugAction action);
    void raise(const NotifyEvent& event);

    std::unique_ptr<HotplugSource> m_source;
    QString m_sourceError;
    NotifyEvent m_onDeviceArrival;
    NotifyEvent m_onDeviceRemove;
    NotifyEvent m_onDeviceChange;
};

} // namespace k4812
