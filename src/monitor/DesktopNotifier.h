#pragma once
// Desktop notifications through the freedesktop notification service
// (org.freedesktop.Notifications on the session bus). The call does not wait
// for an answer: without a notification daemon the text is simply not shown.

#include <QDBusConnection>
#include <QObject>
#include <QString>

namespace k4812 {

class DesktopNotifier final : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    // Shows `summary` with `body`; each new one replaces the one before, so a
    // run of switches leaves one bubble. False when no bus is there.
    bool notify(const QString& summary, const QString& body);
    // The id the service gave the last bubble (0 until it has answered).
    uint lastId() const { return m_lastId; }

private:
    QDBusConnection m_bus;
    uint m_lastId = 0;
};

} // namespace k4812
