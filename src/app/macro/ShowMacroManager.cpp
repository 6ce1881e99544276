#include "app/macro/ShowMacroManager.h"

namespace k4812 {

// Stand-in until the macro manager window exists: it leaves like Cancel, so
// the caller changes nothing.
int ShowMacroManager(TMACROKEYINFOLIST& list, int& currentMacro, const QString& macroPath, QWidget* parent)
{
    (void)list;
    (void)currentMacro;
    (void)macroPath;
    (void)parent;
    return 2;
}

} // namespace k4812
