#pragma once
// The desktop's pointer settings, the ones Windows sets through
// SystemParametersInfoW and SetDoubleClickTime: acceleration, pointer speed,
// wheel scroll lines and double-click time.
//
// Callers speak in Windows' terms and scales; each back end maps them onto
// what its desktop has and says honestly what became of every setting. A
// setting the desktop cannot take is logged once per process and reported as
// not applied, never faked; support() tells beforehand which settings a
// desktop has at all. Back ends: GNOME settings keys, KDE Plasma's
// settings and KWin, sway, X11 pointer control, a journal for tests, and
// "none" (see PointerSettingsFactory.h).
// All calls may come from any thread.

#include <QString>

#include <array>
#include <cstdint>
#include <mutex>

namespace k4812 {

// The three integers of SPI_SETMOUSE. Windows doubles the pointer's motion
// when it moves more than firstThreshold in one report (acceleration >= 1)
// and doubles it again above secondThreshold (acceleration 2); 0 is off.
struct MouseAcceleration {
    std::int32_t firstThreshold = 0;
    std::int32_t secondThreshold = 0;
    std::int32_t acceleration = 0;

    bool operator==(const MouseAcceleration&) const = default;
};

enum class PointerSetting { Acceleration, PointerSpeed, WheelScrollLines, DoubleClickTime };

enum class PointerSettingResult {
    Applied,      // the desktop took the setting
    Approximated, // the desktop took the nearest setting it has; logged once
    NotSupported, // the desktop has no such setting; logged once, nothing changed
    Rejected,     // the value is outside what Windows accepts; logged, nothing changed
    Failed,       // the desktop could not be reached or refused; logged
};

// Whether a desktop can take a setting at all. The window shows a setting
// the desktop cannot take as not applicable, with `reason` (English, one
// short sentence, translated where it is shown) as its explanation.
struct PointerSettingSupport {
    bool supported = true;
    QString reason; // empty when supported

    static PointerSettingSupport yes() { return {}; }
    static PointerSettingSupport no(const QString& why) { return {false, why}; }
};

// True for Applied and Approximated.
bool isApplied(PointerSettingResult result);
// True for Failed: the desktop has the setting but did not take it (it could
// not be reached, or the value did not stick). A setting it has no place for
// and a value out of range are not the desktop's failures.
bool isDesktopFailure(PointerSettingResult result);
// "acceleration", "pointer speed", "wheel scroll lines", "double-click time".
QString pointerSettingName(PointerSetting setting);
// "applied", "approximated", "not supported", "rejected", "failed".
QString pointerSettingResultName(PointerSettingResult result);

// The libinput terms that GNOME and sway share: the acceleration profile
// ("flat" without acceleration, "adaptive" with it; the thresholds have no
// setting) and the pointer speed -1 ... 1, with Windows' 1, 10 (both
// defaults) and 20 at -1, 0 and 1, linear on each side of 10.
QString libinputAccelProfile(const MouseAcceleration& value);
double libinputAccelSpeed(int windowsSpeed);
// The wheel's lines per notch as a compositor's scroll factor (sway, KWin):
// Windows' default 3 lines are the factor 1, so n lines are n / 3 ("one
// page", stored as 20 lines, is 20 / 3; 0 lines stop the wheel).
double wheelScrollFactor(int lines);

// The ranges Windows accepts.
inline constexpr int kMinPointerSpeed = 1;
inline constexpr int kMaxPointerSpeed = 20;
inline constexpr int kDefaultPointerSpeed = 10;
inline constexpr int kMaxMouseAcceleration = 2;
inline constexpr int kMinDoubleClickTime = 1;
inline constexpr int kMaxDoubleClickTime = 5000; // Windows' own upper limit

class PointerSettings {
public:
    virtual ~PointerSettings() = default;

    // "gnome", "kde", "sway", "x11", "journal", "none".
    virtual QString name() const = 0;

    // What this desktop can take, asked before any value is set (the window
    // asks when it builds its page). Each back end answers for every setting
    // from what its desktop has, not from a trial: a back end for another
    // desktop (KDE, sway) gives its own answers here. A setting that is not
    // supported is never passed to the back end's apply function: setting it
    // logs the reason once and reports NotSupported.
    virtual PointerSettingSupport support(PointerSetting setting) const = 0;

    // SPI_SETMOUSE: thresholds >= 0, acceleration 0 ... 2.
    PointerSettingResult setMouseAcceleration(const MouseAcceleration& value);
    // SPI_SETMOUSESPEED: 1 (slowest) ... 20 (fastest), 10 is the default.
    PointerSettingResult setMouseSpeed(int speed);
    // SPI_SETWHEELSCROLLLINES: lines per wheel notch, >= 0 (20 stands for
    // "one page" in this program).
    PointerSettingResult setWheelScrollLines(int lines);
    // SetDoubleClickTime and SPI_SETDOUBLECLICKTIME: 1 ... 5000 ms.
    PointerSettingResult setDoubleClickTime(int milliseconds);

    // Why the last setting of `setting` failed, as the back end said (English,
    // one sentence); empty when it did not fail or the back end gave no reason.
    QString failureReason(PointerSetting setting) const;

protected:
    // Called with values already checked against the ranges above.
    virtual PointerSettingResult applyMouseAcceleration(const MouseAcceleration& value) = 0;
    virtual PointerSettingResult applyMouseSpeed(int speed) = 0;
    virtual PointerSettingResult applyWheelScrollLines(int lines) = 0;
    virtual PointerSettingResult applyDoubleClickTime(int milliseconds) = 0;

    // Logs once per process that this desktop lacks `setting`, with the
    // reason support() gives, and returns NotSupported.
    PointerSettingResult notSupported(PointerSetting setting) const;
    // Logs "Pointer settings (name): reason", keeps the reason for
    // failureReason() and returns Failed.
    PointerSettingResult failed(PointerSetting setting, const QString& reason);

private:
    void keepReason(PointerSetting setting, const QString& reason);

    mutable std::mutex m_reasonsMutex; // settings may be set from several threads
    std::array<QString, 4> m_reasons;
};

} // namespace k4812
