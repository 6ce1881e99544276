#pragma once
// Checks of stored records before they are trusted. A stored record comes
// from a file or the registry that other programs (or a damaged disk) may
// have changed; these say why one cannot be used.

#include "records/Records.h"

#include <QByteArrayView>
#include <QString>

namespace k4812 {

// Why the profile-group record cannot be used, or an empty text: the active
// mode must be 0 or 1, each bound profile 0 to 4, and each storage entry
// must have SaveToFile 0 or 1 and a usable file name (profileFileNameProblem);
// an entry kept in its file needs an absolute folder, any other entry an
// absolute or empty one, and every entry an absolute macro folder.
QString profileSettingGroupProblem(const TProfileSettingGroup& group);

// Why `name` cannot be a profile's file name (and registry value name), or
// an empty text: it must be 1 to 20 characters, without '/', and not "." or "..".
QString profileFileNameProblem(const QString& name);

// Why the bytes of a file cannot be taken as a profile, or an empty text:
// they must hold at least one whole profile record and start with version
// 259. Longer files are accepted; their extra bytes are kept.
QString profileFileProblem(QByteArrayView bytes);

// Why a profile record cannot be used, or an empty text: the first field
// that holds a value the window never stores, named with its place in the
// record. Checked are what reaches the mouse and what the window's controls
// index with: the functions of buttons 1 to 7 (class, device code and menu
// row agree as in the button table, keys the mouse can send, fire count and
// delay 1 to 255, macros of the profile's list, at most five of them),
// ButtonCount 0 to 15, CPILevel 1 to 4, the active level 0 to 3, levels in use
// 100 to 3500 CPI, levels 5 to 10 unused, the report rate (125, 250, 500 or
// 1000 Hz), the light (on/off 0 or 1, brightness and breathing 0 to 3, wheel
// value 0 to 127), the fire defaults 0 to 255 and the macro list (at most 21
// macros of at most 128 actions). Reserved fields, stale parameters of other
// function classes and the wheel entries (never sent) are not looked at.
QString profileRecordProblem(const TMOUSEPROFILEINFO& profile);

// The light part of profileRecordProblem: WheelLedOnOff, HWVWheelValue,
// brightness and breathing speed.
QString lightProblem(const TMOUSECONFIGINFO& config);

// profileFileProblem, then profileRecordProblem of the record the bytes hold.
QString profileBytesProblem(QByteArrayView bytes);

} // namespace k4812
