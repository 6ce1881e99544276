#pragma once
// The folder that holds a profile's macro files.

#include <QString>

namespace k4812 {

// Creates `path` as a folder, one level only (its parent must exist). True
// when it exists as a folder afterwards; otherwise false with a message.
bool makeFolderOneLevel(const QString& path, QString& error);

} // namespace k4812
