#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/RuntimeFolder.h"
#include "platform/desktop/UnixSocket.h"
#include "platform/desktop/WindowEndpoint.h"
#include "platform/desktop/WindowMessages.h"

#include "QtEventLoop.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace k4812;
using k4812::test::runEventsUntil;
using k4812::test::TestEnvironment;
using k4812::test::wakeEventLoop;

namespace {

const QString kTestClass = QStringLiteral("TK4812TestWnd");

mode_t modeOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode;
}

// A Unix socket bound at `path`. listening: it takes connections into its
// backlog but never accepts or answers, like a hung window. Not listening:
// it is closed at once and leaves its file, like a window whose process died.
class RawSocket {
public:
    RawSocket(const QString& path, bool listening)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
        m_ok = ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
               && (!listening || ::listen(m_fd, 8) == 0);
        if (!listening) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~RawSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool ok() const { return m_ok; }

private:
    int m_fd = -1;
    bool m_ok = false;
};

// Sends on another thread while this one runs the endpoint's event loop.
SendResult sendFromAnotherThread(const QString& windowClass, const WindowMessage& message, int timeoutMs = kSendTimeoutMs)
{
    std::atomic<bool> done{false};
    SendResult result;
    std::thread sender([&] {
        result = sendWindowMessage(windowClass, message, timeoutMs);
        done = true;
        wakeEventLoop();
    });
    runEventsUntil([&] { return done.load(); }, timeoutMs + 5000);
    sender.join();
    return result;
}

class WindowMessagesTest : public ::testing::Test {
protected:
    QString socketPath(const QString& windowClass = kTestClass) { return windowSocketPath(windowClass); }

    TestEnvironment env;
};

} // namespace

TEST(WindowMessage, TwelveLittleEndianBytesAndAFourByteAnswer)
{
    const WindowMessage m{UM_DEVICE_SETTINGS_CHANGED, 1, -2};
    const QByteArray bytes = encodeWindowMessage(m);
    EXPECT_EQ(bytes.toHex(), "7b1b000001000000feffffff");
    EXPECT_EQ(decodeWindowMessage(bytes), m);
    EXPECT_FALSE(decodeWindowMessage(bytes.left(11)).has_value());
    EXPECT_EQ(decodeWindowAnswer(encodeWindowAnswer(-7)), -7);
    EXPECT_EQ(describeWindowMessage(m), "UM_DEVICE_SETTINGS_CHANGED (7035) wParam=1 lParam=-2");
    EXPECT_EQ(describeWindowMessage({12, 0, 0}), "message 12 wParam=0 lParam=0");
}

TEST(WindowMessage, ClassNamesCannotLeaveTheRuntimeFolder)
{
    EXPECT_TRUE(isValidWindowClass(QLatin1String(kConfigWindowClass)));
    EXPECT_TRUE(isValidWindowClass(QLatin1String(kMonitorWindowClass)));
    for (const char* bad : {"", "../TK4812CfgMain", "a/b", "a b", ".", "TK4812CfgMain\n"})
        EXPECT_FALSE(isValidWindowClass(QString::fromUtf8(bad))) << bad;
    EXPECT_FALSE(isValidWindowClass(QString(65, QLatin1Char('a'))));
    EXPECT_EQ(sendWindowMessage(QStringLiteral("../x"), {1, 0, 0}).status, SendStatus::Failed);
}

TEST_F(WindowMessagesTest, SendWaitsForTheAnswerOfTheWindow)
{
    WindowEndpoint endpoint(kTestClass);
    QList<WindowMessage> received;
    Qt::HANDLE handlerThread = nullptr;
    endpoint.setHandler([&](const WindowMessage& m) {
        received << m;
        handlerThread = QThread::currentThreadId();
        return m.wParam + m.lParam;
    });
    QString error;
    ASSERT_TRUE(endpoint.listen(&error)) << error.toStdString();
    EXPECT_TRUE(findWindow(kTestClass));

    const SendResult r = sendFromAnotherThread(kTestClass, {UM_LANGUAGE_CHANGED, 40, 2});
    EXPECT_EQ(r.status, SendStatus::Answered) << r.error.toStdString();
    EXPECT_EQ(r.answer, 42);
    EXPECT_EQ(received, (QList<WindowMessage>{{UM_LANGUAGE_CHANGED, 40, 2}}));
    EXPECT_EQ(handlerThread, QThread::currentThreadId()); // handled on the endpoint's thread
}

TEST_F(WindowMessagesTest, SendToAWindowOfTheSameThreadIsHandledDirectly)
{
    WindowEndpoint endpoint(kTestClass);
    endpoint.setHandler([](const WindowMessage& m) { return m.message + 1; });
    ASSERT_TRUE(endpoint.listen());
    // Waiting on the socket here would block the loop that has to answer.
    const SendResult r = sendWindowMessage(kTestClass, {UM_LANGUAGE_CHANGED, 0, 0}, 200);
    EXPECT_EQ(r.status, SendStatus::Answered);
    EXPECT_EQ(r.answer, UM_LANGUAGE_CHANGED + 1);
}

