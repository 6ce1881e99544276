#pragma once
// The bash completion of k4812ctl, written from the verb table so that it
// cannot fall behind the verbs: the global options, the verb names, each
// verb's sub-words and options as its usage lines show them.

#include "Cli.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace k4812::cli {

struct VerbWords {
    QStringList subWords;  // the words that may follow the verb ("show", "set", ...)
    QStringList options;   // its options, "--json" or "--last-profile=" (value follows)
};

// What a verb's usage lines offer after the verb's name. A usage line is one
// that starts with "k4812ctl"; placeholders (upper case) are not words.
VerbWords verbWordsFromUsage(const QString& verbName, const QString& usage);

// The completion script for every listed verb (verbs without a summary are
// left out).
QString bashCompletionScript(const std::vector<Verb>& verbs);

} // namespace k4812::cli
