#include "macros/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

namespace {

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

// Makes the rename itself durable; a failure here leaves a complete file in
// place either way, so it is not reported.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString& error)
{
    const QByteArray target = QFile::encodeName(path);
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    const auto fail = [&](int code, const char* what) {
        error = QStringLiteral("cannot write \"%1\": %2 (%3)").arg(path, QLatin1String(what), systemError(code));
        return false;
    };

    mode_t mode = 0666;   // narrowed by the umask, as for any new file
    bool keepMode = false;
    struct stat old {};
    if (::lstat(target.constData(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            return fail(EISDIR, "a folder has that name");
        if (S_ISREG(old.st_mode)) {
            if (::access(target.constData(), W_OK) != 0)
                return fail(errno, "the existing file is read-only");
            mode = old.st_mode & 07777;
            keepMode = true;
        }
    } else if (errno != ENOENT) {
        return fail(errno, "cannot look at the existing file");
    }

    // A hidden name that no reader of *.macro files picks up if a crash leaves it.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/." + QFile::encodeName(info.fileName()) + '.'
                    + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            return fail(errno, "cannot create a file in its folder");
    }
    if (fd < 0)
        return fail(EEXIST, "cannot create a temporary file in its folder");

    const auto abandon = [&](const char* what) {
        const int code = errno;
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(code, what);
    };
    if (keepMode && ::fchmod(fd, mode) != 0)
        return abandon("cannot keep the file's permissions");
    if (!writeAll(fd, bytes.data(), std::size_t(bytes.size())))
        return abandon("writing failed");
    if (::fsync(fd) != 0)
        return abandon("flushing to disk failed");
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(code, "writing failed");
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int code = errno;
        ::unlink(temporary.constData());
        return fail(code, "cannot put the new file in place");
    }
    syncFolder(folder);
    return true;
}

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
