#pragma once
// The command line of k4812-config:
//   --device=hidraw|emulator[:STATEFILE]   the device, as for k4812ctl
//   --trace=FILE                           append every feature report to FILE
//   --screenshot FILE (or =FILE)           render the filled window into a PNG and exit
//   --help
// Qt's own options (-platform, -style, ...) are taken by QApplication first.

#include <QString>
#include <QStringList>

#include <optional>

namespace k4812 {

struct ProgramOptions {
    QString device;
    QString trace;
    QString screenshot;
    bool help = false;
};

// Parses the arguments after the program name; nothing, with the reason in
// `error`, for an unknown option, a missing value or a stray argument.
std::optional<ProgramOptions> parseProgramOptions(const QStringList& args, QString& error);

// Whether main()'s raw arguments (Qt's own options not yet taken out) ask
// for a screenshot, for what must be decided before the toolkit starts.
bool argumentsAskForAScreenshot(int argc, const char* const* argv);

// The usage text that --help prints.
QString programUsage();

} // namespace k4812
