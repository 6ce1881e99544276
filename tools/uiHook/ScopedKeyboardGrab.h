#pragma once
// Keyboard grab for a recording window (QtGui only; header-only, for the
// window code that starts a recorder).
//
// While a recorder runs, its window takes the whole keyboard where the
// display server allows (X11 does; Wayland generally does not), so desktop
// shortcuts are recorded instead of acted on. The grab needs a window on
// screen: a window that is not exposed yet is grabbed as soon as it is. The
// grab always ends with this object (or release()), and never outlives the
// window.
//
//     // in the dialog, beside TuiHook:
//     std::unique_ptr<k4812::ScopedKeyboardGrab> m_grab;
//     void showEvent(QShowEvent*) override {
//         m_hook.RecordKeyboardSingleKey();
//         m_grab = std::make_unique<k4812::ScopedKeyboardGrab>(window()->windowHandle());
//     }
//     void done(int r) override { m_grab.reset(); m_hook.StopRecordKeyboardSingleKey(); QDialog::done(r); }

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWindow>

namespace k4812 {

class ScopedKeyboardGrab : public QObject {
public:
    explicit ScopedKeyboardGrab(QWindow* window) : m_window(window)
    {
        if (m_window == nullptr)
            return;
        m_window->installEventFilter(this);
        tryGrab();
    }

    ~ScopedKeyboardGrab() override { release(); }

    ScopedKeyboardGrab(const ScopedKeyboardGrab&) = delete;
    ScopedKeyboardGrab& operator=(const ScopedKeyboardGrab&) = delete;

    // Whether the display server gave the window the keyboard.
    bool grabbed() const { return m_grabbed; }

    void release()
    {
        if (m_window != nullptr) {
            m_window->removeEventFilter(this);
            if (m_grabbed)
                m_window->setKeyboardGrabEnabled(false);
        }
        m_grabbed = false;
        m_window = nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_window && !m_grabbed) {
            if (event->type() == QEvent::Expose || event->type() == QEvent::FocusIn)
                tryGrab();
        }
        if (watched == m_window && event->type() == QEvent::Hide && m_grabbed) {
            m_window->setKeyboardGrabEnabled(false);   // a hidden window holds no grab
            m_grabbed = false;
        }
        return false;
    }

private:
    void tryGrab()
    {
        if (m_window != nullptr && m_window->isExposed())
            m_grabbed = m_window->setKeyboardGrabEnabled(true);
    }

    QPointer<QWindow> m_window;
    bool m_grabbed = false;
};

} // namespace k4812
