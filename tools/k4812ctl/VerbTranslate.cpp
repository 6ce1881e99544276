// k4812ctl translate TEXT: a text as the programs show it in the stored
// interface language.

#include "Cli.h"
#include "LanguageSetting.h"
#include "StoredLanguage.h"

#include "i18n/Translation.h"

namespace k4812::cli {

namespace {

int runTranslate(Context& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("translate takes one text"));
    const std::unique_ptr<LanguageSetting> setting = openLanguageSetting();
    const StoredLanguage stored(*setting);
    if (!stored.problem().isEmpty())
        context.err() << "k4812ctl: warning: " << stored.problem() << '\n';
    context.out() << translate(args.first()) << '\n';
    return kExitOk;
}

const VerbRegistration registration({
    "translate",
    "k4812ctl translate TEXT\n"
    "\n"
    "Prints TEXT as the programs show it in the stored interface language\n"
    "(see k4812ctl language): its translation from ui.local, or TEXT itself\n"
    "when the language has none. The lookup is exact and case-sensitive.",
    "print a text in the interface language",
    runTranslate,
});

} // namespace

} // namespace k4812::cli
