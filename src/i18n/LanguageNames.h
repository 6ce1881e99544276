#pragma once
// Names of languages by Windows language identifier ("0409", "0804", ...),
// for the locales the program knows (WindowsLanguageId).

#include <QString>

namespace k4812 {

// The language's name in its own language ("简体中文", "繁體中文"); what the
// language selectors show. Empty for an identifier the program does not know.
QString nativeLanguageNameOf(const QString& langId);

// The language's name with its territory, in the user's interface language
// where that is the same language ("繁體中文 (台灣)" for a Chinese user), else
// in English ("Chinese (Taiwan)"). Empty for an unknown identifier.
QString languageLongNameOf(const QString& langId);

} // namespace k4812
