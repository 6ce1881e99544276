// k4812ctl: configures the K4812 mouse from the command line.

#include "Cli.h"

#include "platform/storage/ProgramFolder.h"

#include <QCoreApplication>

#include <cstdio>

#include <malloc.h>
#include <sys/prctl.h>

int main(int argc, char* argv[])
{
    // The mouse's pauses are slept in full; the kernel's default slack would
    // add up to 50 us to each of them.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    // A command lives for a second and copies 110 KB profiles back and forth;
    // the allocator's default gives freed heap back to the kernel at once and
    // takes it again zeroed a moment later, a page fault per page each time.
    // Keeping the freed heap costs nothing here: the process ends soon.
    ::mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
    ::mallopt(M_TOP_PAD, 4 * 1024 * 1024);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(k4812::kApplicationName));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return k4812::cli::runCli(args, out, err);
}
