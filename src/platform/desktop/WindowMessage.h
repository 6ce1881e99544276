#pragma once
// One window message as it crosses a local socket: three little-endian
// 32-bit integers (message, wParam, lParam), 12 bytes. The receiver answers
// every message with one little-endian 32-bit integer, the handler's result;
// a sender that posts does not wait for it.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace k4812 {

struct WindowMessage {
    std::int32_t message = 0;
    std::int32_t wParam = 0;
    std::int32_t lParam = 0;

    bool operator==(const WindowMessage&) const = default;
};

inline constexpr int kWindowMessageBytes = 12;
inline constexpr int kWindowAnswerBytes = 4;

QByteArray encodeWindowMessage(const WindowMessage& message);
// The message in the first 12 bytes; none when there are fewer.
std::optional<WindowMessage> decodeWindowMessage(const QByteArray& bytes);

QByteArray encodeWindowAnswer(std::int32_t answer);
std::optional<std::int32_t> decodeWindowAnswer(const QByteArray& bytes);

// "UM_DEVICE_SETTINGS_CHANGED (7035) wParam=0 lParam=0"; other numbers are
// shown as "message 5 wParam=... lParam=...".
QString describeWindowMessage(const WindowMessage& message);

// Whether `windowClass` may name an endpoint: 1-64 letters, digits, '_' or
// '-', so it can never leave the runtime folder.
bool isValidWindowClass(const QString& windowClass);

// The endpoint's socket file in the runtime folder (RuntimeFolder.h),
// "<class>.socket"; empty with `error` set when there is no folder or the
// class is not valid.
QString windowSocketPath(const QString& windowClass, QString* error = nullptr);

} // namespace k4812
