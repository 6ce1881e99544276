// The hook library: delivers the key events of the program's windows to one
// callback while a recording runs, as the Windows low-level keyboard record.
//
// An application-wide event filter sees each key event when it reaches its
// window, before any widget: there it is translated and handed to the
// callback, and swallowed when the callback says Blocked. Key events that
// travel on from the window to its widgets are not seen twice. While the hook
// is enabled, the application's own shortcuts are held back, so that a
// recorded key reaches the recorder instead of triggering an action.

#include "macros/HookLibraryApi.h"
#include "macros/LinuxKeyMap.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QThread>

#define K4812_HOOK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace k4812;

class KeyboardHookFilter : public QObject {
public:
    KeyboardHookFilter(K4812KeyboardHookCallback callback, void* userData)
        : QObject(QCoreApplication::instance()), m_callback(callback), m_userData(userData)
    {
    }

    void setCallback(K4812KeyboardHookCallback callback, void* userData)
    {
        m_callback = callback;
        m_userData = userData;
        m_translator.reset();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Accepted: the key is no shortcut and arrives as a key press.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (watched->isWindowType())
                return deliver(*static_cast<QKeyEvent*>(event));
            return false;
        default:
            return false;
        }
    }

private:
    bool deliver(const QKeyEvent& event)
    {
        LinuxKeyEvent linuxEvent;
        linuxEvent.key.nativeScanCode = event.nativeScanCode();
        linuxEvent.key.qtKey = event.key();
        linuxEvent.key.keypad = event.modifiers().testFlag(Qt::KeypadModifier);
        linuxEvent.released = event.type() == QEvent::KeyRelease;
        linuxEvent.autoRepeat = event.isAutoRepeat();
        linuxEvent.time = std::uint32_t(event.timestamp());
        std::optional<TKBDLLHOOKSTRUCT> record = m_translator.translate(linuxEvent);
        if (!record || m_callback == nullptr || m_retired)
            return false;   // a key Windows has no code for passes untouched
        bool blocked = false;
        ++m_deliveries;
        m_callback(m_userData, 0, linuxEvent.released ? kHookMessageKeyUp : kHookMessageKeyDown, &*record, &blocked);
        if (--m_deliveries == 0 && m_retired)
            delete this;   // the hook was disabled from inside the callback
        return blocked;
    }

public:
    // Stops delivering; the filter goes now, or once the callback running
    // now returns.
    void retire()
    {
        QCoreApplication::instance()->removeEventFilter(this);
        m_callback = nullptr;
        m_retired = true;
        if (m_deliveries == 0)
            delete this;
    }

private:

    K4812KeyboardHookCallback m_callback;
    void* m_userData;
    KeyEventTranslator m_translator;
    int m_deliveries = 0;
    bool m_retired = false;
};

QPointer<KeyboardHookFilter>& keyboardFilter()
{
    static QPointer<KeyboardHookFilter> filter;
    return filter;
}

bool onApplicationThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

// Removes the filter when the library is unloaded with the hook still on, so
// the application never calls into code that is gone.
struct UnloadGuard {
    ~UnloadGuard()
    {
        if (KeyboardHookFilter* filter = keyboardFilter().data(); filter != nullptr && onApplicationThread())
            filter->retire();
    }
} unloadGuard;

} // namespace

K4812_HOOK_EXPORT int EnableKeyboardHook(K4812KeyboardHookCallback callback, void* userData, int /*reserved*/)
{
    if (callback == nullptr || !onApplicationThread())
        return 0;
    QPointer<KeyboardHookFilter>& filter = keyboardFilter();
    if (filter) {
        filter->setCallback(callback, userData);
    } else {
        filter = new KeyboardHookFilter(callback, userData);
        QCoreApplication::instance()->installEventFilter(filter);
    }
    return 1;
}

K4812_HOOK_EXPORT int DisableKeyboardHook(void)
{
    QPointer<KeyboardHookFilter>& filter = keyboardFilter();
    if (!filter)
        return 1;
    if (!onApplicationThread())
        return 0;
    KeyboardHookFilter* retiring = filter.data();
    filter = nullptr;
    retiring->retire();
    return 1;
}

// The mouse pair completes the interface; no recorder takes mouse input, so
// it delivers nothing.
K4812_HOOK_EXPORT int EnableMouseHook(K4812MouseHookCallback callback, void* /*userData*/, int /*reserved*/)
{
    return callback != nullptr ? 1 : 0;
}

K4812_HOOK_EXPORT int DisableMouseHook(void)
{
    return 1;
}
