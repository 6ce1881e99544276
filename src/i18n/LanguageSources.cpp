#include "i18n/LanguageSources.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace k4812 {

namespace {

struct SourceLine {
    int number;
    QString text;
};

std::optional<QList<SourceLine>> readLines(const QByteArray& utf8, const QString& name, QString& error)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(utf8);
    if (decoder.hasError()) {
        error = QStringLiteral("%1: not valid UTF-8").arg(name);
        return std::nullopt;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<SourceLine> lines;
    const QStringList raw = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < raw.size(); ++i) {
        QString line = raw[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const int number = int(i) + 1;
        if (containsLineBreak(line)) {
            error = QStringLiteral("%1:%2: \"%3\" holds a line break or NUL").arg(name).arg(number).arg(line);
            return std::nullopt;
        }
        lines.append(SourceLine{number, line});
    }
    return lines;
}

std::optional<QByteArray> readWholeFile(const QString& path, QString& error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read \"%1\": %2").arg(path, f.errorString());
        return std::nullopt;
    }
    return f.readAll();
}

} // namespace

std::optional<QStringList> parseSourceTexts(const QByteArray& utf8, const QString& name, QString& error)
{
    const std::optional<QList<SourceLine>> lines = readLines(utf8, name, error);
    if (!lines)
        return std::nullopt;
    QStringList texts;
    QSet<QString> seen;
    for (const SourceLine& line : *lines) {
        if (line.text.contains(QLatin1Char('='))) {
            error = QStringLiteral("%1:%2: the source text \"%3\" holds \"=\" and could never be translated")
                        .arg(name)
                        .arg(line.number)
                        .arg(line.text);
            return std::nullopt;
        }
        if (seen.contains(line.text)) {
            error = QStringLiteral("%1:%2: the source text \"%3\" is listed twice")
                        .arg(name)
                        .arg(line.number)
                        .arg(line.text);
            return std::nullopt;
        }
        seen.insert(line.text);
        texts.append(line.text);
    }
    return texts;
}

std::optional<LanguageResource> parseTranslations(const QByteArray& utf8, const QString& name, const QString& shortId,
                                                  const QStringList& sourceTexts, QString& error)
{
    const std::optional<QList<SourceLine>> lines = readLines(utf8, name, error);
    if (!lines)
        return std::nullopt;
    const QSet<QString> known(sourceTexts.cbegin(), sourceTexts.cend());
    QSet<QString> translated;
    LanguageResource resource{shortId, {}};
    for (const SourceLine& line : *lines) {
        const qsizetype separator = line.text.indexOf(QLatin1Char('='));
        if (separator < 0) {
            error = QStringLiteral("%1:%2: \"%3\" is not of the form source=translation")
                        .arg(name)
                        .arg(line.number)
                        .arg(line.text);
            return std::nullopt;
        }
        const QString source = line.text.left(separator);
        if (!known.contains(source)) {
            error = QStringLiteral("%1:%2: \"%3\" is not a source text").arg(name).arg(line.number).arg(source);
            return std::nullopt;
        }
        if (translated.contains(source)) {
            error = QStringLiteral("%1:%2: \"%3\" is translated twice").arg(name).arg(line.number).arg(source);
            return std::nullopt;
        }
        translated.insert(source);
        resource.lines.append(line.text);
    }
    QStringList missing;
    for (const QString& text : sourceTexts) {
        if (!translated.contains(text))
            missing.append(QStringLiteral("  \"%1\"").arg(text));
    }
    if (!missing.isEmpty()) {
        error = QStringLiteral("%1: no translation of %2 source text(s):\n%3")
                    .arg(name)
                    .arg(missing.size())
                    .arg(missing.join(QLatin1Char('\n')));
        return std::nullopt;
    }
    return resource;
}

std::optional<LanguageFile> compileLanguageSources(const QString& sourcePath, const QStringList& languagePaths,
                                                   QString& error)
{
    const std::optional<QByteArray> sourceBytes = readWholeFile(sourcePath, error);
    if (!sourceBytes)
        return std::nullopt;
    std::optional<QStringList> sourceTexts = parseSourceTexts(*sourceBytes, sourcePath, error);
    if (!sourceTexts)
        return std::nullopt;
    LanguageFile file;
    file.original = *sourceTexts;
    static const QRegularExpression shortIdPattern(QStringLiteral("^[0-9A-Fa-f]{4}$"));
    for (const QString& path : languagePaths) {
        const QString shortId = QFileInfo(path).completeBaseName();
        if (!shortIdPattern.match(shortId).hasMatch()) {
            error = QStringLiteral("%1: a language file is named after its short ID, four hexadecimal digits such as "
                                   "0409.txt")
                        .arg(path);
            return std::nullopt;
        }
        for (const LanguageResource& earlier : std::as_const(file.resources)) {
            if (earlier.shortId.compare(shortId, Qt::CaseInsensitive) == 0) {
                error = QStringLiteral("%1: the language %2 is given twice").arg(path, shortId);
                return std::nullopt;
            }
        }
        const std::optional<QByteArray> bytes = readWholeFile(path, error);
        if (!bytes)
            return std::nullopt;
        std::optional<LanguageResource> resource = parseTranslations(*bytes, path, shortId, *sourceTexts, error);
        if (!resource)
            return std::nullopt;
        file.resources.append(std::move(*resource));
    }
    return file;
}

} // namespace k4812
