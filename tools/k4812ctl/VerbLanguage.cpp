// k4812ctl language [set INDEX|SHORTID]: lists the languages of "ui.local"
// and stores the interface language the programs show their texts in.

#include "Cli.h"
#include "LanguageSetting.h"

#include "i18n/TuiLanguage.h"
#include "platform/storage/ProgramFolder.h"

#include <QFileInfo>

#include <limits>

namespace k4812::cli {

namespace {

// The languages of the language file; nothing (with a message) when there is
// no file or it is damaged.
bool loadLanguages(Context& context, TuiLanguage& language)
{
    const QString file = programFile(QStringLiteral("ui.local"));
    if (!language.loadError().isEmpty()) {
        context.fail(language.loadError());
        return false;
    }
    if (!QFileInfo::exists(file)) {
        context.fail(QStringLiteral("no language file \"%1\"; every text shows in English").arg(file));
        return false;
    }
    return true;
}

int listLanguages(Context& context, const TuiLanguage& language, LanguageSetting& setting)
{
    QString error;
    const std::optional<int> stored = setting.currentLanguage(error);
    if (!stored)
        context.err() << "k4812ctl: warning: " << error << '\n';
    for (int i = 0; i < language.languageCount(); ++i)
        context.out() << (stored == i ? "* " : "  ")
                      << QStringLiteral("%1  %2  %3\n")
                             .arg(i)
                             .arg(language.GetLanguageShortIDByIndex(i), language.languageDisplayName(i));
    if (stored && (*stored < 0 || *stored >= language.languageCount()))
        context.err() << "k4812ctl: warning: the stored language " << *stored
                      << " is not in the language file; texts show in English\n";
    return kExitOk;
}

int setLanguage(Context& context, const TuiLanguage& language, LanguageSetting& setting, const QString& choice)
{
    // A short ID of the file ("0804") wins over reading the text as an index.
    int index = language.GetLanguageIndexByShortID(choice);
    if (index < 0) {
        const std::optional<unsigned> number = parseNumber(choice, unsigned(std::numeric_limits<int>::max()));
        if (!number || int(*number) >= language.languageCount()) {
            return context.fail(
                QStringLiteral("\"%1\" is neither a short ID nor an index (0 to %2) of the language file")
                    .arg(choice)
                    .arg(language.languageCount() - 1));
        }
        index = int(*number);
    }
    // The window writes its own copy of the record that holds the language
    // back when it saves.
    if (context.windowIsOpen())
        return kExitFailure;
    QString error;
    if (!setting.setCurrentLanguage(index, error))
        return context.fail(error);
    context.out() << QStringLiteral("Language set to %1 (%2, %3)\n")
                         .arg(index)
                         .arg(language.GetLanguageShortIDByIndex(index), language.languageDisplayName(index));
    return kExitOk;
}

int runLanguage(Context& context, const QStringList& args)
{
    const bool list = args.isEmpty();
    const bool set = args.size() == 2 && args[0] == QLatin1String("set");
    if (!list && !set)
        return context.usageError(QStringLiteral("language takes no arguments, or \"set\" and a language"));
    TuiLanguage language;
    if (!loadLanguages(context, language))
        return kExitFailure;
    const std::unique_ptr<LanguageSetting> setting = openLanguageSetting();
    return list ? listLanguages(context, language, *setting) : setLanguage(context, language, *setting, args[1]);
}

const VerbRegistration registration({
    "language",
    "k4812ctl language [set INDEX|SHORTID]\n"
    "\n"
    "Without arguments, lists the languages of the language file ui.local, one\n"
    "per line as INDEX, SHORTID and the language's own name; \"*\" marks the\n"
    "stored interface language. With \"set\", stores the language given by its\n"
    "index or short ID (such as 0804); the windows and k4812ctl translate use it.",
    "list the interface languages or choose one",
    runLanguage,
});

} // namespace

} // namespace k4812::cli
