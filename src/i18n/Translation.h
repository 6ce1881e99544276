#pragma once
// The process-wide translation that every shown text passes through.
//
// At most one translation list is active for the whole process. While a
// language switch reverts the shown texts, the revert flag turns the lookup
// around, so that a shown translation gives back its English source text and
// can then be translated into the new language. The language component
// (TuiLanguage) drives both; windows only call translate().
//
// Used from the user-interface thread only, like every window.

#include "i18n/TranslationList.h"

#include <QString>

namespace k4812 {

// The text to show for `text`: empty for an empty text; `text` itself when no
// list is active; else the active list's translation, or, while reverting,
// the source text of a shown translation.
QString translate(const QString& text);
// translate() of a text kept as a UTF-8 constant in the code.
inline QString translated(const char* text)
{
    return translate(QString::fromUtf8(text));
}

// Makes a copy of `list` the active translation.
void setActiveTranslation(const TranslationList& list);
// Drops the active translation: every text shows in English.
void clearActiveTranslation();
// The active translation, or nullptr when there is none.
const TranslationList* activeTranslation();

void setTranslationReverting(bool reverting);
bool isTranslationReverting();

} // namespace k4812
