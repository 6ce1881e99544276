#include "ui/controls/BusyCursorAhead.h"

#include <QByteArray>
#include <QCursor>
#include <QGuiApplication>
#include <QThreadPool>
#include <QWindow>

#include <dlfcn.h>

namespace k4812 {

namespace {

struct XcursorImages; // opaque here: only handed back to the library

// libXcursor's own functions; the library is the one the toolkit loaded at
// run time, so the program neither links it nor needs its headers.
struct XcursorFunctions {
    void* library = nullptr;
    char* (*getTheme)(Display*) = nullptr;
    int (*getDefaultSize)(Display*) = nullptr;
    XcursorImages* (*loadImages)(const char* name, const char* theme, int size) = nullptr;
    void (*destroyImages)(XcursorImages*) = nullptr;
};

template <typename Function>
void resolve(void* library, const char* symbol, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, symbol));
}

// Only when the toolkit has loaded it: RTLD_NOLOAD takes no new library in.
bool loadedXcursor(XcursorFunctions& xcursor)
{
    xcursor.library = dlopen("libXcursor.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (xcursor.library == nullptr)
        return false;
    resolve(xcursor.library, "XcursorGetTheme", xcursor.getTheme);
    resolve(xcursor.library, "XcursorGetDefaultSize", xcursor.getDefaultSize);
    resolve(xcursor.library, "XcursorLibraryLoadImages", xcursor.loadImages);
    resolve(xcursor.library, "XcursorImagesDestroy", xcursor.destroyImages);
    if (xcursor.getTheme && xcursor.getDefaultSize && xcursor.loadImages && xcursor.destroyImages)
        return true;
    dlclose(xcursor.library);
    return false;
}

// On the window's thread: the toolkit keeps every cursor shape it has made,
// per screen, also after the window it was made for is gone.
void makeBusyCursor()
{
    QWindow probe;
    probe.create();
    probe.setCursor(Qt::WaitCursor);
}

} // namespace

bool prepareBusyCursor()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    XcursorFunctions xcursor;
    if (display == nullptr || !loadedXcursor(xcursor))
        return false;
    // The theme and size the toolkit's own load will ask for, read here on
    // the window's thread, which owns the display connection.
    const char* themeName = xcursor.getTheme(display);
    const QByteArray theme = themeName != nullptr ? QByteArray(themeName) : QByteArray();
    const int size = xcursor.getDefaultSize(display);
    QThreadPool::globalInstance()->start([xcursor, theme, size] {
        // The toolkit's names of the busy shape, in its order.
        for (const char* name : {"wait", "watch"}) {
            XcursorImages* images = xcursor.loadImages(name, theme.isNull() ? nullptr : theme.constData(), size);
            if (images != nullptr) {
                xcursor.destroyImages(images);
                break;
            }
        }
        dlclose(xcursor.library);
        // The application object outlives the global pool's tasks: it waits
        // for them when it ends.
        QMetaObject::invokeMethod(qApp, &makeBusyCursor, Qt::QueuedConnection);
    });
    return true;
}

} // namespace k4812
