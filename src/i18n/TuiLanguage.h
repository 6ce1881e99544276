#pragma once
// The language component: holds the languages of "ui.local", switches the
// process-wide active translation (Translation.h) and asks the windows to
// show their texts again (TranslationHooks.h).
//
// Languages are named by short IDs, the four hexadecimal digits of a Windows
// language identifier ("0409", "0804", "0404"); "en" names the English source
// texts themselves. A language's index is its position in the file, which is
// what the settings store as CurrentLanguage.

#include "i18n/LanguageFile.h"
#include "i18n/TranslationHooks.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace k4812 {

class TuiLanguage : public QObject {
public:
    using LanguageChangedHandler =
        std::function<void(TuiLanguage& sender, const QString& languageShortId, const QString& languageLongName)>;
    // Translation of a component of a class in CustomClassList(), for the
    // window's form walk: the component, the walk's text list (in and out),
    // the components visited so far, the base name, and whether to translate.
    using CustomTranslateHandler = std::function<void(QObject* component, QStringList& textList,
                                                      QList<QObject*>& visited, const QString& baseName,
                                                      bool translate)>;

    // Loads "ui.local" from the program folder when it exists. With a form
    // walk, the owner is a translated window: the walk runs after every
    // switch, for as long as this component lives.
    explicit TuiLanguage(QObject* owner = nullptr, TranslationHook ownerFormWalk = {});
    ~TuiLanguage() override;
    TuiLanguage(const TuiLanguage&) = delete;
    TuiLanguage& operator=(const TuiLanguage&) = delete;

    // Replaces the languages by those of a file. A damaged or unreadable file
    // is rejected whole: no languages, and loadError() says why.
    bool loadFromFile(const QString& path);
    void setLanguages(LanguageFile file);
    // Why the last load failed, for the caller to show; empty after a good
    // load and when there was no file to load.
    const QString& loadError() const { return m_loadError; }
    // What kept the program's language file from being used when this
    // component was made (missing, or loadError()), one sentence for the
    // user; empty when it was loaded.
    QString fileProblem() const;

    const QList<LanguageResource>& resources() const { return m_resources; }
    const QStringList& original() const { return m_original; }
    int languageCount() const { return int(m_resources.size()); }

    // The short ID last passed to SetLang.
    const QString& Lang() const { return m_lang; }
    // The short ID of the language whose translation is active ("en" or
    // empty when none is).
    const QString& LanguageName() const { return m_languageName; }
    // The index of that language in the file; -1 when none is active.
    int activeLanguageIndex() const { return GetLanguageIndexByShortID(m_languageName); }

    // Switches the active language: "en" drops the active translation; a
    // language of the file becomes the active translation, every shown text
    // being translated again from its English source text; an ID the file
    // lacks keeps the active translation. Then the translated windows walk
    // their texts and OnLanguageChanged is raised.
    void SetLang(const QString& value);

    // The user's interface language as four upper-case hexadecimal digits.
    static QString GetOSDefaultLang();
    // The position of a short ID in the file (hexadecimal digits compare
    // without regard to case), -1 when absent.
    int GetLanguageIndexByShortID(const QString& shortId) const;
    // The short ID of language `index`; empty when there is no such language.
    QString GetLanguageShortIDByIndex(int index) const;
    // The name of a language in the user's language; empty when unknown.
    static QString GetLanguageLongNameByLangID(const QString& langId);
    static QString GetLanguageLongNameByShortID(const QString& shortId);
    // What a language selector shows for language `index`: the language's
    // native name, or its short ID when the program knows no name for it, so
    // every language of the file keeps its place in the selector.
    QString languageDisplayName(int index) const;

    void setOnLanguageChanged(LanguageChangedHandler handler) { m_onLanguageChanged = std::move(handler); }
    void setOnCustomTranslate(CustomTranslateHandler handler) { m_onCustomTranslate = std::move(handler); }
    const CustomTranslateHandler& OnCustomTranslate() const { return m_onCustomTranslate; }

    // What the form walk translates and skips.
    QStringList& TranslatePropertyList() { return m_translatePropertyList; }
    QStringList& SpecialClassName() { return m_specialClassName; }
    QStringList& CustomClassList() { return m_customClassList; }

    // How many components were created with a translated window as owner.
    static int uiParentFormCount();

private:
    // Shown texts back to their English source texts.
    static void revertShownTexts();

    QList<LanguageResource> m_resources;
    QStringList m_original;
    QString m_loadError;
    QString m_missingFile;
    QString m_lang;
    QString m_languageName;
    LanguageChangedHandler m_onLanguageChanged;
    CustomTranslateHandler m_onCustomTranslate;
    QStringList m_translatePropertyList{QStringLiteral("Caption"), QStringLiteral("Hint")};
    QStringList m_specialClassName{QStringLiteral("TMenuItem"),  QStringLiteral("TTabControl"),
                                   QStringLiteral("TTabSheet"),  QStringLiteral("TListView"),
                                   QStringLiteral("TTreeView"),  QStringLiteral("TStatusBar"),
                                   QStringLiteral("TComboBoxEx"), QStringLiteral("TuiMenuEx")};
    QStringList m_customClassList;
    int m_windowHook = 0;
};

} // namespace k4812
