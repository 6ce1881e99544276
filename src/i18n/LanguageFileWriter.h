#pragma once
// Writes the language file "ui.local" (layout in LanguageFile.h): the source
// texts and each language's lines in canonical order (sortBlockLines), each
// followed by CR LF.

#include "i18n/LanguageFile.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace k4812 {

// The bytes of the file, or nothing with the reason in `error`: a text that
// holds a line break or NUL would not read back as the same line, and an
// empty short ID names no language.
std::optional<QByteArray> writeLanguageFile(const LanguageFile& file, QString& error);

// Writes the file in one piece (through a temporary file renamed into place),
// so a failed write leaves any earlier file as it was.
bool saveLanguageFile(const LanguageFile& file, const QString& path, QString& error);

} // namespace k4812
