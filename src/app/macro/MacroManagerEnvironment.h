#pragma once
// What the macro manager asks of the rest of the program: the keyboard
// capture, the message dialog and the create-macro dialog. Tests replace
// them to feed key events and answer the dialogs; empty members take the
// program's own.

#include "macros/TuiHook.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace k4812 {

struct MacroManagerEnvironment {
    TuiHook::Environment hook;
    // Title, text and second line, translated; 1 for OK, 2 for Cancel.
    std::function<int(const QString& title, const QString& text, const QString& secondLine)> message;
    // The create-macro dialog: macro folder, the accepted name (out), the
    // names already listed. 1 for OK.
    std::function<int(const QString& macroPath, QString& name, const QStringList& namesInList)> createMacro;
};

} // namespace k4812
