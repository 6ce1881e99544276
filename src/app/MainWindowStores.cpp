// The window's stores run on the storage thread (StorageThread): the window
// keeps repainting while the disk syncs or another program holds the
// settings database. The storage thread then owns the profile manager, so
// the window's thread must leave it alone until the store ends: input is
// held, and what arrives meanwhile from elsewhere (a monitor message, the
// end of the pending desktop action's wait, a close) waits for the store.

#include "app/MainWindow.h"

#include "ui/controls/StorageInputHold.h"

#include "platform/desktop/StorageThread.h"

#include <QScopeGuard>
#include <QTimer>

namespace k4812 {

void TK4812CfgMain::runStore(const std::function<void()>& store)
{
    ++m_storesRunning;
    const auto ended = qScopeGuard([this] {
        if (--m_storesRunning == 0)
            releaseAfterStores();
    });
    StorageInputHold hold;
    // Every event is handled meanwhile: the hold keeps what could edit.
    StorageThread::shared().run(store, QEventLoop::AllEvents);
}

void TK4812CfgMain::whenNotStoring(std::function<void()> action)
{
    if (storing())
        m_afterStores.push_back(std::move(action));
    else
        action();
}

void TK4812CfgMain::releaseAfterStores()
{
    // From the event loop, in the order they arrived: the caller of the
    // store goes on with its own work first.
    // Each checks again: another store may have started by then.
    for (std::function<void()>& action : std::exchange(m_afterStores, {}))
        QTimer::singleShot(0, this, [this, action = std::move(action)] { whenNotStoring(action); });
    if (m_closeRequested && !m_gate->busy())
        QTimer::singleShot(0, this, &TK4812CfgMain::close);
}

} // namespace k4812
