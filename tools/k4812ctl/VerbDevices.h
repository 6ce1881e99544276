#pragma once
// k4812ctl devices: every HID collection the device back end sees, with the
// mouse's configuration interface marked.

#include "wire/HidData.h"
#include "wire/MouseAccessDiagnosis.h"

#include <QTextStream>

namespace k4812::cli {

// Lists the collections of `hid`'s back end on `out`, marking those the
// device link would use (include list, usage page and usage), and opens only
// those. kExitOk when one of them opens (the mouse is present), else
// kExitFailure; why one cannot be opened, and then why the mouse cannot be
// used (explainMissingMouse, the udev rule looked for in `ruleFolders`), goes
// to `err`.
int listHidDevices(TuiHIDData& hid, QTextStream& out, QTextStream& err,
                   const QStringList& ruleFolders = udevRuleFolders());

} // namespace k4812::cli
