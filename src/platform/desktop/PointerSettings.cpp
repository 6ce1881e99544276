#include "platform/desktop/PointerSettings.h"

#include "platform/desktop/WarnOnce.h"

#include <QtGlobal>

namespace k4812 {

bool isApplied(PointerSettingResult result)
{
    return result == PointerSettingResult::Applied || result == PointerSettingResult::Approximated;
}

bool isDesktopFailure(PointerSettingResult result)
{
    return result == PointerSettingResult::Failed;
}

QString pointerSettingName(PointerSetting setting)
{
    switch (setting) {
    case PointerSetting::Acceleration: return QStringLiteral("acceleration");
    case PointerSetting::PointerSpeed: return QStringLiteral("pointer speed");
    case PointerSetting::WheelScrollLines: return QStringLiteral("wheel scroll lines");
    case PointerSetting::DoubleClickTime: return QStringLiteral("double-click time");
    }
    return QString();
}

QString pointerSettingResultName(PointerSettingResult result)
{
    switch (result) {
    case PointerSettingResult::Applied: return QStringLiteral("applied");
    case PointerSettingResult::Approximated: return QStringLiteral("approximated");
    case PointerSettingResult::NotSupported: return QStringLiteral("not supported");
    case PointerSettingResult::Rejected: return QStringLiteral("rejected");
    case PointerSettingResult::Failed: return QStringLiteral("failed");
    }
    return QString();
}

namespace {

PointerSettingResult rejected(PointerSetting setting, const QString& value)
{
    qWarning("Pointer settings: %s %s is out of range; not applied", qUtf8Printable(pointerSettingName(setting)),
             qUtf8Printable(value));
    return PointerSettingResult::Rejected;
}

} // namespace

PointerSettingResult PointerSettings::setMouseAcceleration(const MouseAcceleration& value)
{
    if (value.firstThreshold < 0 || value.secondThreshold < 0 || value.acceleration < 0
        || value.acceleration > kMaxMouseAcceleration) {
        return rejected(PointerSetting::Acceleration, QStringLiteral("%1, %2, %3")
                                                          .arg(value.firstThreshold)
                                                          .arg(value.secondThreshold)
                                                          .arg(value.acceleration));
    }
    if (!support(PointerSetting::Acceleration).supported)
        return notSupported(PointerSetting::Acceleration);
    keepReason(PointerSetting::Acceleration, QString());
    return applyMouseAcceleration(value);
}

PointerSettingResult PointerSettings::setMouseSpeed(int speed)
{
    if (speed < kMinPointerSpeed || speed > kMaxPointerSpeed)
        return rejected(PointerSetting::PointerSpeed, QString::number(speed));
    if (!support(PointerSetting::PointerSpeed).supported)
        return notSupported(PointerSetting::PointerSpeed);
    keepReason(PointerSetting::PointerSpeed, QString());
    return applyMouseSpeed(speed);
}

PointerSettingResult PointerSettings::setWheelScrollLines(int lines)
{
    if (lines < 0)
        return rejected(PointerSetting::WheelScrollLines, QString::number(lines));
    if (!support(PointerSetting::WheelScrollLines).supported)
        return notSupported(PointerSetting::WheelScrollLines);
    keepReason(PointerSetting::WheelScrollLines, QString());
    return applyWheelScrollLines(lines);
}

PointerSettingResult PointerSettings::setDoubleClickTime(int milliseconds)
{
    if (milliseconds < kMinDoubleClickTime || milliseconds > kMaxDoubleClickTime)
        return rejected(PointerSetting::DoubleClickTime, QString::number(milliseconds));
    if (!support(PointerSetting::DoubleClickTime).supported)
        return notSupported(PointerSetting::DoubleClickTime);
    keepReason(PointerSetting::DoubleClickTime, QString());
    return applyDoubleClickTime(milliseconds);
}

PointerSettingResult PointerSettings::notSupported(PointerSetting setting) const
{
    warnOnce(QStringLiteral("pointer-settings/%1/%2").arg(name(), pointerSettingName(setting)),
             QStringLiteral("Pointer settings (%1): the %2 cannot be set: %3")
                 .arg(name(), pointerSettingName(setting), support(setting).reason));
    return PointerSettingResult::NotSupported;
}

PointerSettingResult PointerSettings::failed(PointerSetting setting, const QString& reason)
{
    qWarning("Pointer settings (%s): %s", qUtf8Printable(name()), qUtf8Printable(reason));
    keepReason(setting, reason);
    return PointerSettingResult::Failed;
}

QString PointerSettings::failureReason(PointerSetting setting) const
{
    const std::lock_guard<std::mutex> lock(m_reasonsMutex);
    return m_reasons[std::size_t(setting)];
}

void PointerSettings::keepReason(PointerSetting setting, const QString& reason)
{
    const std::lock_guard<std::mutex> lock(m_reasonsMutex);
    m_reasons[std::size_t(setting)] = reason;
}

QString libinputAccelProfile(const MouseAcceleration& value)
{
    return value.acceleration == 0 ? QStringLiteral("flat") : QStringLiteral("adaptive");
}

double libinputAccelSpeed(int windowsSpeed)
{
    const int s = qBound(kMinPointerSpeed, windowsSpeed, kMaxPointerSpeed);
    if (s <= kDefaultPointerSpeed)
        return double(s - kDefaultPointerSpeed) / double(kDefaultPointerSpeed - kMinPointerSpeed);
    return double(s - kDefaultPointerSpeed) / double(kMaxPointerSpeed - kDefaultPointerSpeed);
}

double wheelScrollFactor(int lines)
{
    constexpr double kWindowsDefaultLines = 3.0;
    return double(lines) / kWindowsDefaultLines;
}

} // namespace k4812
