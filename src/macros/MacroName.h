#pragma once
// A macro's name inside its record: up to 50 UTF-16 units, NUL-terminated
// only when shorter. (Other text arrays of the records keep room for a NUL;
// this one does not, so it has its own helpers.)

#include "records/Records.h"

#include <QString>
#include <QStringView>

namespace k4812 {

// The name as stored: at most 50 units, up to the first NUL.
QString macroNameOf(const TMACROKEYINFO& macro);

// The first 50 UTF-16 units of `name`, one fewer when the 50th unit would
// be the first half of a surrogate pair.
QString cutMacroName(QStringView name);

// Stores cutMacroName(name) in szMacroName and zeroes the units after it.
// Returns whether the whole name fitted.
bool setMacroName(TMACROKEYINFO& macro, QStringView name);

} // namespace k4812
