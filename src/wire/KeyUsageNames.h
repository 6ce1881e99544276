#pragma once
// Names of HID usages as the mouse receives them: the key table read
// backwards, so that what was sent can be shown by the key names a user
// picked.
//
// A keyboard usage can belong to more than one key of the table (usage 97 is
// both the non-extended PAGE UP and NUMPAD 9: the mouse sends one usage and
// the computer's Num Lock decides). Its name then lists every such key,
// joined by " or ", in virtual-key order.

#include <QString>

namespace k4812 {

// The name of keyboard usage `usage`, looked up among the keys of the table
// that `extendedFlag` selects (0 or 224: not extended; anything else:
// extended), then among the others. Consumer-page keys (browser, volume,
// media, launch) never match: their usages are a different page. Empty for
// usage 0 and for a usage no key has.
QString KeyNameOfHidUsage(int usage, int extendedFlag);

// The name of a consumer-page usage (the media keys: "VOLUME_UP" for 0xE9);
// empty when no key of the table has it.
QString MediaKeyNameOfUsage(int usage);

} // namespace k4812
