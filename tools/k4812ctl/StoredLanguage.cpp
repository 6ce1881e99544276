#include "StoredLanguage.h"

#include "i18n/Translation.h"
#include "platform/storage/ProgramFolder.h"

#include <QFileInfo>

namespace k4812::cli {

namespace {

std::optional<TranslationList> copyOfActive()
{
    const TranslationList* active = activeTranslation();
    return active != nullptr ? std::optional<TranslationList>(*active) : std::nullopt;
}

} // namespace

StoredLanguage::StoredLanguage(LanguageSetting& setting) : m_previous(copyOfActive())
{
    clearActiveTranslation(); // English unless the stored language is found
    const QString file = programFile(QStringLiteral("ui.local"));
    QString error;
    m_storedIndex = setting.currentLanguage(error);
    if (!m_storedIndex) {
        m_problem = error;
        return;
    }
    if (!m_language.loadError().isEmpty()) {
        m_problem = m_language.loadError();
        return;
    }
    if (!QFileInfo::exists(file)) {
        m_problem = QStringLiteral("no language file \"%1\"; texts show in English").arg(file);
        return;
    }
    const QString shortId = m_language.GetLanguageShortIDByIndex(*m_storedIndex);
    if (shortId.isEmpty()) {
        m_problem = QStringLiteral("the stored language %1 is not in \"%2\"; texts show in English")
                        .arg(*m_storedIndex)
                        .arg(file);
        return;
    }
    m_language.SetLang(shortId);
}

StoredLanguage::~StoredLanguage()
{
    if (m_previous)
        setActiveTranslation(*m_previous);
    else
        clearActiveTranslation();
}

} // namespace k4812::cli
