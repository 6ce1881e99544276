#include "profiles/ActionTimer.h"

#include <QTimer>

namespace k4812 {

namespace {

class QtActionTimer final : public ActionTimer {
public:
    QtActionTimer()
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (onTimeout)
                onTimeout();
        });
    }

    void start(int milliseconds) override { m_timer.start(milliseconds); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<ActionTimer> makeQtActionTimer()
{
    return std::make_unique<QtActionTimer>();
}

} // namespace k4812
