#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace k4812::test {

TestEnvironment::TestEnvironment()
{
    QStandardPaths::setTestModeEnabled(false);
    set("HOME", m_dir.path());
    set("XDG_CONFIG_HOME", path(QStringLiteral(".config")));
    set("XDG_DATA_HOME", path(QStringLiteral(".local/share")));
    set("XDG_STATE_HOME", path(QStringLiteral(".local/state")));
    set("XDG_CACHE_HOME", path(QStringLiteral(".cache")));
    set("XDG_RUNTIME_DIR", path(QStringLiteral("runtime")));
    set("XDG_DOCUMENTS_DIR", path(QStringLiteral("Documents")));
    QDir().mkpath(path(QStringLiteral("runtime")));
    QFile::setPermissions(path(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    set("K4812_DEVICE", QString());
}

TestEnvironment::~TestEnvironment()
{
    for (const auto& [name, saved] : m_saved) {
        if (saved.first)
            qputenv(name.constData(), saved.second);
        else
            qunsetenv(name.constData());
    }
}

void TestEnvironment::remember(const char* name)
{
    const QByteArray key(name);
    if (m_saved.count(key) == 0)
        m_saved[key] = {qEnvironmentVariableIsSet(name), qgetenv(name)};
}

void TestEnvironment::set(const char* name, const QString& value)
{
    remember(name);
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value.toLocal8Bit());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

} // namespace k4812::test
