#pragma once
// Replacing a file's contents so that a crash never leaves a half-written
// file in its place: the bytes go to a temporary file in the same folder,
// are flushed to disk, and the temporary file is renamed over the target.

#include <QByteArrayView>
#include <QString>

namespace k4812 {

// Writes `bytes` as the file `path`. An existing regular file keeps its
// permission bits; a read-only one is refused, as is a folder of that name.
// A symbolic link at `path` is replaced by the file, never followed, so
// nothing is written outside the target's folder. On failure returns false
// with a message naming the file, and the old file (if any) is untouched.
bool writeFileAtomically(const QString& path, QByteArrayView bytes, QString& error);

// Creates `path` as a folder, one level only (its parent must exist). True
// when it exists as a folder afterwards; otherwise false with a message.
bool makeFolderOneLevel(const QString& path, QString& error);

} // namespace k4812
