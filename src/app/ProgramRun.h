#pragma once
// The process around the main window: the single-instance lock (a second
// copy ends at once, silently, with status 0), the profile manager, the
// device link of --device, the window's start-up, and the event loop. With
// --screenshot it renders the filled window into a PNG instead of showing it.
//
// Exit statuses: 0 when the window was closed (or a second copy ended, or the
// screenshot was written); 1 when the mouse is absent at start, the profiles
// cannot be opened or the screenshot cannot be written; 2 for a wrong
// command line.

#include <QStringList>

namespace k4812 {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs the program with the arguments after its name; a QApplication exists.
int runProgram(const QStringList& args);

} // namespace k4812
