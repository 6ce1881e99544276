#pragma once
// One language's translation lines "source=translation" and the two lookups
// made on them: forward (source text to translation) and back (translation to
// source text, used while switching languages).

#include <QHash>
#include <QString>
#include <QStringList>

namespace k4812 {

class TranslationList {
public:
    TranslationList() = default;
    // Takes the lines in any order and keeps them in canonical order, where
    // "first line" in the lookups below is meant.
    explicit TranslationList(QStringList lines);

    const QStringList& lines() const { return m_lines; }

    // The translation of `text`: the part after the first "=" of the first
    // line whose part before it equals `text` (case-sensitive). `text` itself
    // when no line matches or the translation part is empty.
    QString translate(const QString& text) const;

    // The source text of a shown translation: the part before the first "="
    // of the first line whose part after it equals `text`; `text` itself when
    // no line matches.
    QString revert(const QString& text) const;

private:
    QStringList m_lines;
    QHash<QString, QString> m_bySource;      // first line of each source text
    QHash<QString, QString> m_byTranslation; // first line of each translation
};

} // namespace k4812
