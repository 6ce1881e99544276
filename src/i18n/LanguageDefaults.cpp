#include "i18n/LanguageDefaults.h"

#include "i18n/WindowsLanguageId.h"

namespace k4812 {

int defaultLanguageIndexOf(const QString& langId)
{
    if (langId.compare(QLatin1String("0804"), Qt::CaseInsensitive) == 0)
        return 1;
    if (langId.compare(QLatin1String("0404"), Qt::CaseInsensitive) == 0)
        return 2;
    return 0;
}

int systemDefaultLanguageIndex()
{
    return defaultLanguageIndexOf(systemWindowsLanguageId());
}

} // namespace k4812
