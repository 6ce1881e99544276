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
    if (!set.ok) {
        qWarning("Pointer settings (sway): cannot set the %s (%s %s): %s", qUtf8Printable(pointerSettingName(setting)),
                 qUtf8Printable(command), qUtf8Printable(value), qUtf8Printable(set.error));
        return PointerSettingResult::Failed;
    }
    const DesktopCommandOutcome get = m_runner(readArguments());
    if (!get.ok) {
        qWarning("Pointer settings (sway): cannot read the inputs back: %s", qUtf8Printable(get.error));
        return PointerSettingResult::Failed;
    }
    const QStringList values = pointerValues(get.output, field);
    if (values.isEmpty()) {
        qWarning("Pointer settings (sway): no pointer device reports its %s, so the %s could not be set",
                 qUtf8Printable(field), qUtf8Printable(pointerSettingName(setting)));
        return PointerSettingResult::Failed;
    }
    for (const QString& kept : values) {
        if (kept != value && !sameNumber(value, kept)) {
            qWarning("Pointer settings (sway): the %s did not stick: a pointer device keeps %s %s, not %s",
                     qUtf8Printable(pointerSettingName(setting)), qUtf8Printable(field), qUtf8Printable(kept),
                     qUtf8Printable(value));
            return PointerSettingResult::Failed;
        }
    }
    return PointerSettingResult::Applied;
}

} // namespace k4812
