#pragma once
// Shows a verb's texts in the stored interface language: for the life of a
// StoredLanguage, the language that CurrentLanguage names in "ui.local" (in
// the program folder) is the active translation, so translate() gives the
// texts the windows would show. The translation active before comes back
// afterwards, as tests run many verbs in one process.

#include "LanguageSetting.h"

#include "i18n/TranslationList.h"
#include "i18n/TuiLanguage.h"

#include <optional>

namespace k4812::cli {

class StoredLanguage {
public:
    explicit StoredLanguage(LanguageSetting& setting);
    ~StoredLanguage();
    StoredLanguage(const StoredLanguage&) = delete;
    StoredLanguage& operator=(const StoredLanguage&) = delete;

    const TuiLanguage& language() const { return m_language; }
    // The stored index, when it could be read.
    std::optional<int> storedIndex() const { return m_storedIndex; }
    // Why texts show in English although a language is stored (no language
    // file, a damaged one, an unreadable setting or an index the file lacks);
    // empty otherwise.
    const QString& problem() const { return m_problem; }

private:
    std::optional<TranslationList> m_previous;
    TuiLanguage m_language;
    std::optional<int> m_storedIndex;
    QString m_problem;
};

} // namespace k4812::cli
