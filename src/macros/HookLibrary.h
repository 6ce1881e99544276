#pragma once
// Loading the hook library (libuiHook.so) from the program folder.

#include "macros/HookLibraryApi.h"

#include <QString>

#include <functional>

namespace k4812 {

struct HookEntryPoints {
    K4812EnableKeyboardHook EnableKeyboardHook = nullptr;
    K4812DisableKeyboardHook DisableKeyboardHook = nullptr;
    K4812EnableMouseHook EnableMouseHook = nullptr;
    K4812DisableMouseHook DisableMouseHook = nullptr;
    K4812GetHookKeyState GetHookKeyState = nullptr;   // optional
};

struct HookLibraryLoad {
    enum class Status {
        Loaded,            // the file and all four functions were found
        CannotLoad,        // the file is missing or is no loadable library
        FunctionMissing,   // the library lacks one of the four functions; it was unloaded again
    };
    Status status = Status::CannotLoad;
    HookEntryPoints entryPoints;   // all set when Loaded
    QString fileName;              // the library's file name, for the message
    QString detail;                // the loader's own error text, for diagnostics
    std::function<void()> unload;  // set when Loaded
};

// Loads `fileName` from `folder` by its full path, so no library of that name
// elsewhere on the system is picked up. An empty `folder` is the program
// folder (programFolder(), K4812_PROGRAM_DIR included): the one place every
// recording window loads the library from.
HookLibraryLoad loadHookLibrary(const QString& folder = {}, const QString& fileName = QLatin1String(kHookLibraryFileName));

// Loads the library once more on a worker of the global thread pool and keeps
// that load for the process's life, so that a recording window's own load
// and unload find it in memory: otherwise every first opening of the macro
// manager or a key dialog maps a 1 MB file on the window's thread, and a file
// no longer in memory waits there behind a busy disk. Only the first call
// loads; a library that cannot be loaded is left to the windows' own load,
// which reports it.
void loadHookLibraryAhead(const QString& folder = {}, const QString& fileName = QLatin1String(kHookLibraryFileName));

} // namespace k4812
