#include "i18n/LanguageFileWriter.h"

#include <QSaveFile>
#include <QtEndian>

#include <cstdint>
#include <limits>

namespace k4812 {

namespace {

void appendInt32(QByteArray& out, std::int32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

bool appendText(QByteArray& out, const QString& text, QString& error)
{
    if (text.size() > std::numeric_limits<std::int32_t>::max()) {
        error = QStringLiteral("a text block is too long for the file format");
        return false;
    }
    appendInt32(out, std::int32_t(text.size()));
    for (QChar c : text) {
        char bytes[2];
        qToLittleEndian(char16_t(c.unicode()), bytes);
        out.append(bytes, 2);
    }
    return true;
}

std::optional<QString> block(QStringList lines, const QString& where, QString& error)
{
    for (const QString& line : lines) {
        if (containsLineBreak(line)) {
            error = QStringLiteral("%1: the text \"%2\" holds a line break or NUL").arg(where, line);
            return std::nullopt;
        }
    }
    sortBlockLines(lines);
    QString result;
    for (const QString& line : lines) {
        result += line;
        result += QStringLiteral("\r\n");
    }
    return result;
}

} // namespace

std::optional<QByteArray> writeLanguageFile(const LanguageFile& file, QString& error)
{
    QByteArray out;
    const std::optional<QString> original = block(file.original, QStringLiteral("source texts"), error);
    if (!original || !appendText(out, *original, error))
        return std::nullopt;
    appendInt32(out, std::int32_t(file.resources.size()));
    for (const LanguageResource& resource : file.resources) {
        if (resource.shortId.isEmpty() || containsLineBreak(resource.shortId)) {
            error = QStringLiteral("the short ID \"%1\" cannot name a language").arg(resource.shortId);
            return std::nullopt;
        }
        const std::optional<QString> lines = block(resource.lines, resource.shortId, error);
        if (!lines || !appendText(out, resource.shortId, error) || !appendText(out, *lines, error))
            return std::nullopt;
    }
    return out;
}

bool saveLanguageFile(const LanguageFile& file, const QString& path, QString& error)
{
    const std::optional<QByteArray> bytes = writeLanguageFile(file, error);
    if (!bytes)
        return false;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(*bytes) != bytes->size() || !out.commit()) {
        error = QStringLiteral("cannot write \"%1\": %2").arg(path, out.errorString());
        return false;
    }
    return true;
}

} // namespace k4812