TEST_F(WindowMessagesTest, SendToAHungWindowTimesOut)
{
    RawSocket hung(socketPath(), true);
    ASSERT_TRUE(hung.ok());
    EXPECT_TRUE(findWindow(kTestClass));
    const SendResult r = sendWindowMessage(kTestClass, {UM_DEVICE_SETTINGS_CHANGED, 0, 0}, 100);
    EXPECT_EQ(r.status, SendStatus::TimedOut) << r.error.toStdString();
}

TEST_F(WindowMessagesTest, PostReturnsAtOnceAndTheWindowGetsTheMessageLater)
{
    WindowEndpoint endpoint(kTestClass);
    QList<WindowMessage> received;
    endpoint.setHandler([&](const WindowMessage& m) {
        received << m;
        return 0;
    });
    ASSERT_TRUE(endpoint.listen());

    // Posted from the endpoint's own thread: nothing is handled until its loop runs.
    const SendResult r = postWindowMessage(kTestClass, {UM_DEVICE_SETTINGS_CHANGED, 1, 2});
    EXPECT_EQ(r.status, SendStatus::Answered) << r.error.toStdString();
    EXPECT_TRUE(received.isEmpty());
    EXPECT_TRUE(runEventsUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, (QList<WindowMessage>{{UM_DEVICE_SETTINGS_CHANGED, 1, 2}}));
}

TEST_F(WindowMessagesTest, NoSocketMeansNoWindow)
{
    ASSERT_FALSE(QFile::exists(socketPath()));
    EXPECT_FALSE(findWindow(kTestClass));
    EXPECT_EQ(sendWindowMessage(kTestClass, {UM_DEVICE_SETTINGS_CHANGED, 0, 0}).status, SendStatus::NoWindow);
    EXPECT_EQ(postWindowMessage(kTestClass, {UM_DEVICE_SETTINGS_CHANGED, 1, 0}).status, SendStatus::NoWindow);
}

TEST_F(WindowMessagesTest, StaleSocketOfADeadProcessIsNoWindowAndIsTakenOver)
{
    RawSocket dead(socketPath(), false);
    ASSERT_TRUE(dead.ok());
    ASSERT_TRUE(QFile::exists(socketPath()));
    EXPECT_FALSE(findWindow(kTestClass));
    EXPECT_EQ(sendWindowMessage(kTestClass, {UM_DEVICE_SETTINGS_CHANGED, 0, 0}).status, SendStatus::NoWindow);

    WindowEndpoint endpoint(kTestClass);
    endpoint.setHandler([](const WindowMessage&) { return 5; });
    QString error;
    ASSERT_TRUE(endpoint.listen(&error)) << error.toStdString();
    EXPECT_EQ(sendFromAnotherThread(kTestClass, {UM_RELOAD_PROFILE, 0, 0}).answer, 5);
}

TEST_F(WindowMessagesTest, PartialFramesAndSendersThatHangUpLoseNoWholeMessage)
{
    WindowEndpoint endpoint(kTestClass);
    QList<WindowMessage> received;
    endpoint.setHandler([&](const WindowMessage& m) {
        received << m;
        return m.wParam;
    });
    ASSERT_TRUE(endpoint.listen());
    const auto connect = [&] {
        SocketResult result;
        UnixSocket socket = UnixSocket::connectTo(socketPath(), QDeadlineTimer(5000), result);
        EXPECT_TRUE(result.ok()) << result.error.toStdString();
        return socket;
    };
    const QByteArray one = encodeWindowMessage({UM_RELOAD_PROFILE, 1, 0});
    const QByteArray two = encodeWindowMessage({UM_RELOAD_PROFILE, 2, 0});
    const QByteArray three = encodeWindowMessage({UM_RELOAD_PROFILE, 3, 0});

    // A message split across writes is handled once, when whole, and answered.
    UnixSocket split = connect();
    ASSERT_TRUE(split.writeAll(one.left(5), QDeadlineTimer(1000)).ok());
    runEventsUntil([] { return false; }, 50);
    EXPECT_TRUE(received.isEmpty());
    ASSERT_TRUE(split.writeAll(one.mid(5), QDeadlineTimer(1000)).ok());
    QByteArray answer;
    EXPECT_TRUE(runEventsUntil([&] {
        return split.readAvailable(answer).ok() && answer.size() >= kWindowAnswerBytes;
    }));
    EXPECT_EQ(decodeWindowAnswer(answer), 1);

    // Two whole messages and half of a third, then the sender is gone before any answer.
    UnixSocket gone = connect();
    ASSERT_TRUE(gone.writeAll(two + three + one.left(7), QDeadlineTimer(1000)).ok());
    gone.close();
    EXPECT_TRUE(runEventsUntil([&] { return received.size() >= 3; }));
    runEventsUntil([] { return false; }, 50);
    EXPECT_EQ(received, (QList<WindowMessage>{{UM_RELOAD_PROFILE, 1, 0}, {UM_RELOAD_PROFILE, 2, 0},
                                              {UM_RELOAD_PROFILE, 3, 0}}));

    // The endpoint still answers the next sender.
    EXPECT_EQ(sendFromAnotherThread(kTestClass, {UM_RELOAD_PROFILE, 9, 0}).answer, 9);
}

