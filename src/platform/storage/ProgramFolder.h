#pragma once
// Where the program's own files live (config.ini, ui.local, presets, ...):
// the folder of the running executable, in the build tree and when installed.

#include <QString>

namespace k4812 {

// The name under which the user's configuration and data folders are made.
inline constexpr const char* kApplicationName = "k4812";

// The folder of the running executable. K4812_PROGRAM_DIR overrides it, so
// that tests can point the programs at a folder of their own.
QString programFolder();

// programFolder() + "/" + name.
QString programFile(const QString& name);

} // namespace k4812
