#include "platform/storage/AtomicFile.h"

#include "platform/storage/StorageError.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

namespace {

AtomicWriteProbe& probe()
{
    static AtomicWriteProbe instance;
    return instance;
}

int probeAt(AtomicWriteStage stage, const QString& temporaryPath)
{
    return probe() ? probe()(stage, temporaryPath) : 0;
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

[[noreturn]] void fail(const QString& path, const QString& what, int error)
{
    throw StorageError(QStringLiteral("The file \"%1\" could not be saved (%2: %3); the previous file, if any, is "
                                      "unchanged.")
                           .arg(path, what, errnoText(error)));
}

// The folder part of a path, taken as it is written.
QString folderOfPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

// Creates a new, unique temporary file beside `target`; the umask applies to
// its mode as to any new file.
int createTemporary(const QString& target, QString& temporaryPath)
{
    const QString name = target.mid(target.lastIndexOf(QLatin1Char('/')) + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = folderOfPath(target) + QLatin1String("/.") + name + QLatin1Char('.')
            + QString::number(QRandomGenerator::global()->generate(), 36) + QLatin1String(".tmp");
        const int fd = ::open(QFile::encodeName(temporaryPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const char* data, qsizetype size, int& error)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, std::size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// The file that `path` stands for. A symbolic link (or a chain of them) is
// followed to the file it names, so that the replacement happens there and
// the link stays: users link profiles into place from synced folders. A link
// to a missing file names the file to create. The path is not cleaned up, as
// ".." after a linked folder is not the folder before it.
QString followLinks(const QString& path)
{
    QString current = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray encoded = QFile::encodeName(current);
        struct stat info {};
        if (::lstat(encoded.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(encoded.constData(), target.data(), std::size_t(target.size()));
        if (n <= 0 || n >= target.size())
            fail(path, QStringLiteral("reading the symbolic link \"%1\"").arg(current), n < 0 ? errno : ENAMETOOLONG);
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = next.startsWith(QLatin1Char('/')) ? next : folderOfPath(current) + QLatin1Char('/') + next;
    }
    fail(path, QStringLiteral("following its symbolic links"), ELOOP);
}

// Makes the rename itself durable.
void syncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString moveFileAside(const QString& path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString base = path + QLatin1String(".damaged-") + stamp;
    QString target = base;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    return QFile::rename(path, target) ? target : QString();
}

void setAtomicWriteProbe(AtomicWriteProbe newProbe)
{
    probe() = std::move(newProbe);
}

void writeFileAtomically(const QString& path, QByteArrayView bytes)
{
    const QString resolved = followLinks(path);
    const QByteArray target = QFile::encodeName(resolved);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        fail(path, QStringLiteral("it is a folder"), EISDIR);
    // A read-only file is refused, as Windows refuses to replace it.
    if (exists && S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0)
        fail(path, QStringLiteral("the file is read-only"), EACCES);

    // The new content goes to a new file beside the target, so the folder must
    // take new files even when the file itself is writable.
    const QString folder = folderOfPath(resolved);
    QString temporaryPath;
    int fd = -1;
    int error = probeAt(AtomicWriteStage::Create, folder);
    if (error == 0) {
        fd = createTemporary(resolved, temporaryPath);
        error = fd < 0 ? errno : 0;
    }
    if (error == EACCES || error == EPERM || error == EROFS)
        fail(path, QStringLiteral("its folder \"%1\" does not allow new files, which replacing the file needs")
                       .arg(folder),
             error);
    if (error != 0)
        fail(path, QStringLiteral("creating a temporary file in its folder \"%1\"").arg(folder), error);
    const QByteArray temporary = QFile::encodeName(temporaryPath);

    auto abandon = [&](const QString& what, int code) {
        ::close(fd);
        ::unlink(temporary.constData());
        fail(path, what, code);
    };

    error = probeAt(AtomicWriteStage::Write, temporaryPath);
    if (error == 0)
        writeAll(fd, bytes.data(), bytes.size(), error);
    if (error != 0)
        abandon(QStringLiteral("writing"), error);

    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0)
        abandon(QStringLiteral("keeping its permissions"), errno);

    error = probeAt(AtomicWriteStage::Sync, temporaryPath);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error != 0)
        abandon(QStringLiteral("flushing to disk"), error);

    if (::close(fd) != 0) {
        error = errno;
        ::unlink(temporary.constData());
        fail(path, QStringLiteral("closing"), error);
    }

    error = probeAt(AtomicWriteStage::Rename, temporaryPath);
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        fail(path, QStringLiteral("replacing the file"), error);
    }
    syncFolder(folder);
}

} // namespace k4812
