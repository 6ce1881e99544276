// What the window's Apply and Cancel-save and k4812ctl store: a failure of
// either the files or the settings database leaves every profile's file and
// registry value as they were.

#include "TestEnvironment.h"

#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileManager.h"
#include "profiles/SavePrompt.h"
#include "sequences/ApplySequence.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cerrno>
#include <functional>
#include <vector>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::TestEnvironment;

namespace {

// Every profile's file and registry value.
std::vector<QByteArray> storedProfiles(TDM& dm)
{
    std::vector<QByteArray> stored;
    for (int i = 0; i < kProfileCount; ++i) {
        const TuiProfile& store = *dm.FProfileGroup(i);
        stored.push_back(readFile(store.FilePath() + store.FileName()));
        const auto value = dm.registry().readValue(HKEY_CURRENT_USER, QString::fromLatin1(kProfileKeyPath),
                                                   store.FileName());
        stored.push_back(value ? value->data : QByteArray());
    }
    return stored;
}

} // namespace

TEST(StoreProfiles, AFailedStoreLeavesEveryFileAndRegistryValueAsItWas)
{
    TestEnvironment env;
    TDM dm;
    StoreAllProfiles(dm);
    const std::vector<QByteArray> before = storedProfiles(dm);
    dm.registry().setBusyTimeoutMs(0);

    sqlite3* other = nullptr;
    const struct {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> restore;
    } faults[] = {
        {"a full disk",
         [] { setAtomicWriteProbe([](AtomicWriteStage stage, const QString&) { return stage == AtomicWriteStage::Write ? ENOSPC : 0; }); },
         [] { setAtomicWriteProbe({}); }},
        {"the database locked by another program",
         [&] {
             sqlite3_open(QFile::encodeName(dm.registry().databasePath()).constData(), &other);
             ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
         },
         [&] {
             sqlite3_close(other);
             other = nullptr;
         }},
    };
    const struct {
        const char* name;
        std::function<void()> store;
    } stores[] = {
        {"the apply's store (window and k4812ctl)", [&] { StoreAllProfiles(dm); }},
        // The save prompt tries every store and lists what failed instead of throwing.
        {"the window's save on Cancel",
         [&] {
             const SavePromptResult result = StoreOnSavePrompt(dm);
             if (!result.failures.isEmpty())
                 throw StorageError(result.failures.join(QLatin1Char('\n')));
         }},
    };
    int edits = 0;
    for (const auto& fault : faults) {
        for (const auto& s : stores) {
            // An edit to store, unlike the stored light and every edit before.
            dm.FCurrentProfileInfo().ConfigInfo.LEDConfig.R = std::uint8_t(dm.FCurrentProfileInfo().ConfigInfo.LEDConfig.R + 37 * ++edits);
            fault.arrange();
            EXPECT_THROW(s.store(), StorageError) << fault.name << ", " << s.name;
            fault.restore();
            EXPECT_EQ(storedProfiles(dm), before) << fault.name << ", " << s.name;
        }
    }
}
