#pragma once
// "Start with the desktop": an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/k4812-monitor.desktop, that starts the monitor
// with --with-desktop when the user logs in. Removing the package leaves
// users' entries behind (they live in their homes); docs/monitor.md says how
// to remove one.

#include <QString>

namespace k4812 {

QString autostartEntryPath();
bool autostartEnabled();
// Writes the entry for `program` (a full path) or removes it; false, with
// `error` set, when that fails (the entry is then as it was).
bool setAutostart(bool enabled, const QString& program, QString& error);

} // namespace k4812
