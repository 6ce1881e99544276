// The save prompt's stores when the settings database is taken by another
// program: every store is tried, the files are still written, and the lock
// is waited for once, not once per store.

#include "platform/storage/Registry.h"
#include "profiles/ProfileManager.h"
#include "profiles/SavePrompt.h"

#include "SettingsDatabaseLock.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace k4812;

TEST(SavePrompt, ALockedDatabaseIsWaitedForOnceAndNoProfileIsHalfStored)
{
    test::TestEnvironment env;
    TDM::Options options;
    options.configFile = env.path("program/config.ini");
    TDM dm(options);
    for (int i = 0; i < kProfileCount; ++i) {
        const TuiProfile& store = *dm.FProfileGroup(i);
        ASSERT_TRUE(QFile::remove(QDir(store.FilePath()).filePath(store.FileName())));
    }
    dm.registry().setBusyTimeoutMs(20);
    int waitsBegun = 0;
    dm.registry().setBusyObserver([&](int attempt) { waitsBegun += attempt == 0 ? 1 : 0; });

    test::SettingsDatabaseLock lock(dm.registry().databasePath());
    ASSERT_TRUE(lock.held());
    const SavePromptResult result = StoreOnSavePrompt(dm);

    EXPECT_EQ(result.failures.size(), 1 + kProfileCount) << "every store is listed";
    for (const QString& failure : result.failures)
        EXPECT_TRUE(failure.contains(QLatin1String("locked"))) << failure.toStdString();
    EXPECT_EQ(waitsBegun, 1);
    EXPECT_EQ(dm.registry().busyTimeoutMs(), 20) << "the registry's own patience comes back";
    for (int i = 0; i < kProfileCount; ++i) {
        const TuiProfile& store = *dm.FProfileGroup(i);
        EXPECT_FALSE(QFile::exists(QDir(store.FilePath()).filePath(store.FileName())))
            << i << ": a file is only written together with its settings-database value";
    }
}
