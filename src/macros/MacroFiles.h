#pragma once
// Macro files: one raw 892-byte TMACROKEYINFO per file, named after the
// macro, in the profile's macro folder ("<folder>/<name>.macro").
//
// A name is used as the file name as it is, nothing replaced or escaped; a
// name that would leave the folder or that no Linux file name can hold is
// refused. ("", "." and ".." are usable: with ".macro" appended they are
// ordinary file names.) Files are replaced whole (temporary file, flush,
// rename; a linked file keeps its link), and the writers never delete a file.

#include "records/Records.h"

#include <QString>

#include <cstdint>

namespace k4812 {

constexpr std::uint32_t kMacroFileVersion = 259;
constexpr qsizetype kMacroFileSize = qsizetype(sizeof(TMACROKEYINFO));
inline constexpr char kMacroFileExtension[] = ".macro";

// The folder text, a "/" unless it already ends in one, the name and ".macro".
QString macroFilePath(const QString& folder, const QString& name);

// Whether `name` can name a file inside the macro folder: without "/" or
// NUL, no half of a UTF-16 surrogate pair on its own (which has no UTF-8
// form, so two names would share a file), and short enough that the file
// name (UTF-8, with ".macro") fits the file system's limit (that of `folder`
// when it exists, else 255 bytes). Otherwise false with a message. The places
// where a name is entered check it, so a list rarely holds an unusable one.
bool isUsableMacroFileName(const QString& name, QString& error, const QString& folder = QString());

// Writes macros 0 .. nMacroInfoCount - 1 of the list, in order, each as its
// file in `folder`, replacing a file of that name. The folder is created
// (one level) when missing; a list of no macros creates nothing. The list's
// counts are checked before anything is written. A macro whose name cannot
// name a file is left out and the others are written; the result is then
// false and `error` names every macro left out (they stay in the list). A
// write that fails stops the operation with a message naming the file, and
// files written before it stay as written.
bool saveMacroListToFiles(const TMACROKEYINFOLIST& list, const QString& folder, QString& error);

// What to do when the first file of a new macro finds a file of its name.
enum class ExistingMacroFile {
    Replace,
    Keep,   // leave it: it may hold a macro of that name that is still in use
};

// Writes the first file of a new macro: a zero-filled record holding the
// name cut to 50 units (cutMacroName) and Version 259. The folder is created
// (one level) when missing.
bool writeNewMacroFile(const QString& folder, const QString& enteredName, ExistingMacroFile existing,
                       QString& error);

// Whether a record read from a macro file is one (Version 259).
bool IsValidMacroVersion(const TMACROKEYINFO& macro);

enum class MacroFileRead {
    Read,
    Missing,   // no such file
    Invalid,   // too short, wrong version, or a count outside the data model
};

// Reads the first 892 bytes of the file into `macro` when they are a valid
// macro record; on any other outcome `macro` is left unchanged (and `error`
// says why, for Missing and Invalid).
MacroFileRead readMacroFile(const QString& path, TMACROKEYINFO& macro, QString& error);

} // namespace k4812
