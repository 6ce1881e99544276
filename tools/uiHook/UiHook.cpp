// The hook library: delivers the key events of the program's windows to one
// callback while a recording runs, as the Windows low-level keyboard record.
//
// An application-wide event filter sees each key event when it reaches its
// window, before any widget: there it is translated and handed to the
// callback, and swallowed when the callback says Blocked. Key events that
// travel on from the window to its widgets are not seen twice. While the hook
// is enabled, the application's own shortcuts are held back, so that a
// recorded key reaches the recorder instead of triggering an action.
//
// A held key must come as repeated presses and one release, as on Windows.
// On X11 the hook turns on XKB detectable auto-repeat for that
// (X11DetectableRepeat); where the server still sends release-press pairs,
// each release is held back until the next key event shows whether it was a
// repeat (KeyRepeatPairing). A held-back release reaches the callback at the
// latest kReleaseHoldMs later, or when the hook is disabled or replaced, and
// reaches the window afterwards unless the callback blocks it.

#include "DesktopKeyState.h"
#include "X11DetectableRepeat.h"

#include "macros/HookLibraryApi.h"
#include "macros/KeyRepeatPairing.h"
#include "macros/LinuxKeyMap.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QThread>
#include <QBasicTimer>
#include <QTimerEvent>

#include <memory>
#include <optional>
#include <utility>

#define K4812_HOOK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace k4812;

// How long a release waits for the press that would make it a repeat. The
// server sends both at once; the margin covers a busy event loop.
constexpr int kReleaseHoldMs = 100;

// The modifiers carried by the key event the callback is handling, for
// GetHookKeyState; none outside a callback.
std::optional<Qt::KeyboardModifiers> g_eventModifiers;

class KeyboardHookFilter : public QObject {
public:
    KeyboardHookFilter(K4812KeyboardHookCallback callback, void* userData)
        : QObject(QCoreApplication::instance()), m_callback(callback), m_userData(userData)
    {
        // Only X11 sends repeats as pairs.
        m_pairReleases = QGuiApplication::platformName() == QLatin1String("xcb");
        m_detectableRepeat.enable();
    }

    // A new recording: the old callback still gets the release it is owed.
    void setCallback(K4812KeyboardHookCallback callback, void* userData)
    {
        ++m_deliveries;
        releaseHeld();
        m_callback = callback;
        m_userData = userData;
        m_translator.reset();
        endDelivery();
    }

    // Stops delivering; the filter goes now, or once the delivery running
    // now returns. `releaseHeld`: a release held back still reaches the
    // callback first (not when the library is unloaded at exit).
    void retire(bool releaseHeldFirst)
    {
        if (m_retired)
            return;
        ++m_deliveries;
        if (releaseHeldFirst)
            releaseHeld();
        QCoreApplication::instance()->removeEventFilter(this);
        m_callback = nullptr;
        m_retired = true;
        m_detectableRepeat.restore();
        endDelivery();
    }

protected:
    // The held release's time is up. (A timer event of this object's own, so
    // the callback may disable the hook and this object go from inside it.)
    void timerEvent(QTimerEvent* event) override
    {
        if (event->timerId() != m_releaseTimer.timerId()) {
            QObject::timerEvent(event);
            return;
        }
        ++m_deliveries;
        releaseHeld();
        endDelivery();   // may delete this
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_resending)
            return false;
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Accepted: the key is no shortcut and arrives as a key press.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (watched->isWindowType()) {
                ++m_deliveries;
                const bool swallowed = keyAtWindow(watched, *static_cast<QKeyEvent*>(event));
                endDelivery();   // may delete this
                return swallowed;
            }
            return false;
        default:
            return false;
        }
    }

private:
    bool keyAtWindow(QObject* window, QKeyEvent& event)
    {
        LinuxKeyEvent linuxEvent;
        linuxEvent.key.nativeScanCode = event.nativeScanCode();
        linuxEvent.key.qtKey = event.key();
        linuxEvent.key.keypad = event.modifiers().testFlag(Qt::KeypadModifier);
        linuxEvent.released = event.type() == QEvent::KeyRelease;
        linuxEvent.autoRepeat = event.isAutoRepeat();
        linuxEvent.time = std::uint32_t(event.timestamp());
        if (!m_pairReleases) {
            const std::optional<Qt::KeyboardModifiers> outer = std::exchange(g_eventModifiers, event.modifiers());
            const bool blocked = callBack(linuxEvent);
            g_eventModifiers = outer;
            return blocked;
        }

        KeyRepeatPairing::Step step = m_pairing.next(linuxEvent);
        if (step.heldRelease)
            deliverHeld(*step.heldRelease);
        if (!step.event) {
            // Held back: the window gets it later, unless blocked.
            m_heldEvent.reset(event.clone());
            m_heldReceiver = window;
            m_releaseTimer.start(kReleaseHoldMs, this);
            return true;
        }
        if (!m_pairing.holding())
            m_releaseTimer.stop();
        const std::optional<Qt::KeyboardModifiers> outer = std::exchange(g_eventModifiers, event.modifiers());
        const bool blocked = callBack(*step.event);
        g_eventModifiers = outer;
        return blocked;
    }

    // The release held back, if any, as a real one.
    void releaseHeld()
    {
        m_releaseTimer.stop();
        if (std::optional<LinuxKeyEvent> held = m_pairing.flush())
            deliverHeld(*held);
    }

    void deliverHeld(const LinuxKeyEvent& release)
    {
        const std::unique_ptr<QKeyEvent> event = std::move(m_heldEvent);
        const QPointer<QObject> receiver = std::exchange(m_heldReceiver, nullptr);
        if (!callBack(release) && event && receiver) {
            m_resending = true;
            QCoreApplication::sendEvent(receiver, event.get());
            m_resending = false;
        }
    }

    // Hands one event to the callback; returns Blocked.
    bool callBack(const LinuxKeyEvent& linuxEvent)
    {
        std::optional<TKBDLLHOOKSTRUCT> record = m_translator.translate(linuxEvent);
        if (!record || m_callback == nullptr || m_retired)
            return false;   // a key Windows has no code for passes untouched
        bool blocked = false;
        m_callback(m_userData, 0, linuxEvent.released ? kHookMessageKeyUp : kHookMessageKeyDown, &*record, &blocked);
        return blocked;
    }

    // Ends what began with ++m_deliveries; the filter goes once the last
    // delivery returns after the hook was disabled from inside a callback.
    void endDelivery()
    {
        if (--m_deliveries == 0 && m_retired)
            delete this;
    }

    K4812KeyboardHookCallback m_callback;
    void* m_userData;
    KeyEventTranslator m_translator;
    KeyRepeatPairing m_pairing;
    X11DetectableRepeat m_detectableRepeat;
    QBasicTimer m_releaseTimer;
    std::unique_ptr<QKeyEvent> m_heldEvent;
    QPointer<QObject> m_heldReceiver;
    bool m_pairReleases = false;
    bool m_resending = false;
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
            filter->retire(false);
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
    retiring->retire(true);
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

K4812_HOOK_EXPORT int GetHookKeyState(int virtualKey)
{
    if (!g_eventModifiers)
        return -1;
    switch (virtualKey) {
    case 0xA0: case 0xA1: case 0xA2: case 0xA3: case 0xA4: case 0xA5: case 0x5B: case 0x5C:
        return modifierHeld(*g_eventModifiers, virtualKey) ? 1 : 0;
    default:
        return -1;
    }
}
