#pragma once
// KWin's input devices over D-Bus (KWinInputDevices.h describes the calls).
// Built into the module libk4812-kwin.so, which the core loads only when the
// KDE back end needs KWin, and linked directly by the tests.

#include "platform/desktop/KWinInputDevices.h"

#include <QDBusConnection>

namespace k4812 {

class KWinBusDevices final : public KWinInputDevices {
public:
    // On the session bus.
    KWinBusDevices();
    explicit KWinBusDevices(QDBusConnection bus);

    std::optional<QList<KWinPointerDevice>> pointerDevices(QString& error) const override;
    bool setProperty(const QString& sysName, const QString& property, const QVariant& value,
                     QString& error) const override;
    std::optional<QVariant> property(const QString& sysName, const QString& property, QString& error) const override;
    bool notifyMouseSettingsChanged(QString& error) const override;

private:
    QDBusConnection m_bus;
};

} // namespace k4812
