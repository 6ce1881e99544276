// k4812-config: the configuration window of the K4812 mouse.

#include "app/ProgramRun.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Accessibility is left to Qt's own detection: the bridge to AT-SPI
    // starts when the desktop says a screen reader or another assistive
    // tool is on (org.a11y.Status on the session bus), so a start without
    // one does not pay for it. Tests that use AT-SPI set
    // QT_LINUX_ACCESSIBILITY_ALWAYS_ON themselves.
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    return k4812::runProgram(args);
}
