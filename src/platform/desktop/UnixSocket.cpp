#include "platform/desktop/UnixSocket.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace k4812 {

namespace {

// How often a connect to a listener with a full backlog is tried again.
constexpr int kBacklogRetryMs = 10;

QString errorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

SocketResult failure(SocketStatus status, const QString& error)
{
    return SocketResult{status, error};
}

SocketResult closedResult()
{
    return failure(SocketStatus::Closed, QStringLiteral("the other end closed the connection"));
}

SocketResult timedOutResult()
{
    return failure(SocketStatus::TimedOut, errorText(ETIMEDOUT));
}

// The poll(2) time-out for what is left of `deadline`.
int pollTimeout(const QDeadlineTimer& deadline)
{
    const qint64 left = deadline.remainingTime();
    if (left < 0)
        return -1; // forever
    return int(qMin<qint64>(left, INT_MAX));
}

bool fillAddress(const QString& path, sockaddr_un& address, QString& error)
{
    const QByteArray native = QFile::encodeName(path);
    if (native.isEmpty() || native.contains('\0')) {
        error = QStringLiteral("\"%1\" is no socket path").arg(path);
        return false;
    }
    if (native.size() > kMaxSocketPathBytes) {
        error = QStringLiteral("the socket path %1 is longer than %2 bytes").arg(path).arg(kMaxSocketPathBytes);
        return false;
    }
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    return true;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

void sleepMs(int ms)
{
    ::poll(nullptr, 0, ms); // a signal only shortens the pause
}

} // namespace

UnixSocket::~UnixSocket()
{
    close();
}

UnixSocket::UnixSocket(UnixSocket&& other) noexcept
    : m_fd(other.m_fd)
{
    other.m_fd = -1;
}

UnixSocket& UnixSocket::operator=(UnixSocket&& other) noexcept
{
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        other.m_fd = -1;
    }
    return *this;
}

void UnixSocket::close()
{
    if (m_fd >= 0) {
        // Linux frees the descriptor even when close() is interrupted: no retry.
        ::close(m_fd);
        m_fd = -1;
    }
}

UnixSocket UnixSocket::connectTo(const QString& path, const QDeadlineTimer& deadline, SocketResult& result)
{
    sockaddr_un address;
    QString error;
    if (!fillAddress(path, address, error)) {
        result = failure(SocketStatus::Failed, error);
        return {};
    }
    UnixSocket socket(newSocket());
    if (!socket.isOpen()) {
        result = failure(SocketStatus::Failed, errorText(errno));
        return {};
    }
    for (;;) {
        if (::connect(socket.m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            result = {};
            return socket;
        }
        int code = errno;
        if (code == EINPROGRESS || code == EINTR) {
            // The connection goes on by itself: wait for its outcome.
            result = socket.waitFor(POLLOUT, deadline);
            if (!result.ok())
                return {};
            socklen_t size = sizeof code;
            if (::getsockopt(socket.m_fd, SOL_SOCKET, SO_ERROR, &code, &size) != 0)
                code = errno;
            if (code == 0) {
                result = {};
                return socket;
            }
        }
        switch (code) {
        case ENOENT:
        case ECONNREFUSED:
            result = failure(SocketStatus::NoListener, errorText(code));
            return {};
        case EAGAIN:
            // The listener's backlog is full: it may take us once it accepts.
            if (deadline.hasExpired()) {
                result = timedOutResult();
                return {};
            }
            sleepMs(qMin(kBacklogRetryMs, qMax(1, pollTimeout(deadline))));
            continue;
        default:
            result = failure(SocketStatus::Failed, errorText(code));
            return {};
        }
    }
}

UnixSocket UnixSocket::listenAt(const QString& path, QString& error)
{
    sockaddr_un address;
    if (!fillAddress(path, address, error))
        return {};
    UnixSocket socket(newSocket());
    if (!socket.isOpen()) {
        error = errorText(errno);
        return {};
    }
    if (::bind(socket.m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = errorText(errno);
        return {};
    }
    // No one can connect before listen(): the mode is set before the first can.
    if (::chmod(address.sun_path, S_IRWXU) != 0 || ::listen(socket.m_fd, SOMAXCONN) != 0) {
        error = errorText(errno);
        ::unlink(address.sun_path);
        return {};
    }
    return socket;
}

UnixSocket UnixSocket::accept(const QDeadlineTimer& deadline, SocketResult& result)
{
    for (;;) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd >= 0) {
            result = {};
            return UnixSocket(fd);
        }
        const int code = errno;
        if (code == EINTR || code == ECONNABORTED)
            continue;
        if (code != EAGAIN) {
            result = failure(SocketStatus::Failed, errorText(code));
            return {};
        }
        if (deadline.hasExpired()) {
            result = {};
            return {};
        }
        result = waitFor(POLLIN, deadline);
        if (result.status == SocketStatus::TimedOut) {
            result = {};
            return {};
        }
        if (!result.ok())
            return {};
    }
}

