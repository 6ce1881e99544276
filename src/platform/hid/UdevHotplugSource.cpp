#include "platform/hid/UdevHotplugSource.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

#include <cerrno>
#include <cstring>

namespace k4812 {

namespace {

constexpr const char* kSubsystem = "hidraw";

QString systemError(const char* what, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

std::optional<HotplugAction> hotplugActionOf(const char* udevAction)
{
    if (udevAction == nullptr)
        return std::nullopt;
    if (std::strcmp(udevAction, "add") == 0)
        return HotplugAction::Add;
    if (std::strcmp(udevAction, "remove") == 0)
        return HotplugAction::Remove;
    if (std::strcmp(udevAction, "change") == 0)
        return HotplugAction::Change;
    return std::nullopt;
}

const char* udevMonitorSourceName(const QString& udevControlPath)
{
    return QFileInfo::exists(udevControlPath) ? "udev" : "kernel";
}

std::unique_ptr<UdevHotplugSource> UdevHotplugSource::create(QString* error)
{
    udev* context = udev_new();
    if (context == nullptr) {
        if (error)
            *error = systemError("udev_new", errno);
        return nullptr;
    }
    const char* source = udevMonitorSourceName();
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, source);
    int failure = monitor == nullptr ? errno : 0;
    if (monitor != nullptr) {
        // The filter runs in the kernel for udev's messages; kernel messages
        // are checked again when read.
        int result = udev_monitor_filter_add_match_subsystem_devtype(monitor, kSubsystem, nullptr);
        if (result >= 0)
            result = udev_monitor_enable_receiving(monitor);
        if (result < 0)
            failure = -result;
    }
    if (failure != 0 || monitor == nullptr) {
        if (error)
            *error = systemError("udev monitor", failure != 0 ? failure : EIO);
        if (monitor != nullptr)
            udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::unique_ptr<UdevHotplugSource>(
        new UdevHotplugSource(context, monitor, QString::fromLatin1(source)));
}

UdevHotplugSource::UdevHotplugSource(udev* context, udev_monitor* monitor, QString sourceName)
    : m_udev(context), m_monitor(monitor), m_sourceName(std::move(sourceName))
{
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevHotplugSource::readEvents);
}

UdevHotplugSource::~UdevHotplugSource()
{
    delete m_notifier;
    udev_monitor_unref(m_monitor);
    udev_unref(m_udev);
}

void UdevHotplugSource::readEvents()
{
    // The socket does not block: read until it is empty, so that one wake-up
    // handles a burst (a mouse brings several nodes at once).
    while (udev_device* device = udev_monitor_receive_device(m_monitor)) {
        const char* subsystem = udev_device_get_subsystem(device);
        const std::optional<HotplugAction> action = hotplugActionOf(udev_device_get_action(device));
        const bool ours = subsystem != nullptr && std::strcmp(subsystem, kSubsystem) == 0;
        udev_device_unref(device);
        if (ours && action)
            emit deviceEvent(*action);
    }
}

} // namespace k4812
