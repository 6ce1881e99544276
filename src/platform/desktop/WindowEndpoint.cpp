#include "platform/desktop/WindowEndpoint.h"

#include "platform/desktop/WindowMessages.h"

#include <QFile>
#include <QHash>
#include <QLockFile>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

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
// After the process runs out of descriptors, how long accepting pauses.
constexpr int kAcceptPauseMs = 100;
// Answers a sender has left unread; a peer that never reads is dropped beyond this.
constexpr qsizetype kMaxUnreadAnswers = 64 * 1024;

// One sender's connection: whole 12-byte messages are handed to the endpoint
// in order and each is answered; a partial message waits for its rest. The
// answers a slow reader has not taken yet are kept and sent when it can.
class EndpointConnection final : public QObject {
public:
    EndpointConnection(UnixSocket socket, WindowEndpoint* endpoint, QObject* parent)
        : QObject(parent)
        , m_socket(std::move(socket))
        , m_endpoint(endpoint)
        , m_reader(new QSocketNotifier(m_socket.descriptor(), QSocketNotifier::Read, this))
        , m_writer(new QSocketNotifier(m_socket.descriptor(), QSocketNotifier::Write, this))
    {
        m_writer->setEnabled(false);
        QObject::connect(m_reader, &QSocketNotifier::activated, this, [this] { readMessages(); });
        QObject::connect(m_writer, &QSocketNotifier::activated, this, [this] { writeAnswers(); });
    }

    // Drops the connection; the object goes when the event loop next runs.
    void finish()
    {
        m_reader->setEnabled(false);
        m_writer->setEnabled(false);
        m_socket.close();
        deleteLater();
    }

private:
    void readMessages()
    {
        // The handler may run a nested loop, close the endpoint or delete it:
        // no second read of this connection meanwhile, and both are checked
        // again after every message.
        m_reader->setEnabled(false);
        QPointer<EndpointConnection> self(this);
        QPointer<WindowEndpoint> endpoint(m_endpoint);
        const SocketResult read = m_socket.readAvailable(m_input);
        qsizetype used = 0;
        while (m_input.size() - used >= kWindowMessageBytes) {
            const auto message = decodeWindowMessage(m_input.mid(used, kWindowMessageBytes));
            used += kWindowMessageBytes;
            const std::int32_t answer = endpoint->deliver(*message);
            if (!self || !endpoint || !m_socket.isOpen())
                return;
            answerWith(encodeWindowAnswer(answer));
        }
        m_input.remove(0, used);
        // A peer that has hung up had its whole messages handled; a partial one is dropped.
        if (!read.ok()) {
            finish();
            return;
        }
        m_reader->setEnabled(true);
    }

    void answerWith(const QByteArray& answer)
    {
        if (m_peerGone)
            return; // a poster that did not wait: its later messages are still handled
        m_output += answer;
        writeAnswers();
    }

    void writeAnswers()
    {
        SocketResult result;
        const qsizetype written = m_socket.writeSome(m_output, result);
        if (written < 0) {
            m_peerGone = true;
            m_output.clear();
        } else {
            m_output.remove(0, written);
        }
        if (m_output.size() > kMaxUnreadAnswers) {
            qWarning("window class %s: a sender that reads no answers is dropped",
                     qUtf8Printable(m_endpoint->windowClass()));
            finish();
            return;
        }
        m_writer->setEnabled(!m_output.isEmpty());
    }

    UnixSocket m_socket;
    WindowEndpoint* m_endpoint;
    QSocketNotifier* m_reader;
    QSocketNotifier* m_writer;
    QByteArray m_input;
    QByteArray m_output;
    bool m_peerGone = false;
};

} // namespace

WindowEndpoint::WindowEndpoint(QString windowClass, QObject* parent)
    : QObject(parent)
    , m_windowClass(std::move(windowClass))
    , m_connections(new QObject(this))
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
    QFile::remove(path);

    QString listenError;
    m_listener = UnixSocket::listenAt(path, listenError);
    if (!m_listener.isOpen())
        return fail(QStringLiteral("cannot listen on %1: %2").arg(path, listenError));
    m_acceptNotifier = new QSocketNotifier(m_listener.descriptor(), QSocketNotifier::Read, this);
    connect(m_acceptNotifier, &QSocketNotifier::activated, this, &WindowEndpoint::acceptConnections);
    m_socketPath = path;
    std::lock_guard lock(registryMutex);
    registry().insert(m_windowClass, this);
    return true;
}

bool WindowEndpoint::isListening() const
{
    return m_listener.isOpen();
}

void WindowEndpoint::close()
{
    if (!m_listener.isOpen())
        return;
    {
        std::lock_guard lock(registryMutex);
        if (registry().value(m_windowClass) == this)
            registry().remove(m_windowClass);
    }
    // The notifiers go before their descriptors.
    delete m_acceptNotifier;
    m_acceptNotifier = nullptr;
    m_listener.close();
    QFile::remove(m_socketPath);
    // The handler may be running for one of them: they are closed now and deleted later.
    for (EndpointConnection* connection : m_connections->findChildren<EndpointConnection*>(Qt::FindDirectChildrenOnly))
        connection->finish();
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
    for (;;) {
        SocketResult result;
        UnixSocket socket = m_listener.accept(QDeadlineTimer(0), result);
        if (!result.ok()) {
            // Out of descriptors, most likely: try again shortly instead of spinning.
            qWarning("window class %s: cannot accept a connection: %s", qUtf8Printable(m_windowClass),
                     qUtf8Printable(result.error));
            m_acceptNotifier->setEnabled(false);
            QTimer::singleShot(kAcceptPauseMs, this, [this] {
                if (m_acceptNotifier != nullptr)
                    m_acceptNotifier->setEnabled(true);
            });
            return;
        }
        if (!socket.isOpen())
            return;
        // A poster may have written and gone already: its notifier fires at once.
        new EndpointConnection(std::move(socket), this, m_connections);
    }
}

} // namespace k4812
