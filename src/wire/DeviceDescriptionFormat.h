#pragma once
// A DeviceDescription for people (text) and for programs (JSON).

#include "wire/DeviceDescription.h"

#include <QJsonObject>
#include <QString>

namespace k4812 {

// Several lines: the shared bytes, then per bank its buttons, CPI levels,
// light and macros. Key and macro names are shown as the key table spells
// them; control characters cannot occur (names come from the table).
QString DeviceDescriptionText(const DeviceDescription& description);

// The same as one JSON object: {"shared": {...}, "banks": [{...}, {...}]}.
QJsonObject DeviceDescriptionJson(const DeviceDescription& description);

} // namespace k4812
