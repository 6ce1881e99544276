#pragma once
// k4812ctl macro import FILE.macro: a macro file into the current profile's
// macro list (part of the "macro" verb).

#include "Cli.h"

namespace k4812::cli {

int runMacroImport(Context& context, const QStringList& args);

} // namespace k4812::cli
