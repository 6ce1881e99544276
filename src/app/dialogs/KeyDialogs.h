#pragma once
// The entry points of the key dialogs. Each makes its dialog for one modal
// use, hands it the value, shows it, copies the value back whatever the
// result, and returns the result: 1 for OK, 2 for Cancel. Callers use the
// value only after OK.
//
// `hook` replaces the keyboard capture's environment (the hook library, its
// error message, the modifier state); tests use it to feed key events.

#include "macros/TuiHook.h"
#include "records/Records.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace k4812 {

// "Edit Single Key...": the key of the last key event recorded, or the input.
int ShowSingleKeyDialog(TSINGLEKEYINFO& key, QWidget* parent = nullptr, TuiHook::Environment hook = {});
// "Edit Combo Key...": the last combination recorded, or the input.
int ShowComboKeyDialog(TCOMBOKEYINFO& combo, QWidget* parent = nullptr, TuiHook::Environment hook = {});
// "Fire Settings": on OK the fire count and delay entered.
int ShowFireDialog(TFIREKEYINFO& fire, QWidget* parent = nullptr);
// "Create macro": on OK the name entered (cut to 50 characters; may be
// empty) in `macroName`, and the new macro's first file in `macroPath`.
// `namesInList` are the names of the macros the caller already has: such a
// name writes no file.
int ShowCreateMacroDialog(const QString& macroPath, QString& macroName, const QStringList& namesInList = {},
                          QWidget* parent = nullptr);

} // namespace k4812
