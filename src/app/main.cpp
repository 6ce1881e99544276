// k4812-config: the configuration window of the K4812 mouse.

#include "app/ProgramRun.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Screen readers reach the window over AT-SPI even when the desktop has
    // not asked for accessibility (Qt only listens when asked otherwise).
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    return k4812::runProgram(args);
}
