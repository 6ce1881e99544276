#pragma once
// KWin's input devices on a Plasma Wayland session, reached over D-Bus the
// way Plasma's own mouse settings reach them:
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
//
// The D-Bus side (platform/kwin/KWinBusDevices.h) lives in the module
// libk4812-kwin.so in the program folder, loaded on first use, so that only
// a program that talks to KDE loads QtDBus. This header holds what both
// sides share: the interface, inline only, and the loader.

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
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

    virtual ~KWinInputDevices() = default;

    // The pointer devices whose mouse settings Plasma shows (touchpads have
    // settings of their own and are left alone). Empty optional and `error`
    // when KWin cannot be asked.
    virtual std::optional<QList<KWinPointerDevice>> pointerDevices(QString& error) const = 0;

    // Properties.Set and Properties.Get on one device.
    virtual bool setProperty(const QString& sysName, const QString& property, const QVariant& value,
                             QString& error) const = 0;
    virtual std::optional<QVariant> property(const QString& sysName, const QString& property,
                                             QString& error) const = 0;

    // org.kde.KGlobalSettings.notifyChange(SettingsChanged, SETTINGS_MOUSE);
    // false with `error` when it cannot be sent.
    virtual bool notifyMouseSettingsChanged(QString& error) const = 0;
};

// The module's file name and the function it exports, which returns a new
// KWinInputDevices on the session bus (nullptr when `interfaceVersion` is
// not the one it was built with).
inline constexpr const char* kKWinModuleFileName = "libk4812-kwin.so";
inline constexpr const char* kKWinModuleEntry = "k4812_kwin_input_devices";
inline constexpr int kKWinModuleInterfaceVersion = 1;
using KWinModuleEntry = KWinInputDevices* (*)(int interfaceVersion);

// KWin's input devices on the session bus, from the module in `folder` (the
// program folder when empty). When the module cannot be loaded, every call
// of the result fails with an error that says so.
std::shared_ptr<KWinInputDevices> loadKWinInputDevices(const QString& folder = {});

} // namespace k4812
