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
    QTimer wake; // ends the last wait at the deadline
    wake.setSingleShot(true);
    wake.start(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

void wakeEventLoop()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
}

} // namespace k4812::test
