#include "ui/controls/StorageInputHold.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <deque>
#include <memory>
#include <utility>

namespace k4812 {

namespace {

int g_holds = 0;
int g_swallowed = 0;

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

// Display input that arrived during a store, for its window, or a change
// asked for meanwhile (then `action` is set).
struct KeptEvent {
    QPointer<QObject> window;
    std::shared_ptr<QEvent> event;
    std::function<void()> action;
};

// The application's filter: swallows or keeps input during stores and
// delivers what it kept, one event per turn of the event loop, so that a
// delivered click that opens a dialog or starts another store does not hold
// up the rest.
class InputKeeper final : public QObject {
public:
    static InputKeeper* instance()
    {
        static QPointer<InputKeeper> keeper;
        if (!keeper && QCoreApplication::instance() != nullptr)
            keeper = new InputKeeper(QCoreApplication::instance());
        return keeper;
    }

    void holdsBegin() { watch(true); }

    bool waiting() const { return g_holds > 0 || !m_kept.empty(); }

    void keepAction(QObject* context, std::function<void()> action)
    {
        watch(true);
        m_kept.push_back({context, nullptr, std::move(action)});
        if (g_holds == 0)
            postDelivery();
    }

    void holdsEnded()
    {
        if (m_kept.empty())
            watch(false);
        else
            postDelivery();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool fromDisplay = watched->isWindowType() && event->spontaneous();
        if (g_holds == 0) {
            // No store, but kept input still waits: later display input
            // queues behind it, so that nothing overtakes.
            if (!fromDisplay || !isInput(type))
                return false;
            keep(watched, *event);
            return true;
        }
        bool swallow = isInput(type);
        // A click queued on a button (the accessibility bridge's press) is
        // refused; a button's own timer (an animated click, auto-repeat)
        // fires again after the store.
        if (!swallow && (type == QEvent::MetaCall || type == QEvent::Timer))
            swallow = qobject_cast<QAbstractButton*>(watched) != nullptr;
        if (!swallow)
            return false;
        event->ignore();
        if (fromDisplay) {
            // Presses, keys and the wheel reach the window first: kept, so
            // that nothing the user did is lost.
            keep(watched, *event);
            return true;
        }
        ++g_swallowed;
        return true;
    }

private:
    using QObject::QObject;

    void keep(QObject* window, const QEvent& event)
    {
        m_kept.push_back({window, std::shared_ptr<QEvent>(event.clone()), {}});
    }

    void watch(bool on)
    {
        if (on == m_watching)
            return;
        m_watching = on;
        if (on)
            QCoreApplication::instance()->installEventFilter(this);
        else
            QCoreApplication::instance()->removeEventFilter(this);
    }

    void postDelivery()
    {
        if (m_deliveryPosted)
            return;
        m_deliveryPosted = true;
        QMetaObject::invokeMethod(this, [this] { deliverOne(); }, Qt::QueuedConnection);
    }

    void deliverOne()
    {
        m_deliveryPosted = false;
        if (g_holds > 0)
            return;   // a new store: its end delivers on
        if (m_kept.empty()) {
            watch(false);
            return;
        }
        const KeptEvent kept = std::move(m_kept.front());
        m_kept.pop_front();
        postDelivery();
        if (!kept.window)
            return;
        if (kept.action) {
            kept.action();
            return;
        }
        // Delivered with the modifiers it carries: whoever reads them (the
        // key recorders) takes them from the event, not from the desktop.
        QCoreApplication::sendEvent(kept.window, kept.event.get());
    }

    std::deque<KeptEvent> m_kept;
    bool m_watching = false;
    bool m_deliveryPosted = false;
};

} // namespace

StorageInputHold::StorageInputHold()
{
    if (g_holds++ == 0) {
        if (InputKeeper* keeper = InputKeeper::instance())
            keeper->holdsBegin();
    }
}

StorageInputHold::~StorageInputHold()
{
    if (--g_holds == 0) {
        if (InputKeeper* keeper = InputKeeper::instance())
            keeper->holdsEnded();
    }
}

bool StorageInputHold::active()
{
    return g_holds > 0;
}

int StorageInputHold::swallowedCount()
{
    return g_swallowed;
}

void StorageInputHold::whenFree(QObject* context, std::function<void()> action)
{
    InputKeeper* keeper = InputKeeper::instance();
    if (keeper == nullptr || !keeper->waiting()) {
        action();
        return;
    }
    keeper->keepAction(context, std::move(action));
}

} // namespace k4812
