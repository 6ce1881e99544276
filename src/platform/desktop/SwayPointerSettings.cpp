#include "platform/desktop/SwayPointerSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtGlobal>

#include <cmath>

namespace k4812 {

namespace {

// Two numbers are the same setting when they agree to what sway prints.
bool sameNumber(const QString& written, const QString& readBack)
{
    bool a = false;
    bool b = false;
    const double x = written.toDouble(&a);
    const double y = readBack.toDouble(&b);
    return a && b && std::fabs(x - y) < 1e-4;
}

QString numberText(double value)
{
    // C notation with a point, whatever the locale.
    return QString::number(value, 'g', 6);
}

} // namespace

SwayPointerSettings::SwayPointerSettings()
    : m_runner([](const QStringList& arguments) { return runDesktopCommand(QStringLiteral("swaymsg"), arguments); })
{
}

SwayPointerSettings::SwayPointerSettings(DesktopCommandRunner runner) : m_runner(std::move(runner)) {}

PointerSettingSupport SwayPointerSettings::support(PointerSetting setting) const
{
    if (setting == PointerSetting::DoubleClickTime)
        return PointerSettingSupport::no(
            QStringLiteral("sway has no double-click time setting; each program keeps its own."));
    return PointerSettingSupport::yes();
}

QStringList SwayPointerSettings::inputArguments(const QString& setting, const QString& value)
{
    return {QStringLiteral("input"), QStringLiteral("type:pointer"), setting, value};
}

QStringList SwayPointerSettings::readArguments()
{
    return {QStringLiteral("--raw"), QStringLiteral("-t"), QStringLiteral("get_inputs")};
}

QStringList SwayPointerSettings::pointerValues(const QString& getInputsJson, const QString& field)
{
    QStringList values;
    const QJsonArray inputs = QJsonDocument::fromJson(getInputsJson.toUtf8()).array();
    for (const QJsonValue& input : inputs) {
        const QJsonObject device = input.toObject();
        if (device.value(QStringLiteral("type")).toString() != QLatin1String("pointer"))
            continue;
        // The libinput settings are absent for devices libinput does not
        // drive (virtual pointers); the scroll factor is sway's own.
        const QJsonObject source = field == QLatin1String("scroll_factor")
            ? device
            : device.value(QStringLiteral("libinput")).toObject();
        const QJsonValue value = source.value(field);
        if (value.isString())
            values.append(value.toString());
        else if (value.isDouble())
            values.append(numberText(value.toDouble()));
    }
    return values;
}

PointerSettingResult SwayPointerSettings::applyMouseAcceleration(const MouseAcceleration& value)
{
    return setAndReadBack(PointerSetting::Acceleration, QStringLiteral("accel_profile"),
                          QStringLiteral("accel_profile"), libinputAccelProfile(value));
}

PointerSettingResult SwayPointerSettings::applyMouseSpeed(int speed)
{
    return setAndReadBack(PointerSetting::PointerSpeed, QStringLiteral("pointer_accel"), QStringLiteral("accel_speed"),
                          numberText(libinputAccelSpeed(speed)));
}

PointerSettingResult SwayPointerSettings::applyWheelScrollLines(int lines)
{
    return setAndReadBack(PointerSetting::WheelScrollLines, QStringLiteral("scroll_factor"),
                          QStringLiteral("scroll_factor"), numberText(wheelScrollFactor(lines)));
}

PointerSettingResult SwayPointerSettings::applyDoubleClickTime(int)
{
    return notSupported(PointerSetting::DoubleClickTime);
}

PointerSettingResult SwayPointerSettings::setAndReadBack(PointerSetting setting, const QString& command,
                                                         const QString& field, const QString& value)
{
    const DesktopCommandOutcome set = m_runner(inputArguments(command, value));
    if (!set.ok)
        return failed(setting, QStringLiteral("sway did not take %1 %2: %3").arg(command, value, set.error));
    const DesktopCommandOutcome get = m_runner(readArguments());
    if (!get.ok)
        return failed(setting, QStringLiteral("sway's inputs could not be read back: %1").arg(get.error));
    const QStringList values = pointerValues(get.output, field);
    if (values.isEmpty()) {
        return failed(setting, QStringLiteral("no pointer device reports its %1, so the %2 could not be set")
                                   .arg(field, pointerSettingName(setting)));
    }
    for (const QString& kept : values) {
        if (kept != value && !sameNumber(value, kept)) {
            return failed(setting, QStringLiteral("the %1 did not stick: a pointer device keeps %2 %3, not %4")
                                       .arg(pointerSettingName(setting), field, kept, value));
        }
    }
    return PointerSettingResult::Applied;
}

} // namespace k4812
