#pragma once
// "Save to file" of the PRESET menu, after its file dialog: a check that the
// chosen folder takes new files, then the current profile's bytes, exactly as
// they are, become the chosen file. The current profile stays bound to its
// own file.
//
// The check makes a test folder and removes it again. Its name is new each
// time and chosen so that no entry of the folder has it, so a folder left
// behind by an earlier run (or any entry named like it) never makes a
// writable folder look read-only.

#include <QString>

namespace k4812 {

class TDM;

// The message shown when the chosen folder does not take new files.
inline constexpr const char* kNoPermissionToSaveText = "No permission to save file!please change directory!";

// True when a test folder could be made in `folder` (and was removed again);
// false when `folder` is missing or takes no new entry. Throws StorageError
// when the test folder was made but cannot be removed.
bool FolderTakesNewFiles(const QString& folder);

enum class ProfileExportResult {
    Saved,
    NoPermission, // nothing was written; show kNoPermissionToSaveText
};

// Checks the folder of `file` (a path without a file name counts as not
// writable: nothing can be saved there), then writes the current profile's store to
// `file`, replacing an existing file. Throws StorageError when the write
// fails (the old file, if any, is kept).
ProfileExportResult ExportCurrentProfile(TDM& dm, const QString& file);

} // namespace k4812
