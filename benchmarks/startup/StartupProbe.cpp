// One start of a window, measured: the time from the exec of this process
// (the driver passes the moment it called exec, in nanoseconds of the real-
// time clock) to the end of the window's first paint, and the peak resident
// memory at that moment.
//
//   k4812-startup-probe config T0   the configuration window, filled from a
//                                   new profile store, against the emulator
//   k4812-startup-probe plain T0    a plain Qt Widgets window with as many
//                                   controls (buttons, a label, three tabs)

#include "app/MainWindow.h"
#include "app/ProfilesAhead.h"

#include "emulator/EmulatorHidBackend.h"
#include "profiles/ProfileManager.h"
#include "ui/controls/FontSetupAhead.h"
#include "ui/controls/UiFont.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>
#include <cstring>
#include <ctime>

namespace {

qint64 nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return qint64(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

// With K4812_PROBE_SMAPS=FILE, the process's memory map at the first frame
// (/proc/self/smaps) is copied to FILE: what is resident, mapping by mapping.
void keepMemoryMap()
{
    const QByteArray target = qgetenv("K4812_PROBE_SMAPS");
    if (target.isEmpty())
        return;
    QFile in(QStringLiteral("/proc/self/smaps"));
    QFile out(QString::fromLocal8Bit(target));
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    // In pieces: a buffer of the whole map would show in a heap profile of the start.
    char piece[16384];
    for (qint64 n; (n = in.read(piece, sizeof piece)) > 0;)
        out.write(piece, n);
}

// Reports once, after the window's first paint has been handled.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(qint64 t0) : m_t0(t0) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, [this] {
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                keepMemoryMap();
                QTextStream(stdout) << "first-frame-ms " << double(nowNs() - m_t0) / 1e6 << " peak-kib "
                                    << usage.ru_maxrss << Qt::endl;
                QApplication::quit();
            });
        }
        return false;
    }

private:
    qint64 m_t0;
    bool m_seen = false;
};

// About as many controls as the configuration window: 3 + 9 + 2 + 6 + 4 buttons, a label, three pages.
void buildPlain(QWidget& w)
{
    w.setFixedSize(850, 655);
    w.setWindowTitle(QStringLiteral("plain"));
    auto button = [&w](const QString& text, int x, int y, int width = 100) {
        auto* b = new QPushButton(text, &w);
        b->setGeometry(x, y, width, 33);
    };
    for (int i = 0; i < 3; ++i)
        button(QStringLiteral("?"), 700 + i * 40, 22, 35);
    (new QLabel(QStringLiteral("Button Assignment"), &w))->setGeometry(24, 90, 300, 30);
    for (int i = 0; i < 9; ++i)
        button(QStringLiteral("%1.Click").arg(i + 1), 24, 130 + i * 38, 120);
    for (int g = 0; g < 2; ++g)
        button(QStringLiteral("Mode %1").arg(g + 1), 200 + g * 150, 478, 120);
    for (int p = 0; p < 6; ++p)
        button(QStringLiteral("PROFILE%1").arg(p), 24 + p * 78, 540, 74);
    auto* tabs = new QTabWidget(&w);
    tabs->setGeometry(512, 92, 326, 500);
    for (const char* title : {"Sensitivity", "Advanced", "System Setting"})
        tabs->addTab(new QWidget, QLatin1String(title));
    for (int i = 0; i < 4; ++i)
        button(QStringLiteral("OK"), 295 + i * 106, 612);
}

} // namespace

int main(int argc, char* argv[])
{
    // As k4812-config does: the fonts' set-up and the profiles' load start
    // before the toolkit.
    const bool config = argc > 1 && std::strcmp(argv[1], "config") == 0;
    if (config) {
        k4812::startFontSetup();
        k4812::startLoadingProfiles(argc, argv);
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("config") && args[1] != QLatin1String("plain"))) {
        QTextStream(stderr) << "usage: k4812-startup-probe config|plain T0_NS" << Qt::endl;
        return 2;
    }
    FirstPaint probe(args[2].toLongLong());

    if (args[1] == QLatin1String("plain")) {
        QWidget window;
        buildPlain(window);
        window.installEventFilter(&probe);
        window.show();
        return QApplication::exec();
    }

    k4812::useUiFontForApplication(); // as k4812-config does
    const std::unique_ptr<k4812::ProfilesLoadedAhead> ahead = k4812::takeProfilesLoadedAhead();
    if (!ahead || !ahead->dm) {
        QTextStream(stderr) << "the profiles were not loaded: " << (ahead ? ahead->error : QString()) << Qt::endl;
        return 1;
    }
    k4812::TDM& dm = *ahead->dm;
    k4812::TuiHIDData hid(std::make_unique<k4812::EmulatorHidBackend>(), QStringList{});
    k4812::waitForFontSetup();
    k4812::TK4812CfgMain::Services services;
    services.receiveMessages = false;
    services.startMonitor = false;
    k4812::TK4812CfgMain window(dm, hid, std::move(services));
    if (!window.FormCreate())
        return 1;
    window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}
