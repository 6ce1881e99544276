#pragma once
// Pointer settings on the GNOME desktop, through the settings keys of the
// schema org.gnome.desktop.peripherals.mouse (GNOME 43 on Debian 12), set
// with the `gsettings` command:
//
//   Windows                         GNOME key       mapping
//   SPI_SETMOUSE acceleration 0     accel-profile   'flat'
//   SPI_SETMOUSE acceleration 1, 2  accel-profile   'adaptive' (the thresholds have no key)
//   SPI_SETMOUSESPEED 1 ... 20      speed           -1 ... 1: 1 -> -1, 10 -> 0 (both defaults),
//                                                   20 -> 1, linear on each side of 10
//   SPI_SETDOUBLECLICKTIME ms       double-click    the same milliseconds
//   SPI_SETWHEELSCROLLLINES         (none)          not supported: GNOME has no lines-per-notch key
//
// Every value is read back after it is written: gsettings reports success
// even when no settings service keeps the value (no session bus), and a
// setting that did not stick is Failed, not Applied.

#include "platform/desktop/DesktopCommand.h"
#include "platform/desktop/PointerSettings.h"

#include <QStringList>

namespace k4812 {

class GnomePointerSettings final : public PointerSettings {
public:
    using CommandOutcome = DesktopCommandOutcome;
    // Runs gsettings with these arguments.
    using CommandRunner = DesktopCommandRunner;

    static constexpr const char* kSchema = "org.gnome.desktop.peripherals.mouse";

    // Runs the real gsettings command.
    GnomePointerSettings();
    // Runs `runner` instead, for tests.
    explicit GnomePointerSettings(CommandRunner runner);

    QString name() const override { return QStringLiteral("gnome"); }
    // Everything but the wheel's lines per notch.
    PointerSettingSupport support(PointerSetting setting) const override;

    // The mappings, as pure functions.
    static double speedFor(int windowsSpeed);
    static QString accelProfileFor(const MouseAcceleration& value);
    // gsettings text of a value: a double in C notation, a quoted enum nick.
    static QString speedText(int windowsSpeed);
    static QString accelProfileText(const MouseAcceleration& value);
    static QStringList setArguments(const QString& key, const QString& value);
    static QStringList getArguments(const QString& key);
    // Whether what `gsettings get` printed is the value that was written.
    static bool sameValue(const QString& written, const QString& readBack);

    // The real runner: gsettings from PATH, 5 s at most.
    static CommandOutcome runGsettings(const QStringList& arguments);

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) override;
    PointerSettingResult applyMouseSpeed(int speed) override;
    PointerSettingResult applyWheelScrollLines(int lines) override;
    PointerSettingResult applyDoubleClickTime(int milliseconds) override;

private:
    PointerSettingResult writeKey(PointerSetting setting, const QString& key, const QString& value);

    CommandRunner m_runner;
};

} // namespace k4812
