#include "platform/desktop/RuntimeFolder.h"

#include "platform/storage/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

namespace {

QString basePath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir::cleanPath(runtime) + QLatin1Char('/') + QLatin1String(kApplicationName);
    return QDir::tempPath() + QStringLiteral("/%1-%2").arg(QLatin1String(kApplicationName)).arg(geteuid());
}

bool fail(QString* error, const QString& message)
{
    if (error != nullptr)
        *error = message;
    return false;
}

// Makes `path` a folder of this user's with mode 0700, or says why not.
bool makePrivateFolder(const QString& path, QString* error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return fail(error, QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0)
        return fail(error, QStringLiteral("cannot inspect %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISDIR(info.st_mode))
        return fail(error, QStringLiteral("%1 is not a folder").arg(path));
    if (info.st_uid != geteuid())
        return fail(error, QStringLiteral("%1 belongs to another user").arg(path));
    if ((info.st_mode & 07777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return fail(error, QStringLiteral("cannot make %1 private: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    return true;
}

} // namespace

QString runtimeFolder(QString* error)
{
    const QString path = basePath();
    if (!makePrivateFolder(path, error))
        return QString();
    return path;
}

} // namespace k4812
