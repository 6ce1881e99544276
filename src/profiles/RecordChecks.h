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

} // namespace k4812
