#include "MonitorStandIn.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowMessages.h"

#include <QCoreApplication>

namespace k4812 {

MonitorStandIn::MonitorStandIn(QTextStream& out, QString logFile)
    : m_out(out)
    , m_log(std::move(logFile))
    , m_endpoint(QLatin1String(kMonitorWindowClass))
{
    m_endpoint.setHandler([this](const WindowMessage& message) { return handle(message); });
}

bool MonitorStandIn::start(QString* error)
{
    if (!m_log.fileName().isEmpty() && !m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        *error = QStringLiteral("cannot open the log %1: %2").arg(m_log.fileName(), m_log.errorString());
        return false;
    }
    if (!m_endpoint.listen(error))
        return false;
    log(QStringLiteral("listening as %1").arg(m_endpoint.windowClass()));
    return true;
}

void MonitorStandIn::followWindow(int absentMs)
{
    m_absentMs = absentMs;
    m_absentFor.start();
    // Often enough that the monitor goes soon after the window, rarely
    // enough to cost nothing.
    m_windowCheck.setInterval(qBound(50, absentMs / 4, 1000));
    connect(&m_windowCheck, &QTimer::timeout, this, &MonitorStandIn::checkWindow);
    m_windowCheck.start();
}

void MonitorStandIn::checkWindow()
{
    if (findWindow(QLatin1String(kConfigWindowClass), 500)) {
        if (!m_windowSeen)
            log(QStringLiteral("following %1").arg(QLatin1String(kConfigWindowClass)));
        m_windowSeen = true;
        m_absentFor.start();
        return;
    }
    if (m_absentFor.elapsed() < m_absentMs)
        return;
    log(m_windowSeen ? QStringLiteral("%1 has gone; ending").arg(QLatin1String(kConfigWindowClass))
                     : QStringLiteral("no %1 came; ending").arg(QLatin1String(kConfigWindowClass)));
    m_windowCheck.stop();
    QCoreApplication::quit();
}

std::int32_t MonitorStandIn::handle(const WindowMessage& message)
{
    log(QStringLiteral("received %1").arg(describeWindowMessage(message)));
    if (onMessage)
        onMessage(message);
    return 0;
}

void MonitorStandIn::log(const QString& line)
{
    m_out << line << Qt::endl;
    if (m_log.isOpen()) {
        m_log.write(line.toUtf8() + '\n');
        m_log.flush();
    }
}

} // namespace k4812
