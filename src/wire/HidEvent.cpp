#include "wire/HidEvent.h"

#include "platform/hid/UdevHotplugSource.h"

namespace k4812 {

TuiHIDEvent::TuiHIDEvent(QObject* owner, std::unique_ptr<HotplugSource> source, EventScheduler& scheduler)
    : QObject(owner), m_source(std::move(source))
{
    if (!m_source)
        m_source = UdevHotplugSource::create(&m_sourceError);
    if (m_source)
        connect(m_source.get(), &HotplugSource::deviceEvent, this, &TuiHIDEvent::handle);
    // The nodes may have changed before anyone listened: one change at once.
    scheduler.runLater(this, 0, [this] { raise(m_onDeviceChange); });
    scheduler.runLater(this, kStartMonitorDelayMs, [this] { raise(m_onDeviceArrival); });
}

TuiHIDEvent::~TuiHIDEvent() = default;

void TuiHIDEvent::handle(HotplugAction action)
{
    switch (action) {
    case HotplugAction::Add: raise(m_onDeviceArrival); break;
    case HotplugAction::Remove: raise(m_onDeviceRemove); break;
    case HotplugAction::Change: raise(m_onDeviceChange); break;
    }
}

void TuiHIDEvent::raise(const NotifyEvent& event)
{
    if (event)
        event(*this);
}

} // namespace k4812
