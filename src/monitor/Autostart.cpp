#include "monitor/Autostart.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/StorageError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace k4812 {

QString autostartEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1String("/autostart/k4812-monitor.desktop");
}

bool autostartEnabled()
{
    return QFileInfo::exists(autostartEntryPath());
}

bool setAutostart(bool enabled, const QString& program, QString& error)
{
    const QString path = autostartEntryPath();
    if (!enabled) {
        QFile entry(path);
        if (entry.exists() && !entry.remove()) {
            error = QStringLiteral("cannot remove %1: %2").arg(path, entry.errorString());
            return false;
        }
        return true;
    }
    // Exec takes a quoted path; a quote or backslash in it would need escaping.
    if (program.contains(QLatin1Char('"')) || program.contains(QLatin1Char('\\'))) {
        error = QStringLiteral("the program's path %1 cannot go into a desktop entry").arg(program);
        return false;
    }
    const QByteArray text = "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name="
                            + QByteArray(kApplicationTitle)
                            + " monitor\n"
                              "Comment=Switches the mouse's mode for the focused application\n"
                              "Exec=\""
                            + program.toUtf8()
                            + "\" --with-desktop\n"
                              // Once the program is uninstalled, the desktop
                              // skips the entry left in the user's home.
                              "TryExec="
                            + program.toUtf8()
                            + "\n"
                              "Icon=input-mouse\n"
                              "NoDisplay=true\n"
                              "X-GNOME-Autostart-enabled=true\n";
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("cannot create the folder %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    try {
        writeFileAtomically(path, text);
    } catch (const StorageError& e) {
        error = e.message();
        return false;
    }
    return true;
}

} // namespace k4812
