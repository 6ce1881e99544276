#include "platform/storage/AtomicFile.h"

#include "platform/storage/StorageError.h"

#include <QDateTime>
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

// Creates a new, unique temporary file beside `target`; the umask applies to
// its mode as to any new file.
int createTemporary(const QString& target, QString& temporaryPath)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryPath = info.absolutePath() + QLatin1String("/.") + info.fileName() + QLatin1Char('.')
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
    const QByteArray target = QFile::encodeName(path);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        fail(path, QStringLiteral("it is a folder"), EISDIR);
    // A read-only file is refused, as Windows refuses to replace it.
    if (exists && S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0)
        fail(path, QStringLiteral("the file is read-only"), EACCES);

    QString temporaryPath;
    const int fd = createTemporary(path, temporaryPath);
    if (fd < 0)
        fail(path, QStringLiteral("creating a temporary file"), errno);
    const QByteArray temporary = QFile::encodeName(temporaryPath);

    auto abandon = [&](const QString& what, int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        fail(path, what, error);
    };

    int error = probeAt(AtomicWriteStage::Write, temporaryPath);
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
    syncFolder(QFileInfo(path).absolutePath());
}

} // namespace k4812
