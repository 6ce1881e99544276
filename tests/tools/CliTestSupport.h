#pragma once
// Runs k4812ctl verbs in-process and captures what they print.

#include "Cli.h"

#include "platform/storage/ProgramFolder.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace k4812::test {

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

inline CliResult runCtl(const QStringList& args)
{
    QCoreApplication::setApplicationName(QLatin1String(kApplicationName));
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = cli::runCli(args, out, err);
    out.flush();
    err.flush();
    return result;
}

} // namespace k4812::test
