#include "macros/MacroFolder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace k4812 {

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

bool makeFolderOneLevel(const QString& path, QString& error)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (info.exists() || info.isSymLink()) {
        error = QStringLiteral("cannot use \"%1\" as the macro folder: it is not a folder").arg(path);
        return false;
    }
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    const int code = errno;
    if (code == EEXIST && QFileInfo(path).isDir())
        return true;
    error = code == ENOENT
                ? QStringLiteral("cannot create the macro folder \"%1\": its parent folder does not exist").arg(path)
                : QStringLiteral("cannot create the macro folder \"%1\": %2").arg(path, systemError(code));
    return false;
}

} // namespace k4812
