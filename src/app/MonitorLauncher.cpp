#include "app/MonitorLauncher.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowMessages.h"

#include <QProcess>

namespace k4812 {

MonitorLauncher::Operations MonitorLauncher::systemOperations()
{
    Operations ops;
    ops.monitorExists = [] { return findWindow(QLatin1String(kMonitorWindowClass)); };
    ops.bringForward = [] {};
    ops.start = [](const QString& program, const QString& folder) {
        QProcess process;
        process.setProgram(program);
        process.setWorkingDirectory(folder);
        return process.startDetached();
    };
    return ops;
}

MonitorLauncher::MonitorLauncher(Operations operations) : m_ops(std::move(operations)) {}

QString MonitorLauncher::monitorProgram(const QString& programFolder)
{
    return programFolder + QLatin1Char('/') + QLatin1String(kMonitorProgramFile);
}

MonitorLauncher::Outcome MonitorLauncher::StartMonitor(const QString& programFolder)
{
    if (m_ops.monitorExists && m_ops.monitorExists()) {
        if (m_ops.bringForward)
            m_ops.bringForward();
        return Outcome::BroughtForward;
    }
    if (m_ops.start && m_ops.start(monitorProgram(programFolder), programFolder))
        return Outcome::Started;
    return Outcome::StartFailed;
}

} // namespace k4812
