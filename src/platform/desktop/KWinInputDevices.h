#pragma once
// KWin's input devices on a Plasma Wayland session, over D-Bus, the way
// Plasma's own mouse settings reach them:
//
//   service org.kde.KWin
//   /org/kde/KWin/InputDevice         org.kde.KWin.InputDeviceManager, property devicesSysNames (as)
//   /org/kde/KWin/InputDevice/eventN  org.kde.KWin.InputDevice, one object per device, with the
//                                     properties pointer, touchpad, name, vendor, product,
//                                     pointerAcceleration (d), pointerAccelerationProfileFlat (b),
//                                     pointerAccelerationProfileAdaptive (b), scrollFactor (d), ...
//
// Properties are set and read through org.freedesktop.DBus.Properties. KWin
// answers a Set with success even when the device ignores the value (one
// without the capability), so callers read every value back.
//
// Also sends the session-wide "settings changed" signal that Plasma's mouse
// settings send after saving: org.kde.KGlobalSettings.notifyChange(3, 0) on
// /KGlobalSettings (SettingsChanged, SETTINGS_MOUSE). Qt programs under
// Plasma then reread kdeglobals (double-click time, wheel lines), and KWin
// rereads kcminputrc.

#include <QDBusConnection>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace k4812 {

struct KWinPointerDevice {
    QString sysName; // "event5": the last part of the object path
    QString name;
    quint32 vendor = 0;
    quint32 product = 0;
};

class KWinInputDevices {
public:
    static constexpr const char* kService = "org.kde.KWin";
    static constexpr const char* kManagerPath = "/org/kde/KWin/InputDevice";
    static constexpr const char* kManagerInterface = "org.kde.KWin.InputDeviceManager";
    static constexpr const char* kDeviceInterface = "org.kde.KWin.InputDevice";

    // On the session bus.
    KWinInputDevices();
    explicit KWinInputDevices(QDBusConnection bus);

    // The pointer devices whose mouse settings Plasma shows (touchpads have
    // settings of their own and are left alone). Empty optional and `error`
    // when KWin cannot be asked.
    std::optional<QList<KWinPointerDevice>> pointerDevices(QString& error) const;

    // Properties.Set and Properties.Get on one device.
    bool setProperty(const QString& sysName, const QString& property, const QVariant& value, QString& error) const;
    std::optional<QVariant> property(const QString& sysName, const QString& property, QString& error) const;

    // org.kde.KGlobalSettings.notifyChange(SettingsChanged, SETTINGS_MOUSE).
    bool notifyMouseSettingsChanged() const;

private:
    QDBusConnection m_bus;
};

} // namespace k4812
