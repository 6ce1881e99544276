#pragma once
// Why the mouse cannot be used: the second line of the "No Device Found!"
// dialog and of `k4812ctl devices`.
//
// It tells apart a machine with no mouse attached, a mouse whose
// configuration interface this user may not open (and whether the project's
// udev rule, which grants that access, is installed), and other open errors.

#include "wire/HidData.h"

#include <QString>
#include <QStringList>

namespace k4812 {

// The udev rule that grants access to the mouse's configuration interface.
inline constexpr const char* kUdevRuleName = "70-k4812.rules";

// The folders udev reads rules from, in the order udev lets one override
// another: /etc, /run, /usr/lib.
QStringList udevRuleFolders();

// Whether the rule is in effect in `folders` (first one wins, as in udev): a
// file of that name that is neither empty nor a link to /dev/null, which is
// how an administrator masks a packaged rule.
bool isUdevRuleInstalled(const QStringList& folders);

// Empty when the mouse's configuration interface (usage page 0xFFA0, usage 1,
// passing the include list) is present and opens; otherwise one or two short
// translated sentences saying why not. It opens only the mouse's interface.
QString explainMissingMouse(TuiHIDData& hid);
// The same with the udev rule looked for in `ruleFolders` (for tests).
QString explainMissingMouse(TuiHIDData& hid, const QStringList& ruleFolders);

} // namespace k4812
