// How long the UI thread goes without turning its event loop while the window
// runs a device sequence: the longest stretch between the event dispatcher
// waking up and it next being about to block, during one Apply and during a
// profile switch. The emulated mouse lives in memory, so its commands take
// microseconds; what is measured is the window's own work and the pauses,
// which must keep the loop turning.
//
//   k4812-stall-probe [ROUNDS]    prints one line per sequence and round

#include "app/MainWindow.h"

#include "emulator/EmulatorHidBackend.h"
#include "profiles/ProfileManager.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

namespace {

// The longest busy stretch of the event loop since the last reset. A stretch
// starts at the first wake-up after the loop blocked and ends when it next is
// about to block. The dispatcher reports a wake-up before each source it
// serves within one turn (posted events, timers, sockets), so restarting the
// clock at every wake-up would drop the work done earlier in the same turn;
// only the first wake-up after blocking starts a stretch.
class LoopStallMeter {
public:
    LoopStallMeter()
    {
        QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [this] {
            if (m_blocked) {
                m_blocked = false;
                m_awake.start();
            }
        });
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, [this] {
            if (m_awake.isValid() && !m_blocked)
                m_longestNs = std::max(m_longestNs, m_awake.nsecsElapsed());
            m_blocked = true;
        });
    }

    // The sequence starts synchronously from here, as a click would inside
    // one turn of the loop: the stretch starts now.
    void reset()
    {
        m_longestNs = 0;
        m_blocked = false;
        m_awake.start();
    }

    // Counts the stretch from the last wake-up to now: the work after the
    // sequence's last pause runs before the loop next blocks.
    void finish() { m_longestNs = std::max(m_longestNs, m_awake.nsecsElapsed()); }

    double longestMs() const { return double(m_longestNs) / 1e6; }

private:
    QElapsedTimer m_awake;
    bool m_blocked = true;
    qint64 m_longestNs = 0;
};

void report(const char* what, int round, const QElapsedTimer& total, LoopStallMeter& meter)
{
    meter.finish();
    QTextStream(stdout) << what << " round " << round << ": total " << total.elapsed() << " ms, longest stall "
                        << QString::number(meter.longestMs(), 'f', 2) << " ms" << Qt::endl;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 3;

    k4812::TDM dm;
    k4812::TuiHIDData hid(std::make_unique<k4812::EmulatorHidBackend>(), QStringList{});
    k4812::TK4812CfgMain::Services services;
    services.receiveMessages = false;
    services.startMonitor = false;
    k4812::TK4812CfgMain window(dm, hid, std::move(services));
    if (!window.FormCreate()) {
        QTextStream(stderr) << "the window did not start" << Qt::endl;
        return 1;
    }
    window.show();
    QApplication::processEvents();

    LoopStallMeter meter;
    for (int round = 1; round <= rounds; ++round) {
        QElapsedTimer total;
        meter.reset();
        total.start();
        window.BSBTNAPPLYClick();
        report("apply", round, total, meter);

        for (const char* name : {"BSBTNPROFILE2", "BSBTNPROFILE1"}) {
            auto* button = window.findChild<QAbstractButton*>(QLatin1String(name));
            if (button == nullptr)
                continue;
            meter.reset();
            total.start();
            button->click();
            report(name, round, total, meter);
        }
    }
    return 0;
}
