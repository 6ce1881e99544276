// k4812-config: the configuration window of the K4812 mouse.

#include "app/ProfilesAhead.h"
#include "app/ProgramOptions.h"
#include "app/ProgramRun.h"
#include "ui/controls/FontSetupAhead.h"

#include <QApplication>
#include <QTextStream>

#include <cstring>

int main(int argc, char* argv[])
{
    // --help is answered before the toolkit starts: QApplication ends the
    // process when there is no display, and the help needs none.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            QTextStream(stdout) << k4812::programUsage();
            return k4812::kExitOk;
        }
    }
    // The fonts' set-up runs while the toolkit starts; runProgram waits for
    // it before the window is made.
    k4812::startFontSetup();
    // So do the profiles, with the single-instance lock taken first.
    k4812::startLoadingProfiles(argc, argv);
    // Accessibility is left to Qt's own detection: the bridge to AT-SPI
    // starts when the desktop says a screen reader or another assistive
    // tool is on (org.a11y.Status on the session bus), so a start without
    // one does not pay for it. Tests that use AT-SPI set
    // QT_LINUX_ACCESSIBILITY_ALWAYS_ON themselves.
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    const int status = k4812::runProgram(args);
    // Before the toolkit goes: its font database hands fontconfig's
    // configuration back when it ends, which must not meet a set-up still
    // running (a second copy ends before anyone waited for it).
    k4812::waitForFontSetup();
    return status;
}
