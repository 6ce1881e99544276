#include "platform/desktop/WindowMessages.h"

#include "platform/desktop/UnixSocket.h"
#include "platform/desktop/WindowEndpoint.h"

#include <QDeadlineTimer>
#include <QFileInfo>

namespace k4812 {

namespace {

SendResult result(SendStatus status, const QString& error = QString())
{
    SendResult r;
    r.status = status;
    r.error = error;
    return r;
}

// Connects to the window's socket; NoWindow when there is none.
SendResult connectTo(UnixSocket& socket, const QString& windowClass, const QDeadlineTimer& deadline)
{
    QString error;
    const QString path = windowSocketPath(windowClass, &error);
    if (path.isEmpty())
        return result(SendStatus::Failed, error);
    SocketResult connected;
    socket = UnixSocket::connectTo(path, deadline, connected);
    switch (connected.status) {
    case SocketStatus::Ok:
        return result(SendStatus::Answered);
    case SocketStatus::NoListener:
        return result(SendStatus::NoWindow, QStringLiteral("no window of class %1").arg(windowClass));
    case SocketStatus::TimedOut:
        return result(SendStatus::TimedOut, QStringLiteral("the window of class %1 did not accept").arg(windowClass));
    case SocketStatus::Closed:
    case SocketStatus::Failed:
        break;
    }
    return result(SendStatus::Failed, connected.error);
}

// Writes the whole message before the deadline.
SendResult writeMessage(UnixSocket& socket, const WindowMessage& message, const QDeadlineTimer& deadline)
{
    const SocketResult written = socket.writeAll(encodeWindowMessage(message), deadline);
    if (written.status == SocketStatus::TimedOut)
        return result(SendStatus::TimedOut, QStringLiteral("the message was not taken"));
    if (!written.ok())
        return result(SendStatus::Failed, written.error);
    return result(SendStatus::Answered);
}

} // namespace

bool windowExistsAt(const QString& socketPath, int timeoutMs)
{
    if (!QFileInfo::exists(socketPath))
        return false;
    SocketResult connected;
    const UnixSocket probe = UnixSocket::connectTo(socketPath, QDeadlineTimer(timeoutMs), connected);
    return connected.ok();
}

bool findWindow(const QString& windowClass, int timeoutMs)
{
    if (WindowEndpoint::onThisThread(windowClass) != nullptr)
        return true;
    const QString path = windowSocketPath(windowClass);
    return !path.isEmpty() && windowExistsAt(path, timeoutMs);
}

SendResult sendWindowMessage(const QString& windowClass, const WindowMessage& message, int timeoutMs)
{
    if (WindowEndpoint* local = WindowEndpoint::onThisThread(windowClass)) {
        SendResult r = result(SendStatus::Answered);
        r.answer = local->deliver(message);
        return r;
    }
    const QDeadlineTimer deadline(timeoutMs);
    UnixSocket socket;
    SendResult r = connectTo(socket, windowClass, deadline);
    if (r.status != SendStatus::Answered)
        return r;
    r = writeMessage(socket, message, deadline);
    if (r.status != SendStatus::Answered)
        return r;
    QByteArray answer;
    const SocketResult read = socket.readAtLeast(answer, kWindowAnswerBytes, deadline);
    if (read.status == SocketStatus::TimedOut) {
        return result(SendStatus::TimedOut,
                      QStringLiteral("the window of class %1 did not answer in %2 ms").arg(windowClass).arg(timeoutMs));
    }
    if (!read.ok())
        return result(SendStatus::Failed, QStringLiteral("the window of class %1 closed without answering").arg(windowClass));
    r.answer = *decodeWindowAnswer(answer);
    return r;
}

SendResult postWindowMessage(const QString& windowClass, const WindowMessage& message, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    UnixSocket socket;
    const SendResult r = connectTo(socket, windowClass, deadline);
    if (r.status != SendStatus::Answered)
        return r;
    // The bytes are in the socket: they reach the window even after we close.
    return writeMessage(socket, message, deadline);
}

} // namespace k4812
