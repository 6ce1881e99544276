#pragma once
// Where the arrival watcher (TuiHIDEvent) learns that HID interfaces come and
// go. The real source is the udev monitor (UdevHotplugSource.h); tests put a
// source of their own in its place and raise the events by hand.

#include <QObject>

#include <optional>

namespace k4812 {

enum class HotplugAction { Add, Remove, Change };

class HotplugSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~HotplugSource() override = default;

signals:
    // One hidraw node was added, removed or changed.
    void deviceEvent(k4812::HotplugAction action);
};

// The action of a udev event ("add", "remove", "change"); nothing for the
// others ("bind", "unbind", "move", "online", "offline"), which neither add
// nor remove an interface.
std::optional<HotplugAction> hotplugActionOf(const char* udevAction);

} // namespace k4812
