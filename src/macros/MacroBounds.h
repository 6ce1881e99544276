#pragma once
// Whether stored macro records lie inside the data model: a list holds at
// most 21 macros and a macro 0 to 128 actions. A record outside it (from a
// damaged file, say) is refused before anything is read past its arrays.

#include "records/Records.h"

#include <QString>

namespace k4812 {

// True when MacroListCount is 0..128; otherwise false with a message.
bool isMacroInModel(const TMACROKEYINFO& macro, QString& error);

// True when nMacroInfoCount is 0..21 and every macro in use is in the model;
// otherwise false with a message naming the first fault.
bool isMacroListInModel(const TMACROKEYINFOLIST& list, QString& error);

} // namespace k4812
