// The Unix socket under the window messages and sway's IPC: what a connect
// finds at a path, a peer that hangs up mid-frame or before a write, and
// reads and writes that the kernel splits.

#include "platform/desktop/UnixSocket.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace k4812;

namespace {

class UnixSocketTest : public ::testing::Test {
protected:
    QString path(const char* name = "s.sock") const { return dir.filePath(QString::fromLatin1(name)); }

    // A listener and one connection to it: {client, server side}.
    std::pair<UnixSocket, UnixSocket> connectedPair()
    {
        QString error;
        listener = UnixSocket::listenAt(path(), error);
        EXPECT_TRUE(listener.isOpen()) << error.toStdString();
        SocketResult result;
        UnixSocket client = UnixSocket::connectTo(path(), QDeadlineTimer(5000), result);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        UnixSocket server = listener.accept(QDeadlineTimer(5000), result);
        EXPECT_TRUE(server.isOpen()) << result.error.toStdString();
        return {std::move(client), std::move(server)};
    }

    QTemporaryDir dir;
    UnixSocket listener;
};

// A socket file whose process has gone: bound, never listened on, closed.
bool leaveStaleSocket(const QString& path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

} // namespace

TEST_F(UnixSocketTest, AConnectTellsNoListenerFromAFullBacklogAndABadPath)
{
    ASSERT_TRUE(leaveStaleSocket(path("stale.sock")));
    QFile plain(path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    // A listener that never accepts, with room for one connection in its backlog, which is taken.
    QString error;
    UnixSocket busy = UnixSocket::listenAt(path("busy.sock"), error);
    ASSERT_TRUE(busy.isOpen()) << error.toStdString();
    ASSERT_EQ(::listen(busy.descriptor(), 0), 0);
    SocketResult first;
    const UnixSocket queued = UnixSocket::connectTo(path("busy.sock"), QDeadlineTimer(1000), first);
    ASSERT_TRUE(first.ok()) << first.error.toStdString();

    const struct {
        QString path;
        SocketStatus status;
        const char* error;
    } cases[] = {
        {path("missing.sock"), SocketStatus::NoListener, "No such file"},
        {path("stale.sock"), SocketStatus::NoListener, "refused"},
        {path("plain"), SocketStatus::NoListener, "refused"},
        {path("busy.sock"), SocketStatus::TimedOut, "timed out"},
        {dir.path() + QLatin1Char('/') + QString(kMaxSocketPathBytes, QLatin1Char('x')), SocketStatus::Failed,
         "longer than 107 bytes"},
        {path("plain") + QStringLiteral("/under-a-file.sock"), SocketStatus::Failed, "Not a directory"},
    };
    for (const auto& c : cases) {
        SocketResult result;
        const UnixSocket socket = UnixSocket::connectTo(c.path, QDeadlineTimer(50), result);
        EXPECT_FALSE(socket.isOpen()) << c.path.toStdString();
        EXPECT_EQ(result.status, c.status) << c.path.toStdString();
        EXPECT_TRUE(result.error.contains(QLatin1String(c.error))) << result.error.toStdString();
    }
}

TEST_F(UnixSocketTest, AListenerIsTheOwnersOnlyAndDoesNotReplaceAFile)
{
    QString error;
    const UnixSocket socket = UnixSocket::listenAt(path(), error);
    ASSERT_TRUE(socket.isOpen()) << error.toStdString();
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(path()).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
    EXPECT_NE(::fcntl(socket.descriptor(), F_GETFD) & FD_CLOEXEC, 0);

    const UnixSocket second = UnixSocket::listenAt(path(), error);
    EXPECT_FALSE(second.isOpen());
    EXPECT_TRUE(error.contains(QLatin1String("in use"))) << error.toStdString();
}

TEST_F(UnixSocketTest, APeerThatHangsUpMidFrameLeavesWhatItSentAndIsClosed)
{
    auto [client, server] = connectedPair();
    ASSERT_TRUE(client.writeAll(QByteArrayView("12345"), QDeadlineTimer(1000)).ok());
    client.close();
    QByteArray buffer;
    const SocketResult read = server.readAtLeast(buffer, 12, QDeadlineTimer(5000));
    EXPECT_EQ(read.status, SocketStatus::Closed);
    EXPECT_EQ(buffer, "12345");
}

TEST_F(UnixSocketTest, AWriteToAPeerThatHasGoneIsClosedNotASignal)
{
    auto [client, server] = connectedPair();
    server.close();
    // SIGPIPE would end the test program here.
    const SocketResult written = client.writeAll(QByteArray(100000, 'x'), QDeadlineTimer(1000));
    EXPECT_EQ(written.status, SocketStatus::Closed);
}

TEST_F(UnixSocketTest, AWriteLargerThanTheSocketTakesIsCarriedThroughWhileThePeerReads)
{
    auto [client, server] = connectedPair();
    QByteArray sent(8 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < sent.size(); ++i)
        sent[i] = char(i * 7 + i / 4096);
    QByteArray received;
    SocketResult read;
    std::thread reader([&] { read = server.readAtLeast(received, sent.size(), QDeadlineTimer(20000)); });
    const SocketResult written = client.writeAll(sent, QDeadlineTimer(20000));
    reader.join();
    EXPECT_TRUE(written.ok()) << written.error.toStdString();
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_TRUE(received == sent);
}

TEST_F(UnixSocketTest, AWriteToAPeerThatDoesNotReadTimesOut)
{
    auto [client, server] = connectedPair();
    const SocketResult written = client.writeAll(QByteArray(8 * 1024 * 1024, 'x'), QDeadlineTimer(50));
    EXPECT_EQ(written.status, SocketStatus::TimedOut);
    QByteArray nothing;
    EXPECT_EQ(client.readAtLeast(nothing, 1, QDeadlineTimer(20)).status, SocketStatus::TimedOut);
}

TEST_F(UnixSocketTest, AcceptWithoutAWaitingConnectionReturnsNone)
{
    QString error;
    listener = UnixSocket::listenAt(path(), error);
    SocketResult result;
    EXPECT_FALSE(listener.accept(QDeadlineTimer(0), result).isOpen());
    EXPECT_TRUE(result.ok());
    EXPECT_FALSE(listener.accept(QDeadlineTimer(20), result).isOpen());
    EXPECT_TRUE(result.ok());
}
