#pragma once
// The interface language a new all-settings record starts with: its
// CurrentLanguage is an index into the language file, whose languages come in
// the order "0409", "0804", "0404".

#include <QString>

namespace k4812 {

// 1 for "0804" (Chinese, simplified), 2 for "0404" (Chinese, traditional),
// 0 (English) for any other identifier.
int defaultLanguageIndexOf(const QString& langId);

// defaultLanguageIndexOf() the user's interface language (systemWindowsLanguageId).
int systemDefaultLanguageIndex();

} // namespace k4812
