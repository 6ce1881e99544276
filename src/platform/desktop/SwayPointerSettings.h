#pragma once
// Pointer settings on sway (and compositors that speak its IPC), through the
// `swaymsg` command, for every pointer device (`input type:pointer ...`):
//
//   Windows                         sway input command       mapping
//   SPI_SETMOUSE acceleration 0     accel_profile            flat
//   SPI_SETMOUSE acceleration 1, 2  accel_profile            adaptive (the thresholds have no setting)
//   SPI_SETMOUSESPEED 1 ... 20      pointer_accel            -1 ... 1, as on GNOME (10 -> 0)
//   SPI_SETWHEELSCROLLLINES n       scroll_factor            n / 3 (Windows' 3 lines are sway's 1.0;
//                                                            "one page", stored as 20 lines, is 20 / 3)
//   SPI_SETDOUBLECLICKTIME          (none)                   not supported: each client keeps its own
//
// sway accepts an input command even when no device matches (it keeps it for
// devices that come later), so every value is read back from
// `swaymsg -t get_inputs`: each pointer device must report it. With no
// pointer device, or one that kept another value, the setting is Failed.

#include "platform/desktop/DesktopCommand.h"
#include "platform/desktop/PointerSettings.h"

#include <QStringList>


namespace k4812 {

class SwayPointerSettings final : public PointerSettings {
public:
    // Runs the real swaymsg (which finds sway through SWAYSOCK).
    SwayPointerSettings();
    // Runs `runner` instead of swaymsg, for tests.
    explicit SwayPointerSettings(DesktopCommandRunner runner);

    QString name() const override { return QStringLiteral("sway"); }
    PointerSettingSupport support(PointerSetting setting) const override;

    // The mappings are the shared ones of PointerSettings.h (profile, speed,
    // scroll factor).
    static QStringList inputArguments(const QString& setting, const QString& value);
    static QStringList readArguments();

    // What get_inputs says of one setting: the values of every pointer
    // device that reports it. `field` is "accel_profile" or "accel_speed"
    // (inside the device's "libinput" object) or "scroll_factor".
    static QStringList pointerValues(const QString& getInputsJson, const QString& field);

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) override;
    PointerSettingResult applyMouseSpeed(int speed) override;
    PointerSettingResult applyWheelScrollLines(int lines) override;
    PointerSettingResult applyDoubleClickTime(int milliseconds) override;

private:
    PointerSettingResult setAndReadBack(PointerSetting setting, const QString& command, const QString& field,
                                        const QString& value);

    DesktopCommandRunner m_runner;
};

} // namespace k4812
