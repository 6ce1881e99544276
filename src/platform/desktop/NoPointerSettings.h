#pragma once
// The pointer-settings back end of a desktop this program cannot configure
// (for example a Wayland compositor without GNOME's settings): every setting
// is reported as not supported, and logged once per process.

#include "platform/desktop/PointerSettings.h"

namespace k4812 {

class NoPointerSettings final : public PointerSettings {
public:
    QString name() const override { return QStringLiteral("none"); }
    PointerSettingSupport support(PointerSetting) const override { return PointerSettingSupport::no(kWhy); }

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration&) override
    {
        return notSupported(PointerSetting::Acceleration);
    }
    PointerSettingResult applyMouseSpeed(int) override { return notSupported(PointerSetting::PointerSpeed); }
    PointerSettingResult applyWheelScrollLines(int) override
    {
        return notSupported(PointerSetting::WheelScrollLines);
    }
    PointerSettingResult applyDoubleClickTime(int) override
    {
        return notSupported(PointerSetting::DoubleClickTime);
    }

private:
    static inline const QString kWhy =
        QStringLiteral("No desktop was found whose pointer settings this program can change.");
};

} // namespace k4812
