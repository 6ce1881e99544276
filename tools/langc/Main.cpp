// k4812-langc: compiles the language file "ui.local" from its text sources.
//
//   k4812-langc OUTPUT SOURCE-LIST LANGUAGE-FILE...
//
// The languages take the order of the command line, which is their index in
// the program's settings. Nothing is written when a source is wrong.

#include "i18n/LanguageFileWriter.h"
#include "i18n/LanguageSources.h"

#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "Usage: k4812-langc OUTPUT SOURCE-LIST [LANGUAGE-FILE...]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString sourceList = QString::fromLocal8Bit(argv[2]);
    QStringList languages;
    for (int i = 3; i < argc; ++i)
        languages.append(QString::fromLocal8Bit(argv[i]));

    QString error;
    const std::optional<k4812::LanguageFile> file = k4812::compileLanguageSources(sourceList, languages, error);
    if (!file || !k4812::saveLanguageFile(*file, output, error)) {
        std::fprintf(stderr, "k4812-langc: %s\n", qUtf8Printable(error));
        return 1;
    }
    return 0;
}
