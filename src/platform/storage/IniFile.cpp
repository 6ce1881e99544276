#include "platform/storage/IniFile.h"

#include "platform/storage/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace k4812 {

namespace {

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        return utf16(bytes.mid(2));
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    return utf8(body);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile IniFile::fromFile(const QString& path, QString* error)
{
    const RegularFileRead file = readRegularFile(path, kMaxIniFileBytes);
    QString problem;
    if (file.longerThan(kMaxIniFileBytes))
        problem = QStringLiteral("\"%1\" is longer than %2 bytes and is not read").arg(path).arg(kMaxIniFileBytes);
    else if (!file.read() && file.status != RegularFileRead::Status::Missing)
        problem = file.error;
    if (error != nullptr)
        *error = problem;
    if (!problem.isEmpty() || !file.read())
        return {};
    return fromBytes(file.bytes);
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    Section* current = nullptr;
    bool currentIsDuplicate = false;
    const QString text = decode(bytes);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            currentIsDuplicate = ini.findSection(name) != nullptr;
            if (!currentIsDuplicate) {
                ini.m_sections.append(Section{name, {}});
                current = &ini.m_sections.last();
            }
            continue;
        }
        if (current == nullptr || currentIsDuplicate)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        const bool known = std::any_of(current->entries.cbegin(), current->entries.cend(),
                                       [&](const Entry& e) { return sameName(e.first, key); });
        if (!known)
            current->entries.append({key, value});
    }
    return ini;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const Section& s : m_sections) {
        if (sameName(s.name, name))
            return &s;
    }
    return nullptr;
}

bool IniFile::contains(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    if (s == nullptr)
        return false;
    return std::any_of(s->entries.cbegin(), s->entries.cend(),
                       [&](const Entry& e) { return sameName(e.first, key); });
}

QString IniFile::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Section* s = findSection(section);
    if (s == nullptr)
        return defaultValue;
    for (const Entry& e : s->entries) {
        if (sameName(e.first, key))
            return e.second;
    }
    return defaultValue;
}

int IniFile::intValue(const QString& section, const QString& key, int defaultValue) const
{
    if (!contains(section, key))
        return defaultValue;
    const QString v = value(section, key);
    qsizetype i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == QLatin1Char('-') || v[i] == QLatin1Char('+'))) {
        negative = v[i] == QLatin1Char('-');
        ++i;
    }
    // Accumulate in 64 bits and saturate, so a long run of digits cannot overflow.
    long long n = 0;
    for (; i < v.size() && v[i] >= QLatin1Char('0') && v[i] <= QLatin1Char('9'); ++i) {
        n = n * 10 + (v[i].unicode() - '0');
        if (n > 0x7FFFFFFFLL)
            n = 0x80000000LL;
    }
    if (negative)
        n = -n;
    return int(std::clamp<long long>(n, -0x80000000LL, 0x7FFFFFFFLL));
}

QList<IniFile::Entry> IniFile::entries(const QString& section) const
{
    const Section* s = findSection(section);
    return s == nullptr ? QList<Entry>{} : s->entries;
}

} // namespace k4812
