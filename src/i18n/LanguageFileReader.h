#pragma once
// Reads the language file "ui.local" (layout in LanguageFile.h).
//
// A damaged file is rejected whole: a negative count, a text or a language
// that runs past the end of the file, or a file larger than any language file
// could sensibly be. Reading never looks beyond the bytes it is given, and it
// reserves memory only for what the bytes actually hold.

#include "i18n/LanguageFile.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace k4812 {

// Files above this size are refused rather than loaded into memory.
constexpr qsizetype kMaxLanguageFileBytes = 64 * 1024 * 1024;

// The contents of a language file, or nothing with the reason in `error`.
// Each block's lines are sorted (sortBlockLines). Bytes after the last
// language are ignored, as the file format does not mark its end.
std::optional<LanguageFile> readLanguageFile(QByteArrayView bytes, QString& error);

// Reads the file at `path`; a missing or unreadable file is an error too.
std::optional<LanguageFile> readLanguageFileFrom(const QString& path, QString& error);

} // namespace k4812