qsizetype UnixSocket::writeSome(QByteArrayView bytes, SocketResult& result)
{
    result = {};
    qsizetype written = 0;
    while (written < bytes.size()) {
        // MSG_NOSIGNAL: a peer that has gone is EPIPE, not a signal that ends the program.
        const ssize_t n = ::send(m_fd, bytes.data() + written, std::size_t(bytes.size() - written), MSG_NOSIGNAL);
        if (n >= 0) {
            written += n;
            continue;
        }
        const int code = errno;
        if (code == EINTR)
            continue;
        if (code == EAGAIN)
            break;
        result = code == EPIPE || code == ECONNRESET ? closedResult() : failure(SocketStatus::Failed, errorText(code));
        return -1;
    }
    return written;
}

SocketResult UnixSocket::writeAll(QByteArrayView bytes, const QDeadlineTimer& deadline)
{
    SocketResult result;
    while (!bytes.isEmpty()) {
        const qsizetype written = writeSome(bytes, result);
        if (written < 0)
            return result;
        bytes = bytes.sliced(written);
        if (!bytes.isEmpty()) {
            result = waitFor(POLLOUT, deadline);
            if (!result.ok())
                return result;
        }
    }
    return {};
}

SocketResult UnixSocket::readAvailable(QByteArray& buffer, qsizetype limit)
{
    char chunk[4096];
    qsizetype taken = 0;
    while (taken < limit) {
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer.append(chunk, n);
            taken += n;
            continue;
        }
        if (n == 0)
            return closedResult();
        const int code = errno;
        if (code == EINTR)
            continue;
        if (code == EAGAIN)
            break;
        return code == ECONNRESET ? closedResult() : failure(SocketStatus::Failed, errorText(code));
    }
    return {};
}

SocketResult UnixSocket::readAtLeast(QByteArray& buffer, qsizetype size, const QDeadlineTimer& deadline)
{
    while (buffer.size() < size) {
        const SocketResult read = readAvailable(buffer, size - buffer.size());
        if (!read.ok() || buffer.size() >= size)
            return read;
        const SocketResult waited = waitReadable(deadline);
        if (!waited.ok())
            return waited;
    }
    return {};
}

SocketResult UnixSocket::waitReadable(const QDeadlineTimer& deadline) const
{
    return waitFor(POLLIN, deadline);
}

SocketResult UnixSocket::waitFor(short events, const QDeadlineTimer& deadline) const
{
    for (;;) {
        pollfd entry{m_fd, events, 0};
        const int n = ::poll(&entry, 1, pollTimeout(deadline));
        // A hang-up or an error counts as ready: the next read or write tells which.
        if (n > 0)
            return {};
        if (n == 0) {
            // poll() counts whole milliseconds: go on until the deadline itself has passed.
            if (deadline.hasExpired())
                return timedOutResult();
            continue;
        }
        if (errno != EINTR)
            return failure(SocketStatus::Failed, errorText(errno));
    }
}

} // namespace k4812
