// How long the UI thread works without going back to its event loop while the
// user switches the interface language in the help dialog: English to
// Simplified Chinese, to Traditional Chinese, back to English, twice (the
// first pass pays for the first use of the Chinese fonts). The window and the
// help dialog are shown as a user has them; each switch is a key press posted
// to the dialog's language selector, so it runs inside one turn of the loop as
// the user's key does. Until the window settles, the longest time the UI
// thread did not get back to its loop is what holds back the next repaint.
//
//   k4812-language-probe [SETTLE_MS]   one line per switch (SETTLE_MS: 500)
//
// Under callgrind (valgrind --tool=callgrind --collect-atstart=no), each
// switch and the turns that follow it are collected and dumped on their own,
// named after the switch.
//
// Run it with HOME and the XDG folders pointed at a folder of its own: the
// switch stores the language into the user's settings.

#include "app/MainWindow.h"

#include "emulator/EmulatorHidBackend.h"
#include "i18n/TuiLanguage.h"
#include "profiles/ProfileManager.h"
#include "ui/dialogs/HelpDialog.h"
#include "ui/dialogs/HelpDialogHost.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define K4812_COLLECT_TOGGLE() CALLGRIND_TOGGLE_COLLECT
#define K4812_COLLECT_DUMP(name) CALLGRIND_DUMP_STATS_AT(name)
#else
#define K4812_COLLECT_TOGGLE()
#define K4812_COLLECT_DUMP(name)
#endif

namespace {

// The gaps between the beats of a 1 ms timer on the UI thread. Whatever the
// thread does without going back to its loop (handling the key, laying out,
// painting) holds the next beat back, so the longest gap is the longest the
// window could not have answered a pointer move.
class BeatMeter {
public:
    BeatMeter()
    {
        m_beat.setTimerType(Qt::PreciseTimer);
        m_beat.setInterval(1);
        QObject::connect(&m_beat, &QTimer::timeout, [this] {
            m_gaps.push_back(double(m_sinceBeat.nsecsElapsed()) / 1e6);
            m_sinceBeat.start();
        });
        m_sinceBeat.start();
        m_beat.start();
    }

    void reset()
    {
        m_gaps.clear();
        m_sinceBeat.start();
    }
    std::vector<double> gaps() const { return m_gaps; }

private:
    QTimer m_beat;
    QElapsedTimer m_sinceBeat;
    std::vector<double> m_gaps;
};

long peakRssKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int settleMs = argc > 1 ? std::max(50, QString::fromLocal8Bit(argv[1]).toInt()) : 500;

    k4812::TDM dm;
    k4812::TuiHIDData hid(std::make_unique<k4812::EmulatorHidBackend>(), QStringList{});
    k4812::TK4812CfgMain::Services services;
    services.startMonitor = false;
    k4812::TK4812CfgMain window(dm, hid, std::move(services));
    if (!window.FormCreate()) {
        QTextStream(stderr) << "the window did not start" << Qt::endl;
        return 1;
    }
    window.show();
    settle(settleMs);

    // English first, as a fresh user who switches has it.
    k4812::TuiLanguage& language = window.uiLanguage1();
    dm.FAllProfileSettingInfo().CurrentLanguage = 0;
    language.SetLang(QStringLiteral("en"));
    window.SetupLanguage();

    k4812::ProgramHelpDialogHost host([&window](const std::function<void()>& store) { window.runStore(store); });
    k4812::THelpForm dialog(language, host, {}, &window);
    dialog.show();
    settle(settleMs);
    QTextStream out(stdout);
    out << "peak memory before the first switch: " << peakRssKib() << " KiB" << Qt::endl;

    struct Switch {
        const char* name;
        Qt::Key key;
    };
    const Switch switches[] = {
        {"en-zh_CN-1", Qt::Key_Down}, {"zh_CN-zh_TW-1", Qt::Key_Down}, {"zh_TW-en-1", Qt::Key_Home},
        {"en-zh_CN-2", Qt::Key_Down}, {"zh_CN-zh_TW-2", Qt::Key_Down}, {"zh_TW-en-2", Qt::Key_Home},
    };
    BeatMeter meter;
    for (const Switch& s : switches) {
        meter.reset();
        K4812_COLLECT_TOGGLE();
        QCoreApplication::postEvent(dialog.PopBoxLanguage, new QKeyEvent(QEvent::KeyPress, s.key, Qt::NoModifier));
        QCoreApplication::postEvent(dialog.PopBoxLanguage, new QKeyEvent(QEvent::KeyRelease, s.key, Qt::NoModifier));
        settle(settleMs);
        K4812_COLLECT_TOGGLE();
        K4812_COLLECT_DUMP(s.name);
        std::vector<double> gaps = meter.gaps();
        // The stretches of work, leaving out the beat's own jitter.
        double work = 0;
        for (double gap : gaps)
            work += gap > 2.0 ? gap : 0.0;
        std::sort(gaps.begin(), gaps.end(), std::greater<>());
        out << QStringLiteral("%1 (now %2): longest stall %3 ms, next %4 ms, %5 ms in gaps over 2 ms")
                   .arg(QLatin1String(s.name), -14)
                   .arg(language.LanguageName())
                   .arg(gaps.empty() ? 0.0 : gaps[0], 6, 'f', 2)
                   .arg(gaps.size() > 1 ? gaps[1] : 0.0, 6, 'f', 2)
                   .arg(work, 6, 'f', 2)
            << Qt::endl;
    }
    out << "peak memory: " << peakRssKib() << " KiB" << Qt::endl;
    return 0;
}
