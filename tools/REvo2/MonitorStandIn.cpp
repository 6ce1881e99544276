#include "MonitorStandIn.h"

#include "platform/desktop/MonitorLinkNames.h"

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

std::int32_t MonitorStandIn::handle(const WindowMessage& message)
{
    log(QStringLiteral("received %1").arg(describeWindowMessage(message)));
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
