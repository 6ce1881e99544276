#pragma once
// The sending side of window messages, standing in for FindWindowW,
// SendMessageW and PostMessageW: a window is the endpoint of its class
// (WindowEndpoint.h), looked up at the moment of sending. No socket, or a
// socket nobody listens on (left by a dead process), means no window.
//
// These calls block the calling thread, without running its event loop, for
// at most their time-out, so a hung peer cannot freeze the window. They may
// be called from any thread.

#include "platform/desktop/WindowMessage.h"

#include <QString>

#include <cstdint>

namespace k4812 {

// How long a send waits for its answer, and a post for its delivery.
inline constexpr int kSendTimeoutMs = 3000;
inline constexpr int kPostTimeoutMs = 1000;

enum class SendStatus {
    Answered,  // the window handled the message; `answer` holds its result
    NoWindow,  // no window of that class exists: nothing was sent
    TimedOut,  // the window did not answer in time
    Failed,    // the connection broke, or the class or folder is not usable
};

struct SendResult {
    SendStatus status = SendStatus::Failed;
    std::int32_t answer = 0;
    QString error;
};

// Whether a live window of `windowClass` exists.
bool findWindow(const QString& windowClass, int timeoutMs = kPostTimeoutMs);
// The same for a socket path.
bool windowExistsAt(const QString& socketPath, int timeoutMs);

// Sends `message` and waits for the window to answer. A window of this class
// on the calling thread is handled directly, as Windows does.
SendResult sendWindowMessage(const QString& windowClass, const WindowMessage& message,
                             int timeoutMs = kSendTimeoutMs);

// Hands `message` to the window without waiting for it to be handled.
// Answered means delivered; the answer is always 0.
SendResult postWindowMessage(const QString& windowClass, const WindowMessage& message,
                             int timeoutMs = kPostTimeoutMs);

} // namespace k4812
