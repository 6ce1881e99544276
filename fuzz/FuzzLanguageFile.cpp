// libFuzzer target: the language file reader on arbitrary bytes. A file that
// reads must write back and read again to the same contents.

#include "i18n/LanguageFileReader.h"
#include "i18n/LanguageFileWriter.h"
#include "i18n/TranslationList.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace k4812;
    QString error;
    const std::optional<LanguageFile> file =
        readLanguageFile(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), error);
    if (!file)
        return 0;

    for (const LanguageResource& resource : file->resources) {
        const TranslationList list(resource.lines);
        for (const QString& line : resource.lines) {
            const QString source = line.section(QLatin1Char('='), 0, 0);
            (void)list.revert(list.translate(source));
        }
    }

    const std::optional<QByteArray> bytes = writeLanguageFile(*file, error);
    if (!bytes)
        return 0; // an empty or broken short ID: the writer refuses it
    const std::optional<LanguageFile> again = readLanguageFile(*bytes, error);
    if (!again || again->original != file->original || again->resources.size() != file->resources.size())
        std::abort();
    for (qsizetype i = 0; i < file->resources.size(); ++i) {
        if (again->resources[i].shortId != file->resources[i].shortId
            || again->resources[i].lines != file->resources[i].lines)
            std::abort();
    }
    return 0;
}
