#pragma once
// Hot-plug events of hidraw nodes from a libudev monitor, read through a
// QSocketNotifier on the thread that creates the source (the UI thread).
//
// The monitor listens to the "udev" source, whose events come after udev has
// set the node up (its access rights included), so the window may open the
// mouse as soon as it hears of it. Where no udev daemon runs (containers,
// build machines) only the kernel's own source delivers events; the source
// falls back to it when /run/udev/control is missing.

#include "platform/hid/HotplugSource.h"

#include <QString>

#include <memory>

struct udev;
struct udev_monitor;
class QSocketNotifier;

namespace k4812 {

// "udev" when a udev daemon runs (its control socket exists), else "kernel".
const char* udevMonitorSourceName(const QString& udevControlPath = QStringLiteral("/run/udev/control"));

class UdevHotplugSource final : public HotplugSource {
    Q_OBJECT
public:
    ~UdevHotplugSource() override;

    // A monitor of subsystem hidraw on the source above; nothing, with the
    // reason in `error`, when libudev or the netlink socket cannot be had.
    static std::unique_ptr<UdevHotplugSource> create(QString* error = nullptr);

    // "udev" or "kernel".
    QString sourceName() const { return m_sourceName; }

private:
    UdevHotplugSource(udev* context, udev_monitor* monitor, QString sourceName);
    void readEvents();

    udev* m_udev = nullptr;
    udev_monitor* m_monitor = nullptr;
    QString m_sourceName;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace k4812
