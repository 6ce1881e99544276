#pragma once
// Runs one of the desktop's own command-line tools (gsettings, swaymsg, ...)
// with a time-out, so that a desktop whose settings service hangs cannot
// hang the caller. The pointer-settings back ends take a runner of this
// shape, so that tests can stand in for the tool.

#include <QString>
#include <QStringList>

#include <functional>

namespace k4812 {

struct DesktopCommandOutcome {
    bool ok = false; // started, finished and exited with 0
    QString output;  // standard output, trimmed
    QString error;   // why it failed
};

using DesktopCommandRunner = std::function<DesktopCommandOutcome(const QStringList& arguments)>;

// Runs `program` (looked up in PATH) with `arguments`, waiting at most
// `timeoutMs`.
DesktopCommandOutcome runDesktopCommand(const QString& program, const QStringList& arguments, int timeoutMs = 5000);

} // namespace k4812
