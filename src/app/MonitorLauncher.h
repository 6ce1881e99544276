#pragma once
// StartMonitor: the companion monitor program runs beside the window. When
// its window (class TK4812MonMain) exists it is asked to come forward;
// otherwise the program "REvo2" is started from the program folder, detached,
// with that folder as its working directory. A missing program is no error
// the user sees: the window works on without it.
//
// On Linux a program cannot raise another program's window; "bring forward"
// is therefore an operation the monitor may implement, and the stand-in does
// nothing for it. What matters is that a running monitor never gets a second
// copy.
//
// The operations are injected so that tests count starts without processes.

#include <QString>

#include <functional>

namespace k4812 {

class MonitorLauncher {
public:
    struct Operations {
        // Whether the monitor's window exists.
        std::function<bool()> monitorExists;
        // Brings the existing monitor window forward.
        std::function<void()> bringForward;
        // Starts `program` detached in `workingFolder`; false when it could not start.
        std::function<bool(const QString& program, const QString& workingFolder)> start;
    };

    enum class Outcome { BroughtForward, Started, StartFailed };

    // The real operations: the window-messages layer and QProcess.
    static Operations systemOperations();

    explicit MonitorLauncher(Operations operations = systemOperations());

    // The monitor program in `programFolder`.
    static QString monitorProgram(const QString& programFolder);

    Outcome StartMonitor(const QString& programFolder);

private:
    Operations m_ops;
};

} // namespace k4812
