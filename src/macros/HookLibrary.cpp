#include "macros/HookLibrary.h"

#include "platform/storage/ProgramFolder.h"

#include <QFile>
#include <QLibrary>
#include <QThreadPool>

#include <dlfcn.h>

#include <memory>
#include <mutex>

namespace k4812 {

namespace {

// The full path the library is loaded by; an empty folder is the program folder.
QString hookLibraryPath(const QString& folder, const QString& fileName)
{
    return (folder.isEmpty() ? programFolder() : folder) + QLatin1Char('/') + fileName;
}

} // namespace

HookLibraryLoad loadHookLibrary(const QString& folder, const QString& fileName)
{
    HookLibraryLoad result;
    result.fileName = fileName;

    auto library = std::make_shared<QLibrary>(hookLibraryPath(folder, fileName));
    if (!library->load()) {
        result.detail = library->errorString();
        return result;
    }
    HookEntryPoints& f = result.entryPoints;
    f.EnableKeyboardHook = reinterpret_cast<K4812EnableKeyboardHook>(library->resolve("EnableKeyboardHook"));
    f.DisableKeyboardHook = reinterpret_cast<K4812DisableKeyboardHook>(library->resolve("DisableKeyboardHook"));
    f.EnableMouseHook = reinterpret_cast<K4812EnableMouseHook>(library->resolve("EnableMouseHook"));
    f.DisableMouseHook = reinterpret_cast<K4812DisableMouseHook>(library->resolve("DisableMouseHook"));
    f.GetHookKeyState = reinterpret_cast<K4812GetHookKeyState>(library->resolve("GetHookKeyState"));
    if (!f.EnableKeyboardHook || !f.DisableKeyboardHook || !f.EnableMouseHook || !f.DisableMouseHook) {
        library->unload();
        result.entryPoints = {};
        result.status = HookLibraryLoad::Status::FunctionMissing;
        return result;
    }
    result.status = HookLibraryLoad::Status::Loaded;
    result.unload = [library] { library->unload(); };
    return result;
}

void loadHookLibraryAhead(const QString& folder, const QString& fileName)
{
    static std::once_flag started;
    std::call_once(started, [&] {
        QThreadPool::globalInstance()->start([path = QFile::encodeName(hookLibraryPath(folder, fileName))] {
            // Never closed: the loader counts this handle beside the
            // windows' own loads, so their unloads leave the library mapped.
            dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
        });
    });
}

} // namespace k4812
