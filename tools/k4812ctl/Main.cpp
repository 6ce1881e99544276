// k4812ctl: configures the K4812 mouse from the command line.

#include "Cli.h"

#include "platform/storage/ProgramFolder.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QLatin1String(k4812::kApplicationName));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    return k4812::cli::runCli(args, out, err);
}
