#include "platform/desktop/X11PointerSettings.h"

#include "platform/desktop/WarnOnce.h"

#include <QtGlobal>

#include <dlfcn.h>

#include <algorithm>
#include <mutex>

namespace k4812 {

namespace {

// The few libX11 entry points used, with Display* and XErrorEvent* as void*.
struct Xlib {
    using OpenDisplay = void* (*)(const char*);
    using CloseDisplay = int (*)(void*);
    using ChangePointerControl = int (*)(void*, int, int, int, int, int);
    using GetPointerControl = int (*)(void*, int*, int*, int*);
    using Sync = int (*)(void*, int);
    using ErrorHandler = int (*)(void*, void*);
    using SetErrorHandler = ErrorHandler (*)(ErrorHandler);

    OpenDisplay openDisplay = nullptr;
    CloseDisplay closeDisplay = nullptr;
    ChangePointerControl changePointerControl = nullptr;
    GetPointerControl getPointerControl = nullptr;
    Sync sync = nullptr;
    SetErrorHandler setErrorHandler = nullptr;

    bool loaded() const
    {
        return openDisplay && closeDisplay && changePointerControl && getPointerControl && sync && setErrorHandler;
    }
};

// Loaded once and kept for the life of the process.
const Xlib& xlib()
{
    static const Xlib lib = [] {
        Xlib l;
        void* handle = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            return l;
        l.openDisplay = reinterpret_cast<Xlib::OpenDisplay>(dlsym(handle, "XOpenDisplay"));
        l.closeDisplay = reinterpret_cast<Xlib::CloseDisplay>(dlsym(handle, "XCloseDisplay"));
        l.changePointerControl = reinterpret_cast<Xlib::ChangePointerControl>(dlsym(handle, "XChangePointerControl"));
        l.getPointerControl = reinterpret_cast<Xlib::GetPointerControl>(dlsym(handle, "XGetPointerControl"));
        l.sync = reinterpret_cast<Xlib::Sync>(dlsym(handle, "XSync"));
        l.setErrorHandler = reinterpret_cast<Xlib::SetErrorHandler>(dlsym(handle, "XSetErrorHandler"));
        return l;
    }();
    return lib;
}

// Xlib's error handler is process-wide and its default one ends the process,
// so every X call here runs under one lock with a handler that only counts.
std::mutex xMutex;
int xErrors = 0;

int countError(void*, void*)
{
    ++xErrors;
    return 0;
}

} // namespace

X11PointerSettings::PointerControl X11PointerSettings::pointerControlFor(const MouseAcceleration& value)
{
    PointerControl control;
    if (value.acceleration == 0)
        return control;
    control.numerator = 2;
    control.denominator = 1;
    control.threshold = std::max(1, value.firstThreshold);
    control.setThreshold = true;
    control.approximated = value.acceleration >= 2;
    return control;
}

PointerSettingResult X11PointerSettings::applyMouseAcceleration(const MouseAcceleration& value)
{
    const Xlib& x = xlib();
    if (!x.loaded()) {
        return failed(PointerSetting::Acceleration, QStringLiteral("libX11 cannot be loaded"));
    }
    const PointerControl control = pointerControlFor(value);
    std::lock_guard lock(xMutex);
    void* display = x.openDisplay(nullptr);
    if (display == nullptr) {
        return failed(PointerSetting::Acceleration, QStringLiteral("cannot open the X display \"%1\"")
                                   .arg(QString::fromLocal8Bit(qgetenv("DISPLAY"))));
    }
    xErrors = 0;
    const Xlib::ErrorHandler previous = x.setErrorHandler(&countError);
    x.changePointerControl(display, 1, control.setThreshold ? 1 : 0, control.numerator, control.denominator,
                           control.threshold);
    x.sync(display, 0);
    // Read back: a server may accept the request and keep nothing (Xvfb does).
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
    x.getPointerControl(display, &numerator, &denominator, &threshold);
    x.sync(display, 0);
    x.setErrorHandler(previous);
    x.closeDisplay(display);
    if (xErrors != 0)
        return failed(PointerSetting::Acceleration, QStringLiteral("the X server refused the pointer control"));
    const bool kept = denominator > 0 && numerator * control.denominator == control.numerator * denominator
                      && (!control.setThreshold || threshold == control.threshold);
    if (!kept) {
        return failed(PointerSetting::Acceleration,
                      QStringLiteral("the X server did not keep acceleration %1/%2 above %3 (reads %4/%5 above %6)")
                          .arg(control.numerator)
                          .arg(control.denominator)
                          .arg(control.threshold)
                          .arg(numerator)
                          .arg(denominator)
                          .arg(threshold));
    }
    if (control.approximated) {
        warnOnce(QStringLiteral("pointer-settings/x11/second-stage"),
                 QStringLiteral("Pointer settings (x11): X has a single acceleration stage; the second doubling "
                                "above %1 is not available").arg(value.secondThreshold));
        return PointerSettingResult::Approximated;
    }
    return PointerSettingResult::Applied;
}

PointerSettingSupport X11PointerSettings::support(PointerSetting setting) const
{
    switch (setting) {
    case PointerSetting::Acceleration: return PointerSettingSupport::yes();
    case PointerSetting::PointerSpeed:
        return PointerSettingSupport::no(QStringLiteral("This X11 desktop has no pointer speed setting."));
    case PointerSetting::WheelScrollLines:
        return PointerSettingSupport::no(
            QStringLiteral("This X11 desktop has no setting for the lines a wheel notch scrolls."));
    case PointerSetting::DoubleClickTime:
        return PointerSettingSupport::no(QStringLiteral("This X11 desktop has no double-click time setting."));
    }
    return PointerSettingSupport::yes();
}

PointerSettingResult X11PointerSettings::applyMouseSpeed(int)
{
    return notSupported(PointerSetting::PointerSpeed);
}

PointerSettingResult X11PointerSettings::applyWheelScrollLines(int)
{
    return notSupported(PointerSetting::WheelScrollLines);
}

PointerSettingResult X11PointerSettings::applyDoubleClickTime(int)
{
    return notSupported(PointerSetting::DoubleClickTime);
}

} // namespace k4812
