#pragma once
// What the monitor program must do for the configuration window, and no
// more: own the window of class TK4812MonMain, accept every message (7035
// and 7037 among them) and answer 0. Each message is logged with its
// numbers to standard output and, when asked, appended to a log file.

#include "platform/desktop/WindowEndpoint.h"

#include <QFile>
#include <QObject>
#include <QTextStream>

namespace k4812 {

class MonitorStandIn final : public QObject {
    Q_OBJECT
public:
    MonitorStandIn(QTextStream& out, QString logFile);

    // Opens the log and the endpoint; false with `error` set on failure.
    bool start(QString* error);

private:
    std::int32_t handle(const WindowMessage& message);
    void log(const QString& line);

    QTextStream& m_out;
    QFile m_log;
    WindowEndpoint m_endpoint;
};

} // namespace k4812
