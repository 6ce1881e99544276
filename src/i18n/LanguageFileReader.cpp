#include "i18n/LanguageFileReader.h"

#include "platform/storage/RegularFile.h"

#include <QFile>
#include <QtEndian>

#include <cstdint>

namespace k4812 {

namespace {

class Cursor {
public:
    explicit Cursor(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype position() const { return m_position; }
    qsizetype left() const { return m_bytes.size() - m_position; }

    std::optional<std::int32_t> int32(const char* what, QString& error)
    {
        if (left() < 4) {
            error = QStringLiteral("the %1 at byte %2 runs past the end of the file")
                        .arg(QLatin1String(what))
                        .arg(m_position);
            return std::nullopt;
        }
        const auto value = qFromLittleEndian<std::int32_t>(m_bytes.data() + m_position);
        m_position += 4;
        return value;
    }

    std::optional<QString> text(const char* what, QString& error)
    {
        const qsizetype at = m_position;
        const std::optional<std::int32_t> count = int32(what, error);
        if (!count)
            return std::nullopt;
        if (*count < 0) {
            error = QStringLiteral("the %1 at byte %2 has a negative length (%3)")
                        .arg(QLatin1String(what))
                        .arg(at)
                        .arg(*count);
            return std::nullopt;
        }
        // The count is in UTF-16 units; 64-bit arithmetic, so no count can wrap.
        const qint64 byteCount = qint64(*count) * 2;
        if (byteCount > left()) {
            error = QStringLiteral("the %1 at byte %2 claims %3 characters, past the end of the file")
                        .arg(QLatin1String(what))
                        .arg(at)
                        .arg(*count);
            return std::nullopt;
        }
        QString result(*count, Qt::Uninitialized);
        const char* source = m_bytes.data() + m_position;
        char16_t* target = reinterpret_cast<char16_t*>(result.data());
        for (std::int32_t i = 0; i < *count; ++i)
            target[i] = qFromLittleEndian<char16_t>(source + 2 * i);
        m_position += byteCount;
        return result;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_position = 0;
};

QStringList sortedLines(const QString& block)
{
    QStringList lines = splitBlockLines(block);
    sortBlockLines(lines);
    return lines;
}

} // namespace

std::optional<LanguageFile> readLanguageFile(QByteArrayView bytes, QString& error)
{
    if (bytes.size() > kMaxLanguageFileBytes) {
        error = QStringLiteral("the file has %1 bytes, more than a language file can have").arg(bytes.size());
        return std::nullopt;
    }
    Cursor cursor(bytes);
    LanguageFile file;
    const std::optional<QString> original = cursor.text("source-text block", error);
    if (!original)
        return std::nullopt;
    file.original = sortedLines(*original);

    const qsizetype countAt = cursor.position();
    const std::optional<std::int32_t> count = cursor.int32("language count", error);
    if (!count)
        return std::nullopt;
    // Each language takes at least two 4-byte counts, so a count the rest of
    // the file cannot hold is known to be wrong before any is read.
    if (*count < 0 || qint64(*count) * 8 > cursor.left()) {
        error = QStringLiteral("the language count at byte %1 (%2) does not fit the file").arg(countAt).arg(*count);
        return std::nullopt;
    }
    for (std::int32_t i = 0; i < *count; ++i) {
        std::optional<QString> shortId = cursor.text("short ID", error);
        if (!shortId)
            return std::nullopt;
        const std::optional<QString> block = cursor.text("translation block", error);
        if (!block)
            return std::nullopt;
        file.resources.append(LanguageResource{std::move(*shortId), sortedLines(*block)});
    }
    return file;
}

std::optional<LanguageFile> readLanguageFileFrom(const QString& path, QString& error)
{
    const RegularFileRead f = readRegularFile(path, kMaxLanguageFileBytes);
    if (!f.read()) {
        error = f.error;
        return std::nullopt;
    }
    if (f.longerThan(kMaxLanguageFileBytes)) {
        error = QStringLiteral("\"%1\" has more than %2 bytes, more than a language file can have")
                    .arg(path)
                    .arg(kMaxLanguageFileBytes);
        return std::nullopt;
    }
    const QByteArray& bytes = f.bytes;
    std::optional<LanguageFile> file = readLanguageFile(bytes, error);
    if (!file)
        error = QStringLiteral("\"%1\" is damaged: %2").arg(path, error);
    return file;
}

} // namespace k4812
