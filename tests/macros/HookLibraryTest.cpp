#include "macros/HookLibrary.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>

#include <dlfcn.h>

namespace k4812 {
namespace {

TEST(HookLibrary, MissingFileCannotBeLoaded)
{
    QTemporaryDir folder;
    const HookLibraryLoad load = loadHookLibrary(folder.path());
    EXPECT_EQ(load.status, HookLibraryLoad::Status::CannotLoad);
    EXPECT_EQ(load.fileName, QStringLiteral("libuiHook.so"));
    EXPECT_FALSE(load.unload);
}

TEST(HookLibrary, AFileThatIsNoLibraryCannotBeLoaded)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("libuiHook.so")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    EXPECT_EQ(loadHookLibrary(folder.path()).status, HookLibraryLoad::Status::CannotLoad);
}

TEST(HookLibrary, ALibraryMissingAFunctionIsRefused)
{
    const HookLibraryLoad load = loadHookLibrary(QStringLiteral(K4812_PARTIAL_HOOK_DIR));
    EXPECT_EQ(load.status, HookLibraryLoad::Status::FunctionMissing);
    EXPECT_EQ(load.entryPoints.EnableKeyboardHook, nullptr);
}

TEST(HookLibrary, TheBuiltLibraryHasAllFourFunctions)
{
    HookLibraryLoad load = loadHookLibrary(QStringLiteral(K4812_BIN_DIR));
    ASSERT_EQ(load.status, HookLibraryLoad::Status::Loaded) << load.detail.toStdString();
    EXPECT_NE(load.entryPoints.EnableKeyboardHook, nullptr);
    EXPECT_NE(load.entryPoints.DisableKeyboardHook, nullptr);
    EXPECT_NE(load.entryPoints.EnableMouseHook, nullptr);
    EXPECT_NE(load.entryPoints.DisableMouseHook, nullptr);
    ASSERT_TRUE(load.unload);
    load.unload();
}

// A recording window unloads the library when it closes; the load made ahead
// keeps it mapped, so the next window does not read it from disk again.
TEST(HookLibrary, TheLoadAheadKeepsTheLibraryInMemoryAfterAWindowUnloadsIt)
{
    loadHookLibraryAhead(QStringLiteral(K4812_BIN_DIR));
    QThreadPool::globalInstance()->waitForDone();
    HookLibraryLoad load = loadHookLibrary(QStringLiteral(K4812_BIN_DIR));
    ASSERT_EQ(load.status, HookLibraryLoad::Status::Loaded) << load.detail.toStdString();
    load.unload();
    const QByteArray path = QByteArrayLiteral(K4812_BIN_DIR "/") + kHookLibraryFileName;
    void* stillLoaded = dlopen(path.constData(), RTLD_LAZY | RTLD_NOLOAD);
    EXPECT_NE(stillLoaded, nullptr);
    if (stillLoaded != nullptr)
        dlclose(stillLoaded);
}

} // namespace
} // namespace k4812
