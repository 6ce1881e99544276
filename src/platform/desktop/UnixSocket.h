#pragma once
// A Unix-domain stream socket at a path in the file system, for the window
// messages (WindowEndpoint.h, WindowMessages.h) and sway's IPC. Plain
// socket(2) calls instead of QtNetwork's local sockets, whose library and
// its dependencies cost every program start more than the whole rest of
// this code.
//
// The descriptor is close-on-exec and non-blocking. The calls that wait take
// a deadline and poll, go on after a signal, and carry partial reads and
// writes through to the end. A write to a peer that has gone reports Closed
// and never raises SIGPIPE.

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>

namespace k4812 {

enum class SocketStatus {
    Ok,
    NoListener, // connect: no socket file, or nobody listens on it (one left by a dead process)
    TimedOut,   // the deadline passed first
    Closed,     // the peer hung up
    Failed,     // anything else; the error says what
};

struct SocketResult {
    SocketStatus status = SocketStatus::Ok;
    QString error; // set unless Ok

    bool ok() const { return status == SocketStatus::Ok; }
};

// The longest path a socket can have: sun_path less its terminating zero.
inline constexpr int kMaxSocketPathBytes = 107;

class UnixSocket {
public:
    UnixSocket() = default;
    explicit UnixSocket(int descriptor)
        : m_fd(descriptor)
    {
    }
    ~UnixSocket();
    UnixSocket(UnixSocket&& other) noexcept;
    UnixSocket& operator=(UnixSocket&& other) noexcept;
    UnixSocket(const UnixSocket&) = delete;
    UnixSocket& operator=(const UnixSocket&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int descriptor() const { return m_fd; }
    void close();

    // Connects to the socket at `path`. A listener whose backlog stays full
    // until the deadline is TimedOut.
    static UnixSocket connectTo(const QString& path, const QDeadlineTimer& deadline, SocketResult& result);
    // Binds a socket at `path`, owner-only (0700, as the folder), and
    // listens on it. A file already there is an error: the caller decides
    // whether it may be removed.
    static UnixSocket listenAt(const QString& path, QString& error);
    // The next connection to this listening socket; a closed socket with Ok
    // when none has come by the deadline (QDeadlineTimer(0): do not wait).
    UnixSocket accept(const QDeadlineTimer& deadline, SocketResult& result);

    // Writes all of `bytes` before the deadline.
    SocketResult writeAll(QByteArrayView bytes, const QDeadlineTimer& deadline);
    // Writes what the socket takes now; the count written, or -1 with `result` set.
    qsizetype writeSome(QByteArrayView bytes, SocketResult& result);
    // Reads until `buffer` holds at least `size` bytes. Closed when the peer
    // hangs up first; what it sent stays in `buffer`.
    SocketResult readAtLeast(QByteArray& buffer, qsizetype size, const QDeadlineTimer& deadline);
    // Appends what can be read without waiting (at most about `limit`
    // bytes). Ok also when nothing was there; Closed once the peer has hung
    // up and its last bytes are taken.
    SocketResult readAvailable(QByteArray& buffer, qsizetype limit = 1 << 20);
    // Waits until there is something to read, or the peer has hung up.
    SocketResult waitReadable(const QDeadlineTimer& deadline) const;

private:
    SocketResult waitFor(short events, const QDeadlineTimer& deadline) const;

    int m_fd = -1;
};

} // namespace k4812
