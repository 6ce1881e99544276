#pragma once
// Pointer settings on KDE Plasma (5 and 6), written where Plasma keeps them
// with kwriteconfig6/5 and applied to the running session the way Plasma's
// mouse settings module does.
//
// Wayland (KWin drives the devices through libinput; every pointer device
// that is not a touchpad, as Plasma's mouse page does):
//   Windows                          KWin D-Bus property (InputDevice)     kcminputrc [Libinput][vendor][product][name]
//   SPI_SETMOUSE acceleration 0      pointerAccelerationProfileFlat true   PointerAccelerationProfile=1 (libinput's flat)
//   SPI_SETMOUSE acceleration 1, 2   pointerAccelerationProfileAdaptive    PointerAccelerationProfile=2 (adaptive)
//                                    true (the thresholds have no setting)
//   SPI_SETMOUSESPEED 1 ... 20       pointerAcceleration -1 ... 1          PointerAcceleration, 3 decimals as KWin writes
//                                    (the shared libinput mapping, 10 -> 0)
//   SPI_SETWHEELSCROLLLINES n        scrollFactor n / 3                    ScrollFactor
// X11 (the X server drives the devices):
//   SPI_SETMOUSE                     the X server's pointer control (X11PointerSettings), kept for the next
//                                    login as Plasma's X11 mouse module keeps it: kcminputrc [Mouse]
//                                    Acceleration (the factor) and Threshold (evdev driver),
//                                    XLbInptAccelProfileFlat true / false (libinput driver)
//   SPI_SETMOUSESPEED                not supported: the speed belongs to Xorg's input driver
//   SPI_SETWHEELSCROLLLINES n        kdeglobals [KDE] WheelScrollLines=n
// Both:
//   SPI_SETDOUBLECLICKTIME ms        kdeglobals [KDE] DoubleClickInterval=ms
// After a kdeglobals change the "mouse settings changed" signal
// (KGlobalSettings.notifyChange) tells the running Qt programs to reread it.
//
// Each value is read back: from KWin's property and with kreadconfig. A
// device that keeps its old value, a locked key, no pointer device or no
// KWin on Wayland: Failed.

#include "platform/desktop/KWinInputDevices.h"
#include "platform/desktop/KdeConfigTools.h"
#include "platform/desktop/PointerSettings.h"

#include <functional>
#include <memory>

namespace k4812 {

class KdePointerSettings final : public PointerSettings {
public:
    enum class Session { Wayland, X11 };

    struct Options {
        Session session = Session::Wayland;
        KdeConfigTools tools = KdeConfigTools::find();
        // Null: KWin on the session bus, through the module loaded on first use.
        std::shared_ptr<KWinInputDevices> kwin;
        // Applies the acceleration to the running X server; null: X11PointerSettings.
        std::function<PointerSettingResult(const MouseAcceleration&)> x11Acceleration;
    };

    explicit KdePointerSettings(Options options);

    QString name() const override { return QStringLiteral("kde"); }
    PointerSettingSupport support(PointerSetting setting) const override;

    // libinput's profile numbers, as KWin keeps them: 1 flat, 2 adaptive.
    static int accelProfileFor(const MouseAcceleration& value);
    // The pointer speed as KWin writes it to kcminputrc ("-0.333").
    static QString speedText(int windowsSpeed);
    // The kcminputrc key of one device's setting.
    static KdeConfigKey deviceKey(const KWinPointerDevice& device, const QString& key);

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) override;
    PointerSettingResult applyMouseSpeed(int speed) override;
    PointerSettingResult applyWheelScrollLines(int lines) override;
    PointerSettingResult applyDoubleClickTime(int milliseconds) override;

private:
    // One libinput setting for every KWin pointer device: the property set and
    // read back, then the device's kcminputrc key written and read back.
    PointerSettingResult setOnDevices(PointerSetting setting, const QString& property, const QVariant& value,
                                      const QString& configKey, const QString& configText);
    PointerSettingResult writeGlobal(PointerSetting setting, const KdeConfigKey& key, const QString& value);
    bool writeChecked(PointerSetting setting, const KdeConfigKey& key, const QString& value);
    const KWinInputDevices& kwin();

    Options m_options;
};

} // namespace k4812
