#include "platform/desktop/KdePointerSettings.h"

#include "platform/desktop/X11PointerSettings.h"

#include <QtGlobal>

#include <cmath>

namespace k4812 {

namespace {

constexpr int kLibinputProfileFlat = 1;     // LIBINPUT_CONFIG_ACCEL_PROFILE_FLAT
constexpr int kLibinputProfileAdaptive = 2; // LIBINPUT_CONFIG_ACCEL_PROFILE_ADAPTIVE

const QString kKdeglobals = QStringLiteral("kdeglobals");
const QString kKcminputrc = QStringLiteral("kcminputrc");

bool sameValue(const QVariant& wanted, const QVariant& kept)
{
    if (wanted.typeId() == QMetaType::Bool)
        return kept.typeId() == QMetaType::Bool && kept.toBool() == wanted.toBool();
    bool ok = false;
    const double value = kept.toDouble(&ok);
    return ok && std::fabs(value - wanted.toDouble()) < 1e-6;
}

QString numberText(double value)
{
    // C notation with a point, whatever the locale.
    return QString::number(value, 'g', 6);
}

} // namespace

KdePointerSettings::KdePointerSettings(Options options)
    : m_options(std::move(options))
{
    if (!m_options.x11Acceleration) {
        auto x11 = std::make_shared<X11PointerSettings>();
        m_options.x11Acceleration = [x11](const MouseAcceleration& value) { return x11->setMouseAcceleration(value); };
    }
}

PointerSettingSupport KdePointerSettings::support(PointerSetting setting) const
{
    if (!m_options.tools.found())
        return PointerSettingSupport::no(
            QStringLiteral("KDE Plasma's configuration tool (kwriteconfig6 or kwriteconfig5) is not installed."));
    if (m_options.session == Session::X11 && setting == PointerSetting::PointerSpeed)
        return PointerSettingSupport::no(
            QStringLiteral("On KDE Plasma on X11 the pointer speed belongs to the X server's input driver, "
                           "which this program cannot set."));
    return PointerSettingSupport::yes();
}

int KdePointerSettings::accelProfileFor(const MouseAcceleration& value)
{
    return value.acceleration == 0 ? kLibinputProfileFlat : kLibinputProfileAdaptive;
}

QString KdePointerSettings::speedText(int windowsSpeed)
{
    return QString::number(libinputAccelSpeed(windowsSpeed), 'f', 3);
}

KdeConfigKey KdePointerSettings::deviceKey(const KWinPointerDevice& device, const QString& key)
{
    return {kKcminputrc,
            {QStringLiteral("Libinput"), QString::number(device.vendor), QString::number(device.product), device.name},
            key};
}

PointerSettingResult KdePointerSettings::applyMouseAcceleration(const MouseAcceleration& value)
{
    if (m_options.session == Session::Wayland) {
        const bool flat = accelProfileFor(value) == kLibinputProfileFlat;
        return setOnDevices(PointerSetting::Acceleration,
                            flat ? QStringLiteral("pointerAccelerationProfileFlat")
                                 : QStringLiteral("pointerAccelerationProfileAdaptive"),
                            true, QStringLiteral("PointerAccelerationProfile"),
                            QString::number(accelProfileFor(value)));
    }
    const PointerSettingResult live = m_options.x11Acceleration(value);
    if (!isApplied(live))
        return live;
    // Kept where Plasma's X11 mouse module reads them at the next login: the
    // core pointer's factor and threshold (evdev driver) and the profile
    // (libinput driver).
    const X11PointerSettings::PointerControl control = X11PointerSettings::pointerControlFor(value);
    const QStringList mouse{QStringLiteral("Mouse")};
    if (!writeChecked(PointerSetting::Acceleration, {kKcminputrc, mouse, QStringLiteral("XLbInptAccelProfileFlat")},
                      accelProfileFor(value) == kLibinputProfileFlat ? QStringLiteral("true") : QStringLiteral("false"))
        || !writeChecked(PointerSetting::Acceleration, {kKcminputrc, mouse, QStringLiteral("Acceleration")},
                         numberText(double(control.numerator) / control.denominator)))
        return PointerSettingResult::Failed;
    if (control.setThreshold
        && !writeChecked(PointerSetting::Acceleration, {kKcminputrc, mouse, QStringLiteral("Threshold")},
                         QString::number(control.threshold)))
        return PointerSettingResult::Failed;
    return live;
}

PointerSettingResult KdePointerSettings::applyMouseSpeed(int speed)
{
    // Only reached on Wayland: support() rules it out on X11.
    return setOnDevices(PointerSetting::PointerSpeed, QStringLiteral("pointerAcceleration"), libinputAccelSpeed(speed),
                        QStringLiteral("PointerAcceleration"), speedText(speed));
}

PointerSettingResult KdePointerSettings::applyWheelScrollLines(int lines)
{
    if (m_options.session == Session::Wayland) {
        // KWin scales the wheel for every program; kdeglobals' WheelScrollLines
        // stays, or Qt programs would scale twice.
        const double factor = wheelScrollFactor(lines);
        return setOnDevices(PointerSetting::WheelScrollLines, QStringLiteral("scrollFactor"), factor,
                            QStringLiteral("ScrollFactor"), numberText(factor));
    }
    return writeGlobal(PointerSetting::WheelScrollLines,
                       {kKdeglobals, {QStringLiteral("KDE")}, QStringLiteral("WheelScrollLines")},
                       QString::number(lines));
}

PointerSettingResult KdePointerSettings::applyDoubleClickTime(int milliseconds)
{
    return writeGlobal(PointerSetting::DoubleClickTime,
                       {kKdeglobals, {QStringLiteral("KDE")}, QStringLiteral("DoubleClickInterval")},
                       QString::number(milliseconds));
}

const KWinInputDevices& KdePointerSettings::kwin()
{
    if (!m_options.kwin)
        m_options.kwin = loadKWinInputDevices();
    return *m_options.kwin;
}

bool KdePointerSettings::writeChecked(PointerSetting setting, const KdeConfigKey& key, const QString& value)
{
    QString readBack;
    QString error;
    if (m_options.tools.writeAndCheck(key, value, readBack, error))
        return true;
    failed(setting, QStringLiteral("the %1 did not stick: %2").arg(pointerSettingName(setting), error));
    return false;
}

PointerSettingResult KdePointerSettings::writeGlobal(PointerSetting setting, const KdeConfigKey& key,
                                                     const QString& value)
{
    if (!writeChecked(setting, key, value))
        return PointerSettingResult::Failed;
    QString error;
    if (!kwin().notifyMouseSettingsChanged(error)) {
        return failed(setting, QStringLiteral("the %1 is saved in %2, but the running programs cannot be told "
                                              "(%3); they take it when they start")
                                   .arg(pointerSettingName(setting), KdeConfigTools::describe(key), error));
    }
    return PointerSettingResult::Applied;
}

PointerSettingResult KdePointerSettings::setOnDevices(PointerSetting setting, const QString& property,
                                                      const QVariant& value, const QString& configKey,
                                                      const QString& configText)
{
    const QString what = pointerSettingName(setting);
    QString error;
    const std::optional<QList<KWinPointerDevice>> devices = kwin().pointerDevices(error);
    if (!devices) {
        return failed(setting, QStringLiteral("cannot set the %1: %2").arg(what, error));
    }
    if (devices->isEmpty()) {
        return failed(setting, QStringLiteral("KWin reports no pointer device, so the %1 could not be set").arg(what));
    }
    for (const KWinPointerDevice& device : *devices) {
        if (!kwin().setProperty(device.sysName, property, value, error)) {
            return failed(setting, QStringLiteral("KWin refused the %1 (%2 of %3): %4")
                                       .arg(what, property, device.sysName, error));
        }
        const std::optional<QVariant> kept = kwin().property(device.sysName, property, error);
        if (!kept || !sameValue(value, *kept)) {
            return failed(setting, QStringLiteral("the %1 did not stick: \"%2\" (%3) keeps %4 %5, not %6")
                                       .arg(what, device.name, device.sysName, property,
                                            kept ? kept->toString() : error, value.toString()));
        }
    }
    // KWin keeps the value in kcminputrc itself; written here as well, so that
    // it is there for the next login whatever KWin's version does.
    for (const KWinPointerDevice& device : *devices) {
        if (!writeChecked(setting, deviceKey(device, configKey), configText))
            return PointerSettingResult::Failed;
    }
    return PointerSettingResult::Applied;
}

} // namespace k4812
