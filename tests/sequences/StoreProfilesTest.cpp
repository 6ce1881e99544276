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
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <cerrno>
#include <functional>
#include <vector>

#include <sys/stat.h>

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

namespace {

struct FileIdentity {
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const FileIdentity& other) const
    {
        return inode == other.inode && modified.tv_sec == other.modified.tv_sec
            && modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileIdentity identityOf(const QString& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return FileIdentity{info.st_ino, info.st_mtim};
}

} // namespace

// An apply that stores what the disk already holds writes and syncs nothing:
// every profile file and the settings database stay the very files they were.
// A changed profile is written, and only that one.
TEST(StoreProfiles, OnlyWhatChangedIsWritten)
{
    TestEnvironment env;
    TDM dm;
    StoreAllProfiles(dm);
    auto files = [&] {
        std::vector<FileIdentity> identities;
        for (int i = 0; i < kProfileCount; ++i)
            identities.push_back(identityOf(dm.FProfileGroup(i)->FilePath() + dm.FProfileGroup(i)->FileName()));
        identities.push_back(identityOf(dm.registry().databasePath()));
        return identities;
    };
    QStringList written;
    setAtomicWriteProbe([&](AtomicWriteStage stage, const QString& temporary) {
        if (stage == AtomicWriteStage::Write)
            written << QFileInfo(temporary).fileName();
        return 0;
    });

    const std::vector<FileIdentity> before = files();
    StoreAllProfiles(dm);
    EXPECT_EQ(written.join(QLatin1Char(' ')).toStdString(), "");
    EXPECT_TRUE(files() == before) << "a file was replaced or the database changed";

    dm.SwitchToProfile(2);
    dm.FCurrentProfileInfo().ConfigInfo.LEDConfig.R = std::uint8_t(dm.FCurrentProfileInfo().ConfigInfo.LEDConfig.R + 1);
    StoreAllProfiles(dm);
    setAtomicWriteProbe({});
    ASSERT_EQ(written.size(), 1) << written.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(written[0].startsWith(QLatin1String(".Profile3.pfd."))) << written[0].toStdString();
    const std::vector<FileIdentity> after = files();
    for (int i = 0; i < kProfileCount; ++i)
        EXPECT_EQ(after[std::size_t(i)] == before[std::size_t(i)], i != 2) << "profile " << i + 1;
}
