// k4812ctl: configures the K4812 mouse from the command line.

#include "Cli.h"

#include "platform/storage/ProgramFolder.h"

#include <QCoreApplication>

#include <cstdio>

#include <sys/prctl.h>

int main(int argc, char* argv[])
{
    // The mouse's pauses are slept in full; the kernel's default slack would
    // add up to 50 us to each of them.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(k4812::kApplicationName));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return k4812::cli::runCli(args, out, err);
}
