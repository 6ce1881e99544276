#pragma once
// Replacing a whole file so that it is either the old file or the new one,
// never a mixture: the bytes go to a temporary file in the same folder, are
// flushed to the disk, and the temporary file is then renamed over the
// target. A crash or a full disk before the rename leaves the old file as it
// was; a failed write removes the temporary file and reports why.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

namespace k4812 {

// Writes `bytes` as the whole content of `path`, creating or replacing it.
// An existing file keeps its permissions; a read-only one is refused. When
// `path` is a symbolic link, the file it names is replaced in its own folder
// and the link stays, unless the link lies in a sticky, world-writable folder
// and belongs neither to the user nor to the folder's owner (refused, as the
// kernel refuses to follow it). The folder must exist and take new files (the
// temporary file); a folder that does not is named in the error, even when
// the file itself is writable. Throws StorageError when the file cannot be
// written; the old file is then intact.
void writeFileAtomically(const QString& path, QByteArrayView bytes);

// As writeFileAtomically, except that a regular file that already holds
// exactly `bytes` is left as it is: nothing is written, synced or renamed.
// What lies on the disk is taken as synced, since every write of this program
// syncs. A folder or a read-only file in its place is refused all the same.
// Returns whether the file was written.
bool writeFileAtomicallyIfChanged(const QString& path, QByteArrayView bytes);

// The start of the temporary file's name of a write to `fileName`: ".",
// the name (cut at a whole character so that the temporary name stays within
// NAME_MAX bytes) and "."; a random part and ".tmp" follow.
QString temporaryNamePrefix(const QString& fileName);

// A save killed between creating its temporary file and the rename leaves
// the temporary file behind. Removes, in `folder`, the regular files named as
// the temporary files of writes to one of `fileNames` or to any name ending
// in `suffix` (when not empty), last changed more than
// kStaleTemporaryAgeSeconds ago (a younger one may belong to a save under
// way in another program). Returns the names removed.
constexpr int kStaleTemporaryAgeSeconds = 600;
QStringList removeStaleTemporaryFiles(const QString& folder, const QStringList& fileNames,
                                      const QString& suffix = QString());

// Renames a file that cannot be used to "<path>.damaged-<date>-<time>" (with
// a number added when that exists), so that replacing it loses nothing.
// Returns the new path, or an empty text when the rename failed.
QString moveFileAside(const QString& path);

// Test seam: the stages of a write at which a fault can be injected.
enum class AtomicWriteStage {
    Create,  // the temporary file is about to be created (its path is not known yet: the folder is given)
    Write,   // the bytes are about to be written to the temporary file
    Sync,    // the bytes are written, the flush to disk comes next
    Rename,  // the temporary file is complete, the rename comes next
};

// Called at each stage with the temporary file's path (Create: the folder); a non-zero errno
// makes that stage fail as if the system had returned it. A probe may also
// end the process there, to show what a crash leaves behind. Empty by
// default; tests set it and clear it again.
using AtomicWriteProbe = std::function<int(AtomicWriteStage stage, const QString& temporaryPath)>;
void setAtomicWriteProbe(AtomicWriteProbe probe);

} // namespace k4812
