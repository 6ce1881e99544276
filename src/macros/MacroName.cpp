#include "macros/MacroName.h"

#include <cstring>

namespace k4812 {

QString macroNameOf(const TMACROKEYINFO& macro)
{
    return macro.szMacroName.toString();
}

QString cutMacroName(QStringView name)
{
    qsizetype n = name.size();
    if (n > kMacroNameUnits) {
        n = kMacroNameUnits;
        if (name[n - 1].isHighSurrogate())
            --n;
    }
    return name.first(n).toString();
}

bool setMacroName(TMACROKEYINFO& macro, QStringView name)
{
    const QString cut = cutMacroName(name);
    std::uint8_t* bytes = macro.szMacroName.bytes;
    std::memset(bytes, 0, sizeof macro.szMacroName.bytes);
    for (qsizetype i = 0; i < cut.size(); ++i) {
        const char16_t unit = cut[i].unicode();
        bytes[2 * i] = std::uint8_t(unit & 0xFF);
        bytes[2 * i + 1] = std::uint8_t(unit >> 8);
    }
    return cut.size() == name.size();
}

} // namespace k4812
