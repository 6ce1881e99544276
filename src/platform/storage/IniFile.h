#pragma once
// A read-only initialization file with the Windows rules: section and key
// names compare without regard to case; a value is the rest of the line after
// the first '=' (surrounding blanks removed); the first of duplicate sections
// or keys wins; lines starting with ';' or '#' are comments. The file may be
// UTF-8 (with or without a byte-order mark) or UTF-16LE with its mark, as an
// editor on Windows writes it.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace k4812 {

class IniFile {
public:
    using Entry = QPair<QString, QString>;

    IniFile() = default;

    // A missing or unreadable file gives an empty IniFile: every lookup then
    // returns its default.
    // A file that is missing, not a regular file, unreadable or longer than
    // kMaxIniFileBytes gives an empty IniFile; `error` (when given) then says
    // why, except for a missing file.
    static constexpr qint64 kMaxIniFileBytes = 1024 * 1024;
    static IniFile fromFile(const QString& path, QString* error = nullptr);
    static IniFile fromBytes(const QByteArray& bytes);

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;

    // As GetPrivateProfileInt: the default when the key is missing; else the
    // leading optionally-signed decimal digits of the value, 0 when there are none.
    int intValue(const QString& section, const QString& key, int defaultValue) const;

    // Every key=value of a section in file order (duplicates removed).
    QList<Entry> entries(const QString& section) const;

private:
    struct Section {
        QString name;
        QList<Entry> entries;
    };
    const Section* findSection(const QString& name) const;

    QList<Section> m_sections;
};

} // namespace k4812
