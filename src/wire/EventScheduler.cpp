#include "wire/EventScheduler.h"

#include <QTimer>

namespace k4812 {

void QtEventScheduler::runLater(QObject* context, int milliseconds, std::function<void()> action)
{
    QTimer::singleShot(milliseconds, context, std::move(action));
}

EventScheduler& defaultEventScheduler()
{
    static QtEventScheduler scheduler;
    return scheduler;
}

} // namespace k4812
