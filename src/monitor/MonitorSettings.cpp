#include "monitor/MonitorSettings.h"

#include "platform/storage/AtomicFile.h"
#include "platform/storage/ProgramFolder.h"
#include "platform/storage/StorageError.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>

namespace k4812 {

namespace {

std::optional<bool> parseFlag(const QString& value)
{
    if (value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("0"))
        return false;
    return std::nullopt;
}

} // namespace

QString MonitorSettings::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
           + QLatin1String(kApplicationName) + QLatin1String("/monitor.conf");
}

bool MonitorSettings::isValidApp(const QString& app)
{
    if (app.isEmpty() || app.trimmed() != app)
        return false;
    for (const QChar c : app) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

std::optional<MonitorSettings> MonitorSettings::load(const QString& path, QString& error)
{
    MonitorSettings settings;
    QFile file(path);
    if (!file.exists())
        return settings;
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString& line = lines[n];
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto bad = [&] {
            error = QStringLiteral("%1, line %2: cannot use \"%3\"").arg(path).arg(n + 1).arg(line);
            return std::nullopt;
        };
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            return bad();
        const QString key = line.left(eq);
        const QString value = line.mid(eq + 1);
        if (key == QLatin1String("rule")) {
            const QString app = value.mid(2);
            if (value.size() < 3 || (value[0] != QLatin1Char('1') && value[0] != QLatin1Char('2'))
                || value[1] != QLatin1Char(' ') || !isValidApp(app))
                return bad();
            settings.rules[app] = value[0].digitValue() - 1;
        } else if (key == QLatin1String("return-mode")) {
            if (value == QLatin1String("0"))
                settings.returnMode.reset();
            else if (value == QLatin1String("1") || value == QLatin1String("2"))
                settings.returnMode = value.toInt() - 1;
            else
                return bad();
        } else if (key == QLatin1String("notify-switch") || key == QLatin1String("notify-plug")) {
            const std::optional<bool> flag = parseFlag(value);
            if (!flag)
                return bad();
            (key == QLatin1String("notify-switch") ? settings.notifySwitch : settings.notifyPlug) = *flag;
        } else {
            return bad();
        }
    }
    return settings;
}

void MonitorSettings::save(const QString& path) const
{
    QByteArray text = "# k4812 monitor settings\n";
    text += "return-mode=" + QByteArray::number(returnMode ? *returnMode + 1 : 0) + '\n';
    text += QByteArray("notify-switch=") + (notifySwitch ? "1" : "0") + '\n';
    text += QByteArray("notify-plug=") + (notifyPlug ? "1" : "0") + '\n';
    for (const auto& [app, mode] : rules)
        text += "rule=" + QByteArray::number(mode + 1) + ' ' + app.toUtf8() + '\n';
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        throw StorageError(QStringLiteral("cannot create the folder %1").arg(folder));
    writeFileAtomically(path, text);
}

} // namespace k4812
