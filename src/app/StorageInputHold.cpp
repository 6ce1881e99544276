#include "app/StorageInputHold.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <memory>
#include <utility>
#include <vector>

namespace k4812 {

namespace {

int g_holds = 0;
int g_swallowed = 0;

// Input from the display that arrived during a store, for its window.
struct HeldEvent {
    QPointer<QObject> window;
    std::unique_ptr<QEvent> event;
};
std::vector<HeldEvent>& heldEvents()
{
    static std::vector<HeldEvent> events;
    return events;
}

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

} // namespace

StorageInputHold::StorageInputHold()
{
    if (g_holds++ == 0 && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->installEventFilter(this);
}

StorageInputHold::~StorageInputHold()
{
    if (--g_holds > 0)
        return;
    // What the user did during the store arrives now, in its order, through
    // the window as it would have come from the display.
    for (HeldEvent& held : std::exchange(heldEvents(), {})) {
        if (held.window)
            QCoreApplication::postEvent(held.window, held.event.release());
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

bool StorageInputHold::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    bool swallow = isInput(type);
    // A click queued on a button (the accessibility bridge's press) is
    // refused; a button's own timer (an animated click, auto-repeat) fires
    // again after the store.
    if (!swallow && (type == QEvent::MetaCall || type == QEvent::Timer))
        swallow = qobject_cast<QAbstractButton*>(watched) != nullptr;
    if (!swallow)
        return false;
    event->ignore();
    if (watched->isWindowType() && event->spontaneous()) {
        // From the display (presses, keys, the wheel reach the window first):
        // kept and delivered once the store has ended, so that nothing the
        // user did is lost. Pointer moves pass, so hovering still repaints.
        heldEvents().push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        return true;
    }
    ++g_swallowed;
    return true;
}

} // namespace k4812
