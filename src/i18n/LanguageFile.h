#pragma once
// The contents of the language file "ui.local": the English source texts and,
// for each language, its short ID ("0409", "0804", ...) and its translation
// lines "source=translation".
//
// On disk the file is little-endian with no header: a text block (a signed
// 32-bit count of UTF-16 units, then the units) holding every source text,
// each followed by CR LF; a signed 32-bit language count L; then L times the
// short ID and the language's translation block, both as text blocks. The
// file's order of languages is their index, which the settings store.

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace k4812 {

struct LanguageResource {
    QString shortId;
    QStringList lines; // "source=translation", as read or to be written
};

struct LanguageFile {
    QStringList original;              // the source texts
    QList<LanguageResource> resources; // in file order: the index is the position
};

// Splits a text block into lines as the file format requires: at each CR LF
// pair and at each single LF, VT, FF, CR, U+2028 or U+2029. The block ends at
// its first NUL unit. A line break at the very end opens no further line, so
// an empty block gives no lines and "a\r\n" gives one.
QStringList splitBlockLines(QStringView block);

// True when a text holds a unit that splitBlockLines() would break or end a
// block at: such a text cannot be one line of a block.
bool containsLineBreak(QStringView text);

// The canonical order of the lines of a block: case-sensitive, by UTF-16 code
// unit. The same order on every machine, whatever the locale.
void sortBlockLines(QStringList& lines);

} // namespace k4812
