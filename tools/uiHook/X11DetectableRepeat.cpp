#include "X11DetectableRepeat.h"

#include <QGuiApplication>
#include <QtGlobal>

#include <dlfcn.h>

namespace k4812 {

namespace {

// XkbSetDetectableAutoRepeat and XkbGetDetectableAutoRepeat, with Display* as void*.
using SetDetectable = int (*)(void* display, int detectable, int* supported);
using GetDetectable = int (*)(void* display, int* supported);

void* x11Display()
{
#if QT_CONFIG(xcb)
    if (auto* app = qGuiApp; app != nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>())
            return x11->display();
    }
#endif
    return nullptr;
}

// Runs `use` with libX11's two entry points; the library is only looked up
// when it is loaded already (by Qt's X11 platform).
template <typename Use>
bool withXkb(Use use)
{
    void* handle = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
    if (handle == nullptr)
        return false;
    auto set = reinterpret_cast<SetDetectable>(dlsym(handle, "XkbSetDetectableAutoRepeat"));
    auto get = reinterpret_cast<GetDetectable>(dlsym(handle, "XkbGetDetectableAutoRepeat"));
    const bool done = set != nullptr && get != nullptr && use(set, get);
    dlclose(handle);
    return done;
}

} // namespace

bool X11DetectableRepeat::enable()
{
    if (m_changed)
        return true;
    if (qEnvironmentVariableIntValue("K4812_NO_XKB_DETECTABLE_REPEAT") == 1)
        return false;
    void* display = x11Display();
    if (display == nullptr)
        return false;
    return withXkb([&](SetDetectable set, GetDetectable get) {
        int supported = 0;
        if (get(display, &supported) != 0 || supported == 0)
            return supported != 0;   // already on (left as it is), or the server cannot
        m_changed = set(display, 1, &supported) != 0 && supported != 0;
        return m_changed;
    });
}

void X11DetectableRepeat::restore()
{
    if (!m_changed)
        return;
    m_changed = false;
    if (void* display = x11Display()) {
        withXkb([&](SetDetectable set, GetDetectable) {
            int supported = 0;
            set(display, 0, &supported);
            return true;
        });
    }
}

} // namespace k4812
