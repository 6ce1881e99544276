#include "monitor/DesktopNotifier.h"

#include "platform/desktop/MonitorLinkNames.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace k4812 {

namespace {

// How long a bubble stays, in milliseconds.
constexpr int kShownMs = 4000;

} // namespace

DesktopNotifier::DesktopNotifier(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus)) {}

bool DesktopNotifier::notify(const QString& summary, const QString& body)
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    call << QLatin1String(kApplicationTitle) << m_lastId << QStringLiteral("input-mouse") << summary << body
         << QStringList() << QVariantMap() << kShownMs;
    // The answer (the bubble's id) comes later; the next bubble replaces it.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isValid())
            m_lastId = reply.value();
        watcher->deleteLater();
    });
    return true;
}

} // namespace k4812
