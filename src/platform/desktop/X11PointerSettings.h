#pragma once
// Pointer settings through the X server's core pointer control
// (XChangePointerControl), for X11 desktops that have no settings service of
// their own. libX11 is loaded at run time, so the program builds and runs
// without it.
//
// The X pointer control is the model Windows' SPI_SETMOUSE comes from: the
// motion is multiplied by numerator/denominator when the pointer moves more
// than `threshold` pixels at once.
//
//   Windows                          X11
//   acceleration 0                   factor 1/1 (off), threshold untouched
//   acceleration 1 at threshold t1   factor 2/1 above t1 (t1 raised to at least 1)
//   acceleration 2 at t1 and t2      factor 2/1 above t1: approximated, X has one stage,
//                                    so the second doubling above t2 is lost
//   pointer speed, wheel lines,      not supported: the core protocol has no such
//   double-click time                settings (toolkits keep their own)
//
// Under Xorg's libinput driver the server may ignore the core acceleration;
// the setting is still what X offers to a client.

#include "platform/desktop/PointerSettings.h"

namespace k4812 {

class X11PointerSettings final : public PointerSettings {
public:
    struct PointerControl {
        int numerator = 1;
        int denominator = 1;
        int threshold = 0;
        bool setThreshold = false;
        bool approximated = false;

        bool operator==(const PointerControl&) const = default;
    };

    QString name() const override { return QStringLiteral("x11"); }
    // Only the acceleration: the core pointer has no speed, wheel or double-click setting.
    PointerSettingSupport support(PointerSetting setting) const override;

    // The mapping, as a pure function.
    static PointerControl pointerControlFor(const MouseAcceleration& value);

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) override;
    PointerSettingResult applyMouseSpeed(int speed) override;
    PointerSettingResult applyWheelScrollLines(int lines) override;
    PointerSettingResult applyDoubleClickTime(int milliseconds) override;
};

} // namespace k4812
