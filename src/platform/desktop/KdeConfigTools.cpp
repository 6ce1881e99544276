#include "platform/desktop/KdeConfigTools.h"

#include <QStandardPaths>

#include <cmath>

namespace k4812 {

namespace {

// What was written and what reads back are the same setting when they are
// the same text, or the same number to what the files keep.
bool sameSetting(const QString& written, const QString& readBack)
{
    if (written == readBack)
        return true;
    bool a = false;
    bool b = false;
    const double x = written.toDouble(&a);
    const double y = readBack.toDouble(&b);
    return a && b && std::fabs(x - y) < 1e-4;
}

} // namespace

KdeConfigTools KdeConfigTools::find()
{
    return choose([](const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); });
}

KdeConfigTools KdeConfigTools::choose(const std::function<bool(const QString& program)>& installed)
{
    for (const char* version : {"6", "5"}) {
        const QString writer = QStringLiteral("kwriteconfig") + QLatin1String(version);
        const QString reader = QStringLiteral("kreadconfig") + QLatin1String(version);
        if (installed(writer) && installed(reader))
            return KdeConfigTools(writer, reader);
    }
    return {};
}

KdeConfigTools::KdeConfigTools(QString writer, QString reader, Runner runner)
    : m_writer(std::move(writer))
    , m_reader(std::move(reader))
    , m_runner(std::move(runner))
{
    if (!m_runner)
        m_runner = [](const QString& program, const QStringList& arguments) {
            return runDesktopCommand(program, arguments);
        };
}

namespace {

QStringList keyArguments(const KdeConfigKey& key)
{
    QStringList arguments{QStringLiteral("--file"), key.file};
    for (const QString& group : key.groups)
        arguments << QStringLiteral("--group") << group;
    arguments << QStringLiteral("--key") << key.key;
    return arguments;
}

} // namespace

QStringList KdeConfigTools::writeArguments(const KdeConfigKey& key, const QString& value)
{
    // "--" keeps a negative number from being taken for an option.
    return keyArguments(key) << QStringLiteral("--") << value;
}

QStringList KdeConfigTools::readArguments(const KdeConfigKey& key)
{
    return keyArguments(key);
}

QString KdeConfigTools::describe(const KdeConfigKey& key)
{
    QString groups;
    for (const QString& group : key.groups)
        groups += QLatin1Char('[') + group + QLatin1Char(']');
    return QStringLiteral("%1 %2 %3").arg(key.file, groups, key.key);
}

bool KdeConfigTools::writeAndCheck(const KdeConfigKey& key, const QString& value, QString& readBack,
                                   QString& error) const
{
    if (!found()) {
        error = QStringLiteral("neither kwriteconfig6 nor kwriteconfig5 is installed");
        return false;
    }
    const DesktopCommandOutcome write = m_runner(m_writer, writeArguments(key, value));
    if (!write.ok) {
        error = QStringLiteral("%1 failed: %2").arg(m_writer, write.error);
        return false;
    }
    const DesktopCommandOutcome read = m_runner(m_reader, readArguments(key));
    if (!read.ok) {
        error = QStringLiteral("%1 failed: %2").arg(m_reader, read.error);
        return false;
    }
    readBack = read.output;
    if (!sameSetting(value, readBack)) {
        error = QStringLiteral("%1 did not keep %2 (reads \"%3\"; is the setting locked?)")
                    .arg(describe(key), value, readBack);
        return false;
    }
    return true;
}

} // namespace k4812
