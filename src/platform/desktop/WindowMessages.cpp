#include "platform/desktop/WindowMessages.h"

#include "platform/desktop/WindowEndpoint.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>

namespace k4812 {

namespace {

int remaining(const QDeadlineTimer& deadline)
{
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

SendResult result(SendStatus status, const QString& error = QString())
{
    SendResult r;
    r.status = status;
    r.error = error;
    return r;
}

// Connects to the window's socket; NoWindow when there is none.
SendResult connectTo(QLocalSocket& socket, const QString& windowClass, const QDeadlineTimer& deadline)
{
    QString error;
    const QString path = windowSocketPath(windowClass, &error);
    if (path.isEmpty())
        return result(SendStatus::Failed, error);
    socket.connectToServer(path);
    if (socket.waitForConnected(remaining(deadline)))
        return result(SendStatus::Answered);
    switch (socket.error()) {
    case QLocalSocket::ServerNotFoundError:
    case QLocalSocket::ConnectionRefusedError:
        return result(SendStatus::NoWindow, QStringLiteral("no window of class %1").arg(windowClass));
    case QLocalSocket::SocketTimeoutError:
        return result(SendStatus::TimedOut, QStringLiteral("the window of class %1 did not accept").arg(windowClass));
    default:
        return result(SendStatus::Failed, socket.errorString());
    }
}

// Writes the whole message before the deadline.
SendResult writeMessage(QLocalSocket& socket, const WindowMessage& message, const QDeadlineTimer& deadline)
{
    if (socket.write(encodeWindowMessage(message)) != kWindowMessageBytes)
        return result(SendStatus::Failed, socket.errorString());
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remaining(deadline))) {
            return deadline.hasExpired() ? result(SendStatus::TimedOut, QStringLiteral("the message was not taken"))
                                         : result(SendStatus::Failed, socket.errorString());
        }
    }
    return result(SendStatus::Answered);
}

} // namespace

bool windowExistsAt(const QString& socketPath, int timeoutMs)
{
    if (!QFileInfo::exists(socketPath))
        return false;
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    const bool live = probe.waitForConnected(timeoutMs);
    probe.abort();
    return live;
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
    QLocalSocket socket;
    SendResult r = connectTo(socket, windowClass, deadline);
    if (r.status != SendStatus::Answered)
        return r;
    r = writeMessage(socket, message, deadline);
    if (r.status != SendStatus::Answered)
        return r;
    while (socket.bytesAvailable() < kWindowAnswerBytes) {
        if (!socket.waitForReadyRead(remaining(deadline))) {
            if (deadline.hasExpired()) {
                socket.abort();
                return result(SendStatus::TimedOut,
                              QStringLiteral("the window of class %1 did not answer in %2 ms").arg(windowClass).arg(timeoutMs));
            }
            return result(SendStatus::Failed, QStringLiteral("the window of class %1 closed without answering").arg(windowClass));
        }
    }
    r.answer = *decodeWindowAnswer(socket.read(kWindowAnswerBytes));
    socket.abort();
    return r;
}

SendResult postWindowMessage(const QString& windowClass, const WindowMessage& message, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    SendResult r = connectTo(socket, windowClass, deadline);
    if (r.status != SendStatus::Answered)
        return r;
    r = writeMessage(socket, message, deadline);
    // The bytes are in the socket: they reach the window even after we close.
    socket.abort();
    return r;
}

} // namespace k4812
