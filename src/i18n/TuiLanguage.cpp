#include "i18n/TuiLanguage.h"

#include "i18n/LanguageFileReader.h"
#include "i18n/LanguageNames.h"
#include "i18n/Translation.h"
#include "i18n/WindowsLanguageId.h"
#include "platform/storage/ProgramFolder.h"

#include <QFileInfo>

namespace k4812 {

namespace {

int& parentFormCount()
{
    static int count = 0;
    return count;
}

} // namespace

TuiLanguage::TuiLanguage(QObject* owner, TranslationHook ownerFormWalk) : QObject(owner)
{
    if (ownerFormWalk) {
        m_windowHook = addTranslatedWindow(std::move(ownerFormWalk));
        ++parentFormCount();
    }
    const QString path = programFile(QStringLiteral("ui.local"));
    if (QFileInfo::exists(path))
        loadFromFile(path);
    else
        m_missingFile = path;
}

QString TuiLanguage::fileProblem() const
{
    if (!m_loadError.isEmpty())
        return QStringLiteral("The language file cannot be used: %1.").arg(m_loadError);
    if (!m_missingFile.isEmpty())
        return QStringLiteral("The language file \"%1\" is missing; the program runs in English.").arg(m_missingFile);
    return {};
}

TuiLanguage::~TuiLanguage()
{
    if (m_windowHook != 0)
        removeTranslationHook(m_windowHook);
}

bool TuiLanguage::loadFromFile(const QString& path)
{
    QString error;
    std::optional<LanguageFile> file = readLanguageFileFrom(path, error);
    if (!file) {
        m_resources.clear();
        m_original.clear();
        m_loadError = error + QStringLiteral("; the program runs in English");
        return false;
    }
    setLanguages(std::move(*file));
    return true;
}

void TuiLanguage::setLanguages(LanguageFile file)
{
    m_resources = std::move(file.resources);
    m_original = std::move(file.original);
    m_loadError.clear();
}

void TuiLanguage::revertShownTexts()
{
    setTranslationReverting(true);
    retranslateScenes();
    setTranslationReverting(false);
}

void TuiLanguage::SetLang(const QString& value)
{
    m_lang = value;
    if (value == QLatin1String("en")) {
        revertShownTexts();
        clearActiveTranslation();
        m_languageName = value;
    } else if (const int index = GetLanguageIndexByShortID(value); index >= 0) {
        revertShownTexts();
        setActiveTranslation(TranslationList(m_resources[index].lines));
        retranslateScenes();
        m_languageName = m_resources[index].shortId;
    }
    // An ID the file lacks keeps the active translation, and LanguageName
    // keeps naming it.
    walkTranslatedWindows();
    if (m_onLanguageChanged)
        m_onLanguageChanged(*this, m_languageName, GetLanguageLongNameByShortID(m_languageName));
}

QString TuiLanguage::GetOSDefaultLang()
{
    return systemWindowsLanguageId();
}

int TuiLanguage::GetLanguageIndexByShortID(const QString& shortId) const
{
    if (shortId.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_resources.size(); ++i) {
        if (m_resources[i].shortId.compare(shortId, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString TuiLanguage::GetLanguageShortIDByIndex(int index) const
{
    if (index < 0 || index >= m_resources.size())
        return QString();
    return m_resources[index].shortId;
}

QString TuiLanguage::GetLanguageLongNameByLangID(const QString& langId)
{
    return languageLongNameOf(langId);
}

QString TuiLanguage::GetLanguageLongNameByShortID(const QString& shortId)
{
    return languageLongNameOf(shortId);
}

QString TuiLanguage::languageDisplayName(int index) const
{
    const QString shortId = GetLanguageShortIDByIndex(index);
    const QString name = nativeLanguageNameOf(shortId);
    return name.isEmpty() ? shortId : name;
}

int TuiLanguage::uiParentFormCount()
{
    return parentFormCount();
}

} // namespace k4812
