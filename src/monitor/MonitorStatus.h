#pragma once
// What the running monitor tells others about itself, for
// `k4812ctl monitor status`: a small text file "monitor-status" in the
// user's private runtime folder, replaced as a whole on every change.

#include <QString>

#include <optional>

namespace k4812 {

struct MonitorStatus {
    qint64 pid = 0;
    QString focusSource;      // "X11", "sway"; empty when none
    QString noFocusReason;    // why there is no focus source
    bool tray = false;
    QString noTrayReason;
    QString focusedApp;
    bool staysRunning = false;   // it has work of its own (rules, or started with the desktop)
    QString lastSwitch;          // what the last switch did, or why it was refused

    bool operator==(const MonitorStatus&) const = default;

    // The file in the runtime folder; empty when there is none.
    static QString defaultPath();
    QByteArray toText() const;
    static MonitorStatus fromText(const QByteArray& text);
    // Writes the file; false when it cannot be written.
    bool write(const QString& path) const;
    static std::optional<MonitorStatus> read(const QString& path);
};

} // namespace k4812
