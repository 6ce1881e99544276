#include "CheckedPointerSettings.h"

namespace k4812::cli {

QStringList CheckedPointerSettings::failures() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_failures;
}

// The desktop's back end sees the same calls as without this wrapper: the
// public setters check the ranges and ask support() again, which answers as
// the back end does.
PointerSettingResult CheckedPointerSettings::applyMouseAcceleration(const MouseAcceleration& value)
{
    return note(PointerSetting::Acceleration, m_desktop->setMouseAcceleration(value));
}

PointerSettingResult CheckedPointerSettings::applyMouseSpeed(int speed)
{
    return note(PointerSetting::PointerSpeed, m_desktop->setMouseSpeed(speed));
}

PointerSettingResult CheckedPointerSettings::applyWheelScrollLines(int lines)
{
    return note(PointerSetting::WheelScrollLines, m_desktop->setWheelScrollLines(lines));
}

PointerSettingResult CheckedPointerSettings::applyDoubleClickTime(int milliseconds)
{
    return note(PointerSetting::DoubleClickTime, m_desktop->setDoubleClickTime(milliseconds));
}

PointerSettingResult CheckedPointerSettings::note(PointerSetting setting, PointerSettingResult result)
{
    if (isDesktopFailure(result)) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_failures << pointerSettingName(setting);
    }
    return result;
}

} // namespace k4812::cli
