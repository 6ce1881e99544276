#include "platform/desktop/WindowEndpoint.h"

#include "platform/desktop/WindowMessages.h"

#include <QHash>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>

#include <mutex>

namespace k4812 {

namespace {

// The listening endpoints of this process, by class.
std::mutex registryMutex;
QHash<QString, WindowEndpoint*>& registry()
{
    static QHash<QString, WindowEndpoint*> endpoints;
    return endpoints;
}

constexpr int kGuardTimeoutMs = 2000;
constexpr int kProbeTimeoutMs = 1000;

} // namespace

WindowEndpoint::WindowEndpoint(QString windowClass, QObject* parent)
    : QObject(parent)
    , m_windowClass(std::move(windowClass))
{
}

WindowEndpoint::~WindowEndpoint()
{
    close();
}

bool WindowEndpoint::listen(QString* error)
{
    auto fail = [error](const QString& message) {
        if (error != nullptr)
            *error = message;
        return false;
    };
    if (isListening())
        return true;
    const QString path = windowSocketPath(m_windowClass, error);
    if (path.isEmpty())
        return false;
    {
        std::lock_guard lock(registryMutex);
        if (registry().contains(m_windowClass))
            return fail(QStringLiteral("a window of class %1 exists in this process").arg(m_windowClass));
    }

    // Two processes starting at once must not both decide that the socket is
    // stale and remove each other's: the check and the listen run under a lock.
    QLockFile guard(path + QStringLiteral(".lock"));
    if (!guard.tryLock(kGuardTimeoutMs))
        return fail(QStringLiteral("cannot lock %1.lock").arg(path));
    if (windowExistsAt(path, kProbeTimeoutMs))
        return fail(QStringLiteral("a window of class %1 exists already").arg(m_windowClass));
    // No live window answers: whatever file is there is left by a dead one.
    QLocalServer::removeServer(path);

    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        const QString message = QStringLiteral("cannot listen on %1: %2").arg(path, server->errorString());
        delete server;
        return fail(message);
    }
    connect(server, &QLocalServer::newConnection, this, &WindowEndpoint::acceptConnections);
    m_server = server;
    m_socketPath = path;
    std::lock_guard lock(registryMutex);
    registry().insert(m_windowClass, this);
    return true;
}

bool WindowEndpoint::isListening() const
{
    return m_server != nullptr && m_server->isListening();
}

void WindowEndpoint::close()
{
    if (m_server == nullptr)
        return;
    {
        std::lock_guard lock(registryMutex);
        if (registry().value(m_windowClass) == this)
            registry().remove(m_windowClass);
    }
    m_server->close(); // removes the socket file
    delete m_server;
    m_server = nullptr;
}

std::int32_t WindowEndpoint::deliver(const WindowMessage& message)
{
    emit messageReceived(message);
    return m_handler ? m_handler(message) : 0;
}

WindowEndpoint* WindowEndpoint::onThisThread(const QString& windowClass)
{
    std::lock_guard lock(registryMutex);
    WindowEndpoint* endpoint = registry().value(windowClass);
    return endpoint != nullptr && endpoint->thread() == QThread::currentThread() ? endpoint : nullptr;
}

void WindowEndpoint::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessages(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A poster may have written and gone before we got here.
        if (socket->bytesAvailable() > 0)
            readMessages(socket);
    }
}

void WindowEndpoint::readMessages(QLocalSocket* socket)
{
    // The handler may run a nested loop or close this endpoint; the socket is
    // checked again after every message.
    QPointer<QLocalSocket> guard(socket);
    QPointer<WindowEndpoint> self(this);
    while (guard && self && guard->bytesAvailable() >= kWindowMessageBytes) {
        const auto message = decodeWindowMessage(guard->read(kWindowMessageBytes));
        const std::int32_t answer = deliver(*message);
        if (guard && guard->state() == QLocalSocket::ConnectedState) {
            guard->write(encodeWindowAnswer(answer));
            guard->flush();
        }
    }
}

} // namespace k4812
