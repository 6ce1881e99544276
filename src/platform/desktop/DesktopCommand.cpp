#include "platform/desktop/DesktopCommand.h"

#include <QProcess>
#include <QStandardPaths>

namespace k4812 {

DesktopCommandOutcome runDesktopCommand(const QString& program, const QStringList& arguments, int timeoutMs)
{
    DesktopCommandOutcome outcome;
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        outcome.error = QStringLiteral("the %1 command is not installed").arg(program);
        return outcome;
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        outcome.error = process.errorString();
        process.kill();
        process.waitForFinished(timeoutMs);
        return outcome;
    }
    outcome.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        outcome.error = QString::fromUtf8(process.readAllStandardError()).trimmed();
        if (outcome.error.isEmpty())
            outcome.error = QStringLiteral("%1 ended with code %2").arg(program).arg(process.exitCode());
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

} // namespace k4812
