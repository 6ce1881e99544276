#pragma once
// Reading a profile file (*.pfd, one raw TMOUSEPROFILEINFO) for the verbs
// that take one.

#include "Cli.h"

#include "records/Records.h"

#include <memory>

namespace k4812::cli {

// The file's bytes in a zero-filled record. A shorter file leaves the rest
// zero, a longer one is cut, and a version other than 259 is kept; each is a
// warning on err(). Null, after a message, when the file cannot be read.
std::unique_ptr<TMOUSEPROFILEINFO> readProfileFile(Context& context, const QString& path);

// `text` with its control characters (C0, DEL and C1) shown as \xNN, so
// that a stored name cannot drive the terminal it is printed on.
QString printable(const QString& text);

// Prints "k4812ctl: warning: TEXT" on err().
void warn(Context& context, const QString& text);

} // namespace k4812::cli
