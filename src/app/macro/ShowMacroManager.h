#pragma once
// The macro manager's entry point: edits a copy of the current profile's
// macro list. `currentMacro` is the macro to select when it opens (-1 for
// none) and, on return, the macro selected when it closed. `macroPath` is the
// profile's macro folder, where OK writes every macro's file.
// Returns 1 for OK (the edited list is in `list`), 2 for Cancel or close;
// `list` changes only with 1.

#include "app/macro/MacroManagerEnvironment.h"
#include "records/Records.h"

#include <QString>

class QWidget;

namespace k4812 {

int ShowMacroManager(TMACROKEYINFOLIST& list, int& currentMacro, const QString& macroPath,
                     QWidget* parent = nullptr);

// The same with the keyboard capture and the dialogs replaced where
// `environment` sets them.
int ShowMacroManager(TMACROKEYINFOLIST& list, int& currentMacro, const QString& macroPath, QWidget* parent,
                     MacroManagerEnvironment environment);

} // namespace k4812
