// k4812-config: the configuration window of the K4812 mouse.

#include "app/ProgramOptions.h"
#include "app/ProgramRun.h"

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
    // Screen readers reach the window over AT-SPI even when the desktop has
    // not asked for accessibility (Qt only listens when asked otherwise).
    if (!qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    return k4812::runProgram(args);
}
