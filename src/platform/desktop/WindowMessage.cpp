#include "platform/desktop/WindowMessage.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/RuntimeFolder.h"

#include <QtEndian>

namespace k4812 {

namespace {

void putInt(QByteArray& bytes, std::int32_t value)
{
    char raw[4];
    qToLittleEndian<std::int32_t>(value, raw);
    bytes.append(raw, 4);
}

std::int32_t intAt(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<std::int32_t>(bytes.constData() + offset);
}

} // namespace

QByteArray encodeWindowMessage(const WindowMessage& message)
{
    QByteArray bytes;
    bytes.reserve(kWindowMessageBytes);
    putInt(bytes, message.message);
    putInt(bytes, message.wParam);
    putInt(bytes, message.lParam);
    return bytes;
}

std::optional<WindowMessage> decodeWindowMessage(const QByteArray& bytes)
{
    if (bytes.size() < kWindowMessageBytes)
        return std::nullopt;
    return WindowMessage{intAt(bytes, 0), intAt(bytes, 4), intAt(bytes, 8)};
}

QByteArray encodeWindowAnswer(std::int32_t answer)
{
    QByteArray bytes;
    putInt(bytes, answer);
    return bytes;
}

std::optional<std::int32_t> decodeWindowAnswer(const QByteArray& bytes)
{
    if (bytes.size() < kWindowAnswerBytes)
        return std::nullopt;
    return intAt(bytes, 0);
}

QString describeWindowMessage(const WindowMessage& message)
{
    const char* name = windowMessageName(message.message);
    const QString head = name != nullptr ? QStringLiteral("%1 (%2)").arg(QLatin1String(name)).arg(message.message)
                                         : QStringLiteral("message %1").arg(message.message);
    return QStringLiteral("%1 wParam=%2 lParam=%3").arg(head).arg(message.wParam).arg(message.lParam);
}

bool isValidWindowClass(const QString& windowClass)
{
    if (windowClass.isEmpty() || windowClass.size() > 64)
        return false;
    for (const QChar c : windowClass) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_'
                        || u == u'-';
        if (!ok)
            return false;
    }
    return true;
}

QString windowSocketPath(const QString& windowClass, QString* error)
{
    if (!isValidWindowClass(windowClass)) {
        if (error != nullptr)
            *error = QStringLiteral("\"%1\" is not a valid window class").arg(windowClass);
        return QString();
    }
    const QString folder = runtimeFolder(error);
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + windowClass + QStringLiteral(".socket");
}

} // namespace k4812
