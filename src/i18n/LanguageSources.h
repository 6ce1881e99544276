#pragma once
// The plain-text sources of the language file, as kept with the program:
//  - the source list: one English source text per line;
//  - one file per language, named after its short ID ("0804.txt"): lines of
//    the form source text, "=", translation.
// Both are UTF-8. Blank lines and lines starting with "#" are ignored; a line
// keeps its blanks (a source text may start with spaces); a CR before the line
// end is dropped. A source text may hold neither "=" nor a line break, as such
// a text could never be found in a translation block.

#include "i18n/LanguageFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace k4812 {

// The source texts of a source list; `name` names the file in messages.
std::optional<QStringList> parseSourceTexts(const QByteArray& utf8, const QString& name, QString& error);

// One language: every source text must have exactly one line, and every line
// must translate a source text. An empty translation is allowed (the text
// then shows in English).
std::optional<LanguageResource> parseTranslations(const QByteArray& utf8, const QString& name, const QString& shortId,
                                                  const QStringList& sourceTexts, QString& error);

// Reads the source list and the language files (in this order, which is the
// order of the languages in the language file). A language's short ID is its
// file name without the extension, four hexadecimal digits.
std::optional<LanguageFile> compileLanguageSources(const QString& sourcePath, const QStringList& languagePaths,
                                                   QString& error);

} // namespace k4812
