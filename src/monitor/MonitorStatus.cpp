#include "monitor/MonitorStatus.h"

#include "platform/desktop/RuntimeFolder.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/StorageError.h"

#include <QFile>

namespace k4812 {

namespace {

// One line per field; a line break inside a value would start a new field.
QByteArray field(const char* key, const QString& value)
{
    QString flat = value;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QByteArray(key) + '=' + flat.toUtf8() + '\n';
}

} // namespace

QString MonitorStatus::defaultPath()
{
    const QString folder = runtimeFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1String("/monitor-status");
}

QByteArray MonitorStatus::toText() const
{
    return field("pid", QString::number(pid)) + field("focus-source", focusSource)
           + field("no-focus-reason", noFocusReason) + field("tray", tray ? QStringLiteral("1") : QStringLiteral("0"))
           + field("no-tray-reason", noTrayReason) + field("focused-app", focusedApp)
           + field("stays-running", staysRunning ? QStringLiteral("1") : QStringLiteral("0"))
           + field("last-switch", lastSwitch);
}

MonitorStatus MonitorStatus::fromText(const QByteArray& text)
{
    MonitorStatus status;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "pid")
            status.pid = value.toLongLong();
        else if (key == "focus-source")
            status.focusSource = value;
        else if (key == "no-focus-reason")
            status.noFocusReason = value;
        else if (key == "tray")
            status.tray = value == QLatin1String("1");
        else if (key == "no-tray-reason")
            status.noTrayReason = value;
        else if (key == "focused-app")
            status.focusedApp = value;
        else if (key == "stays-running")
            status.staysRunning = value == QLatin1String("1");
        else if (key == "last-switch")
            status.lastSwitch = value;
    }
    return status;
}

bool MonitorStatus::write(const QString& path) const
{
    try {
        writeFileAtomically(path, toText());
        return true;
    } catch (const StorageError&) {
        return false;
    }
}

std::optional<MonitorStatus> MonitorStatus::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return fromText(file.readAll());
}

} // namespace k4812
