#include "QtEventLoop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace k4812::test {

namespace {

// Creates the application object before the first test unless another part
// of this program already has one, and deletes it after the last.
class CoreApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QCoreApplication::instance() == nullptr)
            m_app = new QCoreApplication(m_argc, m_argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[16] = "tests_platform";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication* m_app = nullptr;
};

[[maybe_unused]] const ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new CoreApplicationEnvironment);

} // namespace

bool runEventsUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    // Ends the last wait at the deadline. Started again while the deadline
    // has not passed: a timer may fire a little early, and a wait after it
    // would otherwise wait for an event that never comes.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!done() && !deadline.hasExpired()) {
        if (!wake.isActive())
            wake.start(int(qMax<qint64>(1, deadline.remainingTime())));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

void wakeEventLoop()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
}

} // namespace k4812::test
