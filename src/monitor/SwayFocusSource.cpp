#include "monitor/SwayFocusSource.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>

#include <cstring>

namespace k4812 {

namespace {

constexpr char kMagic[] = "i3-ipc";
constexpr int kMagicSize = 6;
constexpr int kHeaderSize = kMagicSize + 8;
// Far more than any window event; a longer length means the stream is lost.
constexpr std::uint32_t kMaxPayload = 64 * 1024 * 1024;
constexpr int kReachTimeoutMs = 2000;

} // namespace

QByteArray encodeSwayMessage(std::uint32_t type, const QByteArray& payload)
{
    QByteArray message(kMagic, kMagicSize);
    const auto length = std::uint32_t(payload.size());
    message.append(reinterpret_cast<const char*>(&length), 4);
    message.append(reinterpret_cast<const char*>(&type), 4);
    return message + payload;
}

std::optional<std::vector<SwayMessage>> takeSwayMessages(QByteArray& buffer)
{
    std::vector<SwayMessage> messages;
    while (buffer.size() >= kMagicSize) {
        if (!buffer.startsWith(QByteArrayView(kMagic, kMagicSize)))
            return std::nullopt;
        if (buffer.size() < kHeaderSize)
            break;
        std::uint32_t length = 0;
        SwayMessage message;
        std::memcpy(&length, buffer.constData() + kMagicSize, 4);
        std::memcpy(&message.type, buffer.constData() + kMagicSize + 4, 4);
        if (length > kMaxPayload)
            return std::nullopt;
        if (buffer.size() < kHeaderSize + qsizetype(length))
            break;
        message.payload = buffer.mid(kHeaderSize, length);
        buffer.remove(0, kHeaderSize + length);
        messages.push_back(std::move(message));
    }
    return messages;
}

std::optional<QString> focusedAppOfWindowEvent(const QByteArray& payload)
{
    const QJsonObject event = QJsonDocument::fromJson(payload).object();
    if (event.value(QLatin1String("change")).toString() != QLatin1String("focus"))
        return std::nullopt;
    const QJsonObject container = event.value(QLatin1String("container")).toObject();
    const QString appId = container.value(QLatin1String("app_id")).toString();
    if (!appId.isEmpty())
        return appId;
    return container.value(QLatin1String("window_properties")).toObject().value(QLatin1String("class")).toString();
}

SwayFocusSource::SwayFocusSource(QString socketPath, QObject* parent)
    : FocusSource(parent)
    , m_path(std::move(socketPath))
{
}

SwayFocusSource::~SwayFocusSource() = default;

bool SwayFocusSource::start(QString& error)
{
    SocketResult result;
    m_socket = UnixSocket::connectTo(m_path, QDeadlineTimer(kReachTimeoutMs), result);
    if (result.ok())
        result = m_socket.writeAll(encodeSwayMessage(kSubscribe, QByteArrayLiteral("[\"window\"]")),
                                   QDeadlineTimer(kReachTimeoutMs));
    if (!result.ok()) {
        m_socket.close();
        error = QStringLiteral("cannot reach sway at %1: %2").arg(m_path, result.error);
        return false;
    }
    m_notifier = new QSocketNotifier(m_socket.descriptor(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SwayFocusSource::readMessages);
    return true;
}

void SwayFocusSource::readMessages()
{
    const SocketResult read = m_socket.readAvailable(m_buffer);
    const std::optional<std::vector<SwayMessage>> messages = takeSwayMessages(m_buffer);
    if (!messages) {
        // Out of step with sway: no later byte can be trusted.
        stop();
        return;
    }
    for (const SwayMessage& message : *messages) {
        if (message.type != kWindowEvent)
            continue;
        const std::optional<QString> app = focusedAppOfWindowEvent(message.payload);
        if (!app || app == m_last)
            continue;
        m_last = app;
        emit focusChanged(*app);
    }
    if (!read.ok())
        stop();
}

void SwayFocusSource::stop()
{
    if (m_notifier != nullptr) {
        // The notifier leaves before its descriptor is closed; it is inside its own signal.
        m_notifier->setEnabled(false);
        m_notifier->deleteLater();
        m_notifier = nullptr;
    }
    m_socket.close();
    m_buffer.clear();
}

} // namespace k4812
