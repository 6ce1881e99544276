#pragma once
// What the monitor program must do for the configuration window, and no
// more: own the window of class TK4812MonMain, accept every message (7035
// and 7037 among them) and answer 0. Each message is logged with its
// numbers to standard output and, when asked, appended to a log file.
//
// It has no work of its own, so it follows the configuration window: once
// the window is gone (or never came) for a while, the monitor ends, instead
// of staying behind in every session the window was ever opened in.

#include "platform/desktop/WindowEndpoint.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace k4812 {

class MonitorStandIn final : public QObject {
    Q_OBJECT
public:
    MonitorStandIn(QTextStream& out, QString logFile);

    // Opens the log and the endpoint; false with `error` set on failure.
    bool start(QString* error);

    // Ends the event loop once no configuration window has been there for
    // `absentMs` (counted from the start when the window never came).
    void followWindow(int absentMs);

    // Called for every message after it is logged.
    std::function<void(const WindowMessage&)> onMessage;

private:
    void checkWindow();
    std::int32_t handle(const WindowMessage& message);
    void log(const QString& line);

    QTextStream& m_out;
    QFile m_log;
    WindowEndpoint m_endpoint;
    QTimer m_windowCheck;
    QElapsedTimer m_absentFor; // since the window was last seen, or since the start
    int m_absentMs = 0;
    bool m_windowSeen = false;
};

} // namespace k4812