TEST_F(WindowMessagesTest, AHandlerThatClosesTheEndpointEndsItsConnections)
{
    WindowEndpoint endpoint(kTestClass);
    int handled = 0;
    endpoint.setHandler([&](const WindowMessage&) {
        ++handled;
        endpoint.close();
        return 1;
    });
    ASSERT_TRUE(endpoint.listen());
    SocketResult result;
    UnixSocket sender = UnixSocket::connectTo(socketPath(), QDeadlineTimer(5000), result);
    ASSERT_TRUE(result.ok());
    const QByteArray message = encodeWindowMessage({UM_RELOAD_PROFILE, 0, 0});
    ASSERT_TRUE(sender.writeAll(message + message, QDeadlineTimer(1000)).ok());
    QByteArray answer;
    // No answer comes, and the connection is closed rather than left hanging.
    EXPECT_TRUE(runEventsUntil([&] { return !sender.readAvailable(answer).ok(); }));
    EXPECT_EQ(handled, 1);
    EXPECT_TRUE(answer.isEmpty());
    EXPECT_FALSE(QFile::exists(socketPath()));
}

TEST_F(WindowMessagesTest, OneLiveWindowPerClassAndItsSocketGoesWithIt)
{
    auto first = std::make_unique<WindowEndpoint>(kTestClass);
    ASSERT_TRUE(first->listen());
    WindowEndpoint second(kTestClass);
    QString error;
    EXPECT_FALSE(second.listen(&error));
    EXPECT_FALSE(error.isEmpty());

    first.reset();
    EXPECT_FALSE(QFile::exists(socketPath()));
    EXPECT_FALSE(findWindow(kTestClass));
    EXPECT_TRUE(second.listen());
}

TEST_F(WindowMessagesTest, SocketAndFolderAreTheOwnersOnly)
{
    WindowEndpoint endpoint(kTestClass);
    ASSERT_TRUE(endpoint.listen());
    const QString folder = QFileInfo(endpoint.socketPath()).absolutePath();
    EXPECT_EQ(folder, env.path(QStringLiteral("runtime/k4812")));
    EXPECT_EQ(modeOf(folder) & 07777, 0700u);
    EXPECT_TRUE(S_ISSOCK(modeOf(endpoint.socketPath())));
    EXPECT_EQ(modeOf(endpoint.socketPath()) & 077, 0u);
}

TEST_F(WindowMessagesTest, RuntimeFolderFallsBackToAPrivateTempFolder)
{
    env.set("XDG_RUNTIME_DIR", QString());
    const QString temp = env.path(QStringLiteral("tmp"));
    QDir().mkpath(temp);
    env.set("TMPDIR", temp);
    const QString expected = temp + QStringLiteral("/k4812-%1").arg(geteuid());

    // An existing folder of ours that others can read is made private.
    ASSERT_TRUE(QDir().mkpath(expected));
    ::chmod(QFile::encodeName(expected).constData(), 0755);
    EXPECT_EQ(runtimeFolder(), expected);
    EXPECT_EQ(modeOf(expected) & 07777, 0700u);
}

TEST_F(WindowMessagesTest, RuntimeFolderRefusesALinkOrAnotherUsersFolder)
{
    env.set("XDG_RUNTIME_DIR", QString());
    const QString temp = env.path(QStringLiteral("tmp"));
    QDir().mkpath(temp);
    env.set("TMPDIR", temp);
    const QString path = temp + QStringLiteral("/k4812-%1").arg(geteuid());
    QDir().mkpath(env.path(QStringLiteral("elsewhere")));

    ASSERT_TRUE(QFile::link(env.path(QStringLiteral("elsewhere")), path));
    QString error;
    EXPECT_TRUE(runtimeFolder(&error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(sendWindowMessage(kTestClass, {1, 0, 0}).status, SendStatus::Failed);
    QFile::remove(path);

    ASSERT_TRUE(QDir().mkpath(path));
    if (::chown(QFile::encodeName(path).constData(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give a folder to another user";
    EXPECT_TRUE(runtimeFolder(&error).isEmpty());
    EXPECT_TRUE(error.contains(QLatin1String("another user"))) << error.toStdString();
}
