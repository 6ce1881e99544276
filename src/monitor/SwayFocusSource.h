#pragma once
// The focused application on sway: its IPC socket ($SWAYSOCK) with a
// subscription to window events; a "focus" event names the container's
// app_id, or for an Xwayland window its X11 class.

#include "monitor/FocusSource.h"
#include "platform/desktop/UnixSocket.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

class QSocketNotifier;

namespace k4812 {

// The i3/sway IPC framing: "i3-ipc", the payload's length and the message
// type (both 32 bits in the machine's order), then the payload.
struct SwayMessage {
    std::uint32_t type = 0;
    QByteArray payload;
};
QByteArray encodeSwayMessage(std::uint32_t type, const QByteArray& payload);
// Takes every whole message off the front of `buffer`. Nothing when the
// buffer does not start with the magic (the stream is lost).
std::optional<std::vector<SwayMessage>> takeSwayMessages(QByteArray& buffer);
// The application a window event's payload gives focus to; nothing for
// other events (a title change, a window closing).
std::optional<QString> focusedAppOfWindowEvent(const QByteArray& payload);

class SwayFocusSource final : public FocusSource {
    Q_OBJECT
public:
    static constexpr std::uint32_t kSubscribe = 2;
    static constexpr std::uint32_t kWindowEvent = 0x80000003;

    explicit SwayFocusSource(QString socketPath, QObject* parent = nullptr);
    ~SwayFocusSource() override;

    QString name() const override { return QStringLiteral("sway"); }
    bool start(QString& error) override;

private:
    void readMessages();
    // Stops listening to sway: it hung up, or its stream is out of step.
    void stop();

    QString m_path;
    UnixSocket m_socket;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_buffer;
    std::optional<QString> m_last;
};

} // namespace k4812
