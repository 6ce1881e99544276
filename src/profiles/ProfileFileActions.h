#pragma once
// The profile files of the "PRESET" menu: the three preset profiles beside
// the program, "Load from file" and "Save to file". Each loads into or saves
// from the current profile through the profile manager and stores the
// result as the window does; the dialogs that choose the files are the
// caller's.
//
// A file is taken only when it is a profile of this program (version 259,
// at least one whole record; longer files are kept whole) whose fields hold
// only values the program stores (profileRecordProblem names the first that
// does not). Failures of the file or registry layer are thrown as
// StorageError; a load that fails so is undone whole (TDM::changeAsOneStep):
// nothing in memory or storage changed.

#include "profiles/ProfileManager.h"

#include <QString>

namespace k4812 {

constexpr int kPresetProfileCount = 3;

// The file dialogs' filter and the suffix a name without one is given.
inline constexpr const char* kProfileFileSuffix = "pfd";

// "PresetProfile<n>.pfd" in `programFolder` (n = 1 to 3).
QString PresetProfileFile(const QString& programFolder, int n);

// `file` with ".pfd" appended when its name has no suffix of its own, as the
// save dialog's default suffix does.
QString WithProfileFileSuffix(const QString& file);

enum class ProfileFileStatus {
    Done,
    Missing,             // no such file
    NotAProfile,         // wrong version, too short or a damaged field; problem says which
    NameNotStorable,     // the profile cannot be bound to a file of that name or folder
    FolderNotWritable,   // no new file can be made in the chosen folder
};

struct ProfileFileResult {
    ProfileFileStatus status = ProfileFileStatus::Done;
    QString problem;     // a sentence for the user (English, untranslated detail)

    bool done() const { return status == ProfileFileStatus::Done; }
};

// Loads a preset file into the current profile, which keeps its own file and
// registry value; the profile and the group record are stored in the
// registry.
ProfileFileResult LoadPresetProfile(TDM& dm, const QString& file);

// "Load from file": the current profile is bound to `file` from now on (its
// registry value takes the file's name; the old value stays), takes the
// file's bytes and is stored in the registry with the group record.
ProfileFileResult ImportProfileFile(TDM& dm, const QString& file);

// "Save to file": the current profile's stored bytes, exactly as they are,
// become `file` (replaced when it exists). The profile stays bound to its
// own file. Refused when the folder takes no new files (ExportCurrentProfile).
ProfileFileResult ExportProfileFile(TDM& dm, const QString& file);

} // namespace k4812
