#include "macros/MacroBounds.h"

#include "macros/MacroName.h"

namespace k4812 {

bool isMacroInModel(const TMACROKEYINFO& macro, QString& error)
{
    const std::int32_t count = macro.MacroListCount;
    if (count >= 0 && count <= kMacroActionCapacity)
        return true;
    error = QStringLiteral("macro \"%1\" claims %2 actions; a macro holds 0 to %3")
                .arg(macroNameOf(macro))
                .arg(count)
                .arg(kMacroActionCapacity);
    return false;
}

bool isMacroListInModel(const TMACROKEYINFOLIST& list, QString& error)
{
    const int count = list.nMacroInfoCount;
    if (count > kMacroListCapacity) {
        error = QStringLiteral("the macro list claims %1 macros; a list holds at most %2")
                    .arg(count)
                    .arg(kMacroListCapacity);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!isMacroInModel(list.MacroInfos[i], error))
            return false;
    }
    return true;
}

} // namespace k4812
