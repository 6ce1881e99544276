// How long the UI thread goes without turning its event loop while the window
// runs a device sequence, during one Apply and during two profile switches.
// A precise 1 ms timer on the UI thread moves a heartbeat; a watchdog thread
// samples it and keeps the longest time it stood still. Work done on the UI
// thread inside one turn of the loop (a store that syncs files, encoding a
// profile) holds the heartbeat however the loop's wake-ups fall, and a turn
// that never ends would show too. The emulated mouse lives in memory, so its
// commands take microseconds; what is measured is the window's own work.
//
//   k4812-stall-probe [ROUNDS]    prints one line per sequence and round
//
// Run it with HOME and the XDG folders pointed at a folder of its own: the
// window stores into the user's profiles.

#include "app/MainWindow.h"

#include "emulator/EmulatorHidBackend.h"
#include "profiles/ProfileManager.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// The longest time, since the last reset, that the UI thread's heartbeat did
// not move. The heartbeat's own period (1 ms) is the floor of what it shows.
class HeartbeatStallMeter {
public:
    static constexpr int kBeatMs = 1;

    HeartbeatStallMeter()
    {
        beat();
        m_beat.setTimerType(Qt::PreciseTimer);
        m_beat.setInterval(kBeatMs);
        QObject::connect(&m_beat, &QTimer::timeout, [this] { beat(); });
        m_beat.start();
        m_watchdog = std::thread([this] { watch(); });
    }
    ~HeartbeatStallMeter()
    {
        m_stop = true;
        m_watchdog.join();
    }
    HeartbeatStallMeter(const HeartbeatStallMeter&) = delete;
    HeartbeatStallMeter& operator=(const HeartbeatStallMeter&) = delete;

    // The sequence starts synchronously from here, as a click would inside
    // one turn of the loop.
    void reset()
    {
        const std::lock_guard lock(m_mutex);
        beat();
        m_longestNs = 0;
        ++m_epoch;
    }

    // The stretch since the last beat counts too: the work after the
    // sequence's last pause runs before the loop next turns.
    void finish()
    {
        const std::lock_guard lock(m_mutex);
        m_longestNs = std::max(m_longestNs.load(), nowNs() - m_lastBeatNs.load());
    }

    double longestMs() const { return double(m_longestNs.load()) / 1e6; }

private:
    void beat() { m_lastBeatNs = nowNs(); }

    // Samples four times a beat, so a stall is seen to within a quarter of a
    // millisecond whether or not the UI thread ever beats again.
    void watch()
    {
        while (!m_stop) {
            // A sample taken across a reset belongs to the sequence before.
            const std::uint64_t epoch = m_epoch.load();
            const std::int64_t gap = nowNs() - m_lastBeatNs.load();
            {
                const std::lock_guard lock(m_mutex);
                if (m_epoch.load() == epoch)
                    m_longestNs = std::max(m_longestNs.load(), gap);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        }
    }

    QTimer m_beat;
    std::atomic<std::int64_t> m_lastBeatNs{0};
    std::atomic<std::int64_t> m_longestNs{0};
    std::atomic<std::uint64_t> m_epoch{0};
    std::mutex m_mutex;
    std::atomic<bool> m_stop{false};
    std::thread m_watchdog;
};

void report(const char* what, int round, const QElapsedTimer& total, HeartbeatStallMeter& meter)
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

    HeartbeatStallMeter meter;
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
