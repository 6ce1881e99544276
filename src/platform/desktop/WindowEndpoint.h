#pragma once
// The receiving side of window messages: the endpoint of one window class, a
// local socket "<class>.socket" in the user's private runtime folder
// (RuntimeFolder.h) with owner-only access. It stands for a top-level
// window that other programs find by its class name.
//
// Messages are handled on the endpoint's thread, from its event loop, one at
// a time, and each is answered with the handler's result. Only one live
// endpoint per class may exist; the socket of a dead process is taken over.

#include "platform/desktop/UnixSocket.h"
#include "platform/desktop/WindowMessage.h"

#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

namespace k4812 {

class WindowEndpoint final : public QObject {
    Q_OBJECT
public:
    // Returns the answer that a sender waiting for it receives.
    using Handler = std::function<std::int32_t(const WindowMessage&)>;

    explicit WindowEndpoint(QString windowClass, QObject* parent = nullptr);
    ~WindowEndpoint() override;

    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Starts receiving. Fails (with `error`) when a live endpoint of this
    // class exists, in this process or another, or when the runtime folder
    // or the socket cannot be made.
    bool listen(QString* error = nullptr);
    bool isListening() const;
    // Stops receiving and removes the socket file.
    void close();

    QString windowClass() const { return m_windowClass; }
    QString socketPath() const { return m_socketPath; }

    // Hands `message` to the handler as if it had arrived (0 without one).
    std::int32_t deliver(const WindowMessage& message);

    // The listening endpoint of `windowClass` in this process when it lives
    // on the calling thread, else nullptr. A send to it must call deliver()
    // directly: waiting on the socket would block the very loop that answers.
    static WindowEndpoint* onThisThread(const QString& windowClass);

signals:
    // Emitted for every message, before the handler runs.
    void messageReceived(const k4812::WindowMessage& message);

private:
    void acceptConnections();

    QString m_windowClass;
    QString m_socketPath;
    UnixSocket m_listener;
    QSocketNotifier* m_acceptNotifier = nullptr;
    // The parent of the open connections (EndpointConnection).
    QObject* m_connections;
    Handler m_handler;
};

} // namespace k4812
