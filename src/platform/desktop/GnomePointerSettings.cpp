#include "platform/desktop/GnomePointerSettings.h"

#include <QtGlobal>

#include <cmath>

namespace k4812 {

namespace {

constexpr int kCommandTimeoutMs = 5000;

QString unquoted(const QString& text)
{
    if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\'')))
        return text.mid(1, text.size() - 2);
    return text;
}

} // namespace

GnomePointerSettings::GnomePointerSettings()
    : m_runner(&GnomePointerSettings::runGsettings)
{
}

GnomePointerSettings::GnomePointerSettings(CommandRunner runner)
    : m_runner(std::move(runner))
{
}

double GnomePointerSettings::speedFor(int windowsSpeed)
{
    return libinputAccelSpeed(windowsSpeed);
}

QString GnomePointerSettings::accelProfileFor(const MouseAcceleration& value)
{
    return libinputAccelProfile(value);
}

QString GnomePointerSettings::speedText(int windowsSpeed)
{
    // Always C notation with a point, whatever the locale; 6 digits are more
    // than the settings service keeps apart.
    return QString::number(speedFor(windowsSpeed), 'g', 6);
}

QString GnomePointerSettings::accelProfileText(const MouseAcceleration& value)
{
    return QLatin1Char('\'') + accelProfileFor(value) + QLatin1Char('\'');
}

QStringList GnomePointerSettings::setArguments(const QString& key, const QString& value)
{
    return {QStringLiteral("set"), QLatin1String(kSchema), key, value};
}

QStringList GnomePointerSettings::getArguments(const QString& key)
{
    return {QStringLiteral("get"), QLatin1String(kSchema), key};
}

bool GnomePointerSettings::sameValue(const QString& written, const QString& readBack)
{
    const QString a = unquoted(written.trimmed());
    const QString b = unquoted(readBack.trimmed());
    if (a == b)
        return true;
    bool aNumber = false;
    bool bNumber = false;
    const double x = a.toDouble(&aNumber);
    const double y = b.toDouble(&bNumber);
    return aNumber && bNumber && std::fabs(x - y) < 1e-6;
}

GnomePointerSettings::CommandOutcome GnomePointerSettings::runGsettings(const QStringList& arguments)
{
    return runDesktopCommand(QStringLiteral("gsettings"), arguments, kCommandTimeoutMs);
}

PointerSettingResult GnomePointerSettings::applyMouseAcceleration(const MouseAcceleration& value)
{
    return writeKey(PointerSetting::Acceleration, QStringLiteral("accel-profile"), accelProfileText(value));
}

PointerSettingResult GnomePointerSettings::applyMouseSpeed(int speed)
{
    return writeKey(PointerSetting::PointerSpeed, QStringLiteral("speed"), speedText(speed));
}

PointerSettingSupport GnomePointerSettings::support(PointerSetting setting) const
{
    if (setting == PointerSetting::WheelScrollLines)
        return PointerSettingSupport::no(QStringLiteral("GNOME has no setting for the lines a wheel notch scrolls."));
    return PointerSettingSupport::yes();
}

PointerSettingResult GnomePointerSettings::applyWheelScrollLines(int)
{
    return notSupported(PointerSetting::WheelScrollLines);
}

PointerSettingResult GnomePointerSettings::applyDoubleClickTime(int milliseconds)
{
    return writeKey(PointerSetting::DoubleClickTime, QStringLiteral("double-click"), QString::number(milliseconds));
}

PointerSettingResult GnomePointerSettings::writeKey(PointerSetting setting, const QString& key, const QString& value)
{
    const CommandOutcome set = m_runner(setArguments(key, value));
    if (!set.ok) {
        return failed(setting, QStringLiteral("cannot set the %1 (%2 to %3): %4")
                                   .arg(pointerSettingName(setting), key, value, set.error));
    }
    const CommandOutcome get = m_runner(getArguments(key));
    if (!get.ok || !sameValue(value, get.output)) {
        return failed(setting, QStringLiteral("the %1 did not stick: %2 did not keep %3 (reads %4%5); "
                                              "is a GNOME session running?")
                                   .arg(pointerSettingName(setting), key, value, get.output,
                                        get.error.isEmpty() ? QString() : QStringLiteral(": ") + get.error));
    }
    return PointerSettingResult::Applied;
}

} // namespace k4812
