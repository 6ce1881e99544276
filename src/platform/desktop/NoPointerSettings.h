#pragma once
// The pointer-settings back end of a desktop this program cannot configure
// (for example a Wayland compositor without GNOME's settings): every setting
// is reported as not supported, and logged once per process.

#include "platform/desktop/PointerSettings.h"

namespace k4812 {

class NoPointerSettings final : public PointerSettings {
public:
    QString name() const override { return QStringLiteral("none"); }

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration&) override
    {
        return notSupported(PointerSetting::Acceleration, kWhy);
    }
    PointerSettingResult applyMouseSpeed(int) override { return notSupported(PointerSetting::PointerSpeed, kWhy); }
    PointerSettingResult applyWheelScrollLines(int) override
    {
        return notSupported(PointerSetting::WheelScrollLines, kWhy);
    }
    PointerSettingResult applyDoubleClickTime(int) override
    {
        return notSupported(PointerSetting::DoubleClickTime, kWhy);
    }

private:
    static inline const QString kWhy = QStringLiteral("no supported desktop was found (GNOME or X11)");
};

} // namespace k4812
