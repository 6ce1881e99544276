#pragma once
// The monitor's own settings: which mode each application wants while it has
// the focus, the mode to go back to when an application without a rule gets
// it, and which notifications to show. Kept in
// $XDG_CONFIG_HOME/k4812/monitor.conf as lines of text:
//
//   rule=MODE APP        MODE 1 or 2; APP the focus source's identifier
//   return-mode=MODE     0 (stay in the mode) or 1 or 2
//   notify-switch=0|1
//   notify-plug=0|1
//
// A file that cannot be read, or holds a line this program does not know, is
// reported and never overwritten by a save of what was read.

#include <QString>

#include <map>
#include <optional>

namespace k4812 {

struct MonitorSettings {
    // Application identifier -> mode index (0 or 1).
    std::map<QString, int> rules;
    // The mode (0 or 1) for an application without a rule; nothing: stay.
    std::optional<int> returnMode;
    bool notifySwitch = true;
    bool notifyPlug = true;

    bool operator==(const MonitorSettings&) const = default;

    // The default file.
    static QString defaultPath();
    // The file's settings; defaults when it does not exist. Nothing, with
    // `error` set, when it cannot be read or holds a bad line.
    static std::optional<MonitorSettings> load(const QString& path, QString& error);
    // Replaces the file as one step. Throws StorageError.
    void save(const QString& path) const;

    // Whether `app` can be a rule's identifier (not empty, no line breaks or
    // other control characters, no leading or trailing space).
    static bool isValidApp(const QString& app);
};

} // namespace k4812
