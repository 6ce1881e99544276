#include "platform/storage/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k4812 {

QString fileKindText(unsigned mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("not a regular file");
}

RegularFileRead readRegularFile(const QString& path, qint64 maxBytes)
{
    RegularFileRead result;
    const QByteArray encoded = QFile::encodeName(path);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        result.status = error == ENOENT ? RegularFileRead::Status::Missing : RegularFileRead::Status::Failed;
        result.reason = QString::fromLocal8Bit(std::strerror(error));
        result.error = QStringLiteral("cannot read \"%1\": %2").arg(path, result.reason);
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.status = RegularFileRead::Status::NotRegular;
        result.reason = QStringLiteral("it is %1, not a regular file").arg(fileKindText(info.st_mode));
        result.error = QStringLiteral("\"%1\" is %2, not a regular file, and is not read")
                           .arg(path, fileKindText(info.st_mode));
        ::close(fd);
        return result;
    }
    result.size = qint64(info.st_size);
    const qint64 wanted = maxBytes + 1;
    result.bytes.resize(qsizetype(std::min<qint64>(wanted, std::max<qint64>(result.size, 0) + 1)));
    qint64 got = 0;
    while (got < wanted) {
        if (got == result.bytes.size())
            result.bytes.resize(qsizetype(std::min<qint64>(wanted, got * 2 + 4096)));
        const ssize_t n = ::read(fd, result.bytes.data() + got, std::size_t(result.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            result.reason = QString::fromLocal8Bit(std::strerror(error));
            result.error = QStringLiteral("cannot read \"%1\": %2").arg(path, result.reason);
            result.bytes.clear();
            ::close(fd);
            return result;
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    result.bytes.truncate(qsizetype(got));
    result.status = RegularFileRead::Status::Read;
    return result;
}

} // namespace k4812
