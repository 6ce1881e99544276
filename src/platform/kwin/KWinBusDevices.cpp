#include "platform/kwin/KWinBusDevices.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QStringList>
#include <QVariantMap>

namespace k4812 {

namespace {

constexpr int kCallTimeoutMs = 5000;

// KGlobalSettings' change types and settings categories, as Plasma numbers them.
constexpr int kSettingsChanged = 3;
constexpr int kSettingsMouse = 0;

QString devicePath(const QString& sysName)
{
    return QLatin1String(KWinInputDevices::kManagerPath) + QLatin1Char('/') + sysName;
}

QDBusMessage propertiesCall(const QString& path, const QString& method)
{
    return QDBusMessage::createMethodCall(QLatin1String(KWinInputDevices::kService), path,
                                          QStringLiteral("org.freedesktop.DBus.Properties"), method);
}

QString replyError(const QDBusMessage& reply)
{
    if (reply.type() == QDBusMessage::ErrorMessage)
        return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return QStringLiteral("unexpected answer from KWin");
}

// A variant as D-Bus hands it over: a QDBusVariant around the value.
QVariant unwrapped(const QVariant& value)
{
    if (value.canConvert<QDBusVariant>())
        return value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

KWinBusDevices::KWinBusDevices()
    : m_bus(QDBusConnection::sessionBus())
{
}

KWinBusDevices::KWinBusDevices(QDBusConnection bus)
    : m_bus(std::move(bus))
{
}

std::optional<QList<KWinPointerDevice>> KWinBusDevices::pointerDevices(QString& error) const
{
    if (!m_bus.isConnected()) {
        error = QStringLiteral("no D-Bus session bus");
        return std::nullopt;
    }
    QDBusMessage get = propertiesCall(QLatin1String(kManagerPath), QStringLiteral("Get"));
    get << QLatin1String(kManagerInterface) << QStringLiteral("devicesSysNames");
    const QDBusMessage names = m_bus.call(get, QDBus::Block, kCallTimeoutMs);
    if (names.type() != QDBusMessage::ReplyMessage || names.arguments().isEmpty()) {
        error = QStringLiteral("KWin's input devices cannot be listed: %1").arg(replyError(names));
        return std::nullopt;
    }
    QList<KWinPointerDevice> devices;
    for (const QString& sysName : unwrapped(names.arguments().constFirst()).toStringList()) {
        QDBusMessage getAll = propertiesCall(devicePath(sysName), QStringLiteral("GetAll"));
        getAll << QLatin1String(kDeviceInterface);
        const QDBusMessage reply = m_bus.call(getAll, QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            error = QStringLiteral("KWin's input device %1 cannot be read: %2").arg(sysName, replyError(reply));
            return std::nullopt;
        }
        const QVariantMap properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
        if (!properties.value(QStringLiteral("pointer")).toBool()
            || properties.value(QStringLiteral("touchpad")).toBool())
            continue;
        KWinPointerDevice device;
        device.sysName = sysName;
        device.name = properties.value(QStringLiteral("name")).toString();
        device.vendor = properties.value(QStringLiteral("vendor")).toUInt();
        device.product = properties.value(QStringLiteral("product")).toUInt();
        devices.append(device);
    }
    return devices;
}

bool KWinBusDevices::setProperty(const QString& sysName, const QString& property, const QVariant& value,
                                   QString& error) const
{
    QDBusMessage set = propertiesCall(devicePath(sysName), QStringLiteral("Set"));
    set << QLatin1String(kDeviceInterface) << property << QVariant::fromValue(QDBusVariant(value));
    const QDBusMessage reply = m_bus.call(set, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        error = replyError(reply);
        return false;
    }
    return true;
}

std::optional<QVariant> KWinBusDevices::property(const QString& sysName, const QString& property,
                                                   QString& error) const
{
    QDBusMessage get = propertiesCall(devicePath(sysName), QStringLiteral("Get"));
    get << QLatin1String(kDeviceInterface) << property;
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        error = replyError(reply);
        return std::nullopt;
    }
    return unwrapped(reply.arguments().constFirst());
}

bool KWinBusDevices::notifyMouseSettingsChanged(QString& error) const
{
    if (!m_bus.isConnected()) {
        error = QStringLiteral("no D-Bus session bus");
        return false;
    }
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/KGlobalSettings"),
                                                     QStringLiteral("org.kde.KGlobalSettings"),
                                                     QStringLiteral("notifyChange"));
    signal << kSettingsChanged << kSettingsMouse;
    if (!m_bus.send(signal)) {
        error = QStringLiteral("the signal cannot be sent: %1").arg(m_bus.lastError().message());
        return false;
    }
    return true;
}

} // namespace k4812
