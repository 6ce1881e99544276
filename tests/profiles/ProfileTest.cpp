#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/Profile.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <functional>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

const QString kKey = QStringLiteral("software\\ZOZozadOdediv4812");

QByteArray pattern(qsizetype size, int seed = 1)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed) & 0xFF);
    return bytes;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    ProfileStoreTest() : store(&registry)
    {
        QDir().mkpath(folder());
        store.setRootKey(HKEY_CURRENT_USER);
        store.setKeyPath(kKey);
        store.setFileName("Profile1.pfd");
    }
    ~ProfileStoreTest() override { setAtomicWriteProbe({}); }

    QString folder() const { return env.path("Documents/Gaming Mouse Profiles"); }
    void fill(const QByteArray& bytes) { store.Write(bytes.constData(), int(bytes.size())); }

    TestEnvironment env;
    Registry registry;
    TuiProfile store;
};

} // namespace

TEST_F(ProfileStoreTest, WriteNeverShrinksTheBufferAndReadCopiesWhatItHolds)
{
    const QByteArray big = pattern(120000, 1);
    EXPECT_EQ(store.Write(big.constData(), int(big.size())), 120000);
    const QByteArray profile = pattern(109888, 2);
    EXPECT_EQ(store.Write(profile.constData(), int(profile.size())), 109888);
    EXPECT_EQ(store.Size(), 120000);
    EXPECT_EQ(store.stream().left(109888), profile);
    EXPECT_EQ(store.stream().mid(109888), big.mid(109888)); // the tail stays

    // A 1000-byte file replaces the buffer; reading a whole record copies 1000 bytes only.
    ASSERT_TRUE(test::writeFile(folder() + "/short.pfd", pattern(1000, 3)));
    ASSERT_TRUE(store.LoadStreamFromFile(folder() + "/short.pfd"));
    EXPECT_EQ(store.Size(), 1000);
    QByteArray target(109888, 'T');
    EXPECT_EQ(store.Read(target.data(), int(target.size())), 1000);
    EXPECT_EQ(target.left(1000), pattern(1000, 3));
    EXPECT_EQ(target.mid(1000), QByteArray(108888, 'T'));
}

TEST_F(ProfileStoreTest, SizeSetterResizesWithZeros)
{
    fill("abc");
    store.setSize(6);
    EXPECT_EQ(store.stream(), QByteArray("abc\0\0\0", 6));
    store.setSize(2);
    EXPECT_EQ(store.stream(), QByteArray("ab"));
}

TEST_F(ProfileStoreTest, FilePathIsKeptOnlyForAnExistingFolderWithATrailingSlash)
{
    store.setFilePath(folder());
    EXPECT_EQ(store.FilePath(), folder() + "/");
    store.setFilePath(env.path("does/not/exist"));
    EXPECT_EQ(store.FilePath(), folder() + "/");
    store.setFilePath(QString());
    EXPECT_EQ(store.FilePath(), folder() + "/");
}

TEST_F(ProfileStoreTest, FileOperationsWithoutAFolderDoNothing)
{
    fill(pattern(100));
    EXPECT_FALSE(store.SaveStreamToFile());
    EXPECT_FALSE(store.LoadStreamFromFile());
    EXPECT_TRUE(QDir(folder()).isEmpty());
    EXPECT_EQ(store.stream(), pattern(100));
}

TEST_F(ProfileStoreTest, SaveAndLoadThroughTheStoresOwnPath)
{
    store.setFilePath(folder());
    fill(pattern(109888, 5));
    ASSERT_TRUE(store.SaveStreamToFile());
    EXPECT_EQ(test::readFile(folder() + "/Profile1.pfd"), pattern(109888, 5));

    ASSERT_TRUE(test::writeFile(folder() + "/Profile1.pfd", pattern(200000, 6)));
    ASSERT_TRUE(store.LoadStreamFromFile());
    EXPECT_EQ(store.stream(), pattern(200000, 6));

    // A missing file is "not done" and leaves the buffer alone.
    store.setFileName("Profile2.pfd");
    EXPECT_FALSE(store.LoadStreamFromFile());
    EXPECT_FALSE(store.LoadStreamFromFile(folder() + "/Profile2.pfd"));
    EXPECT_EQ(store.Size(), 200000);
}

TEST_F(ProfileStoreTest, SavingToAPathCreatesOneFolderLevelAndKeepsTheStoresPath)
{
    fill(pattern(10));
    const QString oneLevel = env.path("Documents/Exports/p.pfd");
    ASSERT_TRUE(store.SaveStreamToFile(oneLevel));
    EXPECT_EQ(test::readFile(oneLevel), pattern(10));
    EXPECT_TRUE(store.FilePath().isEmpty());
    EXPECT_EQ(store.FileName(), "Profile1.pfd");

    EXPECT_FALSE(store.SaveStreamToFile(env.path("Documents/a/b/p.pfd")));
    EXPECT_FALSE(QFileInfo::exists(env.path("Documents/a")));
}

TEST_F(ProfileStoreTest, PreSaveSplitsThePathWithoutWriting)
{
    ASSERT_TRUE(store.PreSaveStreamToFile(env.path("Documents/New/mine.pfd")));
    EXPECT_EQ(store.FilePath(), env.path("Documents/New/"));
    EXPECT_EQ(store.FileName(), "mine.pfd");
    EXPECT_TRUE(QDir(env.path("Documents/New")).isEmpty());

    EXPECT_FALSE(store.PreSaveStreamToFile(env.path("x/y/z.pfd")));
    EXPECT_EQ(store.FileName(), "mine.pfd");
}

TEST_F(ProfileStoreTest, FailedSaveReportsAnErrorAndKeepsTheOldFile)
{
    store.setFilePath(folder());
    fill(pattern(109888, 1));
    ASSERT_TRUE(store.SaveStreamToFile());
    fill(pattern(109888, 2));
    setAtomicWriteProbe(
        [](AtomicWriteStage stage, const QString&) { return stage == AtomicWriteStage::Write ? ENOSPC : 0; });
    bool afterSave = false;
    store.OnAfterSaveToFile = [&](const QByteArray&) { afterSave = true; };
    EXPECT_THROW(store.SaveStreamToFile(), StorageError);
    EXPECT_FALSE(afterSave);
    EXPECT_EQ(test::readFile(folder() + "/Profile1.pfd"), pattern(109888, 1));
}

TEST_F(ProfileStoreTest, FileTooLargeToBeARecordIsAnError)
{
    QFile huge(folder() + "/huge.pfd");
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(TuiProfile::kMaxFileSize + 1)); // sparse: costs no disk
    huge.close();
    fill(pattern(10));
    EXPECT_THROW(store.LoadStreamFromFile(huge.fileName()), StorageError);
    EXPECT_EQ(store.stream(), pattern(10));
}

TEST_F(ProfileStoreTest, PipeInPlaceOfTheFileIsAnErrorNotAHang)
{
    const QString pipe = folder() + "/Profile1.pfd";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    store.setFilePath(folder());
    fill(pattern(10));
    EXPECT_THROW(store.LoadStreamFromFile(), StorageError);
    EXPECT_EQ(store.stream(), pattern(10));
}

TEST_F(ProfileStoreTest, RegistryValueIsTheBufferByteForByte)
{
    fill(pattern(30964, 9));
    ASSERT_TRUE(store.SaveStreamToRegistry());
    EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd")->data, pattern(30964, 9));

    TuiProfile other(&registry);
    other.setRootKey(HKEY_CURRENT_USER);
    other.setKeyPath(kKey);
    other.setFileName("PROFILE1.PFD");
    const QByteArray big = pattern(40000, 1);
    other.Write(big.constData(), int(big.size()));
    ASSERT_TRUE(other.LoadStreamFromRegistry());
    EXPECT_EQ(other.stream(), pattern(30964, 9)); // resized to the value
}

TEST_F(ProfileStoreTest, RegistryChecksAnswerFalseAndLeaveTheBuffer)
{
    struct Case {
        const char* what;
        std::function<void(TuiProfile&)> change;
    };
    const Case cases[] = {
        {"missing value", [](TuiProfile& s) { s.setFileName("Nothing.pfd"); }},
        {"root 0", [](TuiProfile& s) { s.setRootKey(0); }},
        {"HKEY_CLASSES_ROOT", [](TuiProfile& s) { s.setRootKey(0x80000000u); }},
        {"empty key path", [](TuiProfile& s) { s.setKeyPath(QString()); }},
        {"empty name", [](TuiProfile& s) { s.setFileName(QString()); }},
    };
    registry.writeBinary(HKEY_CURRENT_USER, kKey, "Profile1.pfd", pattern(50));
    for (const Case& c : cases) {
        TuiProfile s(&registry);
        s.setRootKey(HKEY_CURRENT_USER);
        s.setKeyPath(kKey);
        s.setFileName("Profile1.pfd");
        s.Write("keep", 4);
        c.change(s);
        EXPECT_FALSE(s.LoadStreamFromRegistry()) << c.what;
        EXPECT_EQ(s.stream(), QByteArray("keep")) << c.what;
        if (QString(c.what) != "missing value") {
            EXPECT_FALSE(s.SaveStreamToRegistry()) << c.what;
        }
    }
    TuiProfile noRegistry;
    noRegistry.setRootKey(HKEY_CURRENT_USER);
    noRegistry.setKeyPath(kKey);
    noRegistry.setFileName("Profile1.pfd");
    EXPECT_FALSE(noRegistry.LoadStreamFromRegistry());
    EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd")->data, pattern(50));
}

TEST_F(ProfileStoreTest, IntegerValueWhereBinaryIsExpectedIsAnError)
{
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "Profile1.pfd", 3);
    fill("keep");
    EXPECT_THROW(store.LoadStreamFromRegistry(), StorageError);
    EXPECT_EQ(store.stream(), QByteArray("keep"));
}

TEST_F(ProfileStoreTest, VetoCancelsAndAfterEventsFollowSuccess)
{
    store.setFilePath(folder());
    fill(pattern(64));
    ASSERT_TRUE(store.SaveStreamToFile());
    ASSERT_TRUE(store.SaveStreamToRegistry());

    struct Case {
        const char* what;
        TuiProfile::TuiProfileEvent TuiProfile::*before;
        TuiProfile::TuiProfileEvent2 TuiProfile::*after;
        std::function<bool(TuiProfile&)> run;
    };
    const QString path = folder() + "/Profile1.pfd";
    const Case cases[] = {
        {"save file", &TuiProfile::OnBeforeSaveToFile, &TuiProfile::OnAfterSaveToFile,
         [](TuiProfile& s) { return s.SaveStreamToFile(); }},
        {"save file path", &TuiProfile::OnBeforeSaveToFile, &TuiProfile::OnAfterSaveToFile,
         [path](TuiProfile& s) { return s.SaveStreamToFile(path); }},
        {"load file", &TuiProfile::OnBeforeLoadFromFile, &TuiProfile::OnAfterLoadFromFile,
         [](TuiProfile& s) { return s.LoadStreamFromFile(); }},
        {"load file path", &TuiProfile::OnBeforeLoadFromFile, &TuiProfile::OnAfterLoadFromFile,
         [path](TuiProfile& s) { return s.LoadStreamFromFile(path); }},
        {"save registry", &TuiProfile::OnBeforeSaveToRegistry, &TuiProfile::OnAfterSaveToRegistry,
         [](TuiProfile& s) { return s.SaveStreamToRegistry(); }},
        {"load registry", &TuiProfile::OnBeforeLoadFromRegistry, &TuiProfile::OnAfterLoadFromRegistry,
         [](TuiProfile& s) { return s.LoadStreamFromRegistry(); }},
    };
    for (const Case& c : cases) {
        int afterCalls = 0;
        bool continueValueSeen = false;
        store.*c.after = [&](const QByteArray&) { ++afterCalls; };
        store.*c.before = [&](QByteArray&, bool& bContinue) {
            continueValueSeen = bContinue;
            bContinue = false;
        };
        fill("changed!");
        EXPECT_FALSE(c.run(store)) << c.what;
        EXPECT_TRUE(continueValueSeen) << c.what;
        EXPECT_EQ(afterCalls, 0) << c.what;
        EXPECT_EQ(test::readFile(path), pattern(64)) << c.what;
        EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd")->data, pattern(64)) << c.what;

        store.*c.before = [](QByteArray&, bool&) {};
        fill(pattern(64));
        EXPECT_TRUE(c.run(store)) << c.what;
        EXPECT_EQ(afterCalls, 1) << c.what;
        store.*c.before = nullptr;
        store.*c.after = nullptr;
    }
}

TEST_F(ProfileStoreTest, RestoreToDefaultHandsTheBufferToItsHandler)
{
    fill("abcd");
    store.RestoreToDefault(); // no handler: nothing happens
    EXPECT_EQ(store.stream(), QByteArray("abcd"));
    store.OnRestoreToDefault = [](QByteArray& s) { s[1] = 'X'; };
    store.RestoreToDefault();
    EXPECT_EQ(store.stream(), QByteArray("aXcd"));
}

TEST_F(ProfileStoreTest, AProfileFileThatIsALinkKeepsTheLinkAndItsTargetTakesTheBytes)
{
    const QString synced = env.path("Synced");
    ASSERT_TRUE(QDir().mkpath(synced));
    ASSERT_TRUE(test::writeFile(synced + "/Profile1.pfd", pattern(109888, 1)));
    ASSERT_TRUE(QFile::link(synced + "/Profile1.pfd", folder() + "/Profile1.pfd"));
    store.setFilePath(folder());
    fill(pattern(109888, 9));
    ASSERT_TRUE(store.SaveStreamToFile());
    EXPECT_TRUE(QFileInfo(folder() + "/Profile1.pfd").isSymLink());
    EXPECT_EQ(test::readFile(synced + "/Profile1.pfd"), pattern(109888, 9));

    ASSERT_TRUE(store.SaveStreamToFile(folder() + "/Profile1.pfd"));
    EXPECT_TRUE(QFileInfo(folder() + "/Profile1.pfd").isSymLink());
}

namespace {

// An open read transaction of another program: the database can take a write
// but not commit it while this lasts.
class DatabaseReader {
public:
    explicit DatabaseReader(const QString& path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
        sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
        m_reading = sqlite3_exec(m_db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~DatabaseReader() { sqlite3_close(m_db); }
    bool reading() const { return m_reading; }

private:
    sqlite3* m_db = nullptr;
    bool m_reading = false;
};

// Another program's write transaction: the database takes no write.
class DatabaseWriter {
public:
    explicit DatabaseWriter(const QString& path)
    {
        sqlite3_open(QFile::encodeName(path).constData(), &m_db);
        m_writing = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~DatabaseWriter() { sqlite3_close(m_db); }
    bool writing() const { return m_writing; }

private:
    sqlite3* m_db = nullptr;
    bool m_writing = false;
};

} // namespace

TEST_F(ProfileStoreTest, FileAndRegistryValueChangeTogetherOrNotAtAll)
{
    store.setFilePath(folder());
    const QString file = folder() + QStringLiteral("/Profile1.pfd");
    const QByteArray old = pattern(300, 1);
    fill(old);
    ASSERT_TRUE(store.SaveStreamToFileAndRegistry());
    registry.setBusyTimeoutMs(0);

    // Each case makes the save fail at another point; all must leave both copies old.
    std::unique_ptr<DatabaseReader> reader;
    std::unique_ptr<DatabaseWriter> writer;
    const struct {
        const char* name;
        std::function<void()> arrange;
        std::function<void()> restore;
    } cases[] = {
        {"the folder replaced by a file (any user, root too)",
         [&] {
             ASSERT_TRUE(QDir().rename(folder(), folder() + ".moved"));
             ASSERT_TRUE(test::writeFile(folder(), "x"));
         },
         [&] {
             ASSERT_TRUE(QFile::remove(folder()));
             ASSERT_TRUE(QDir().rename(folder() + ".moved", folder()));
         }},
        {"a full disk at the file's rename",
         [&] { setAtomicWriteProbe([](AtomicWriteStage stage, const QString&) { return stage == AtomicWriteStage::Rename ? ENOSPC : 0; }); },
         [&] { setAtomicWriteProbe({}); }},
        {"the database locked by another writer",
         [&] {
             writer = std::make_unique<DatabaseWriter>(registry.databasePath());
             ASSERT_TRUE(writer->writing());
         },
         [&] { writer.reset(); }},
        {"the value not committed after the file was written (a reader holds the database)",
         [&] {
             setAtomicWriteProbe([&](AtomicWriteStage stage, const QString&) {
                 if (stage == AtomicWriteStage::Rename)
                     reader = std::make_unique<DatabaseReader>(registry.databasePath());
                 return 0;
             });
         },
         [&] {
             setAtomicWriteProbe({});
             EXPECT_TRUE(reader && reader->reading()) << "the commit was not blocked";
             reader.reset();
         }},
    };
    for (const auto& c : cases) {
        c.arrange();
        fill(pattern(300, 2));
        EXPECT_THROW(store.SaveStreamToFileAndRegistry(), StorageError) << c.name;
        c.restore();
        EXPECT_EQ(test::readFile(file), old) << c.name << ": the file changed";
        const auto value = registry.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("Profile1.pfd"));
        ASSERT_TRUE(value) << c.name;
        EXPECT_EQ(value->data, old) << c.name << ": the registry value changed";
    }

    // With nothing in the way both take the new bytes.
    ASSERT_TRUE(store.SaveStreamToFileAndRegistry());
    EXPECT_EQ(test::readFile(file), pattern(300, 2));
    EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("Profile1.pfd"))->data, pattern(300, 2));
}

TEST_F(ProfileStoreTest, ANewFileWhoseValueCannotBeCommittedIsRemovedAgain)
{
    store.setFilePath(folder());
    const QString file = folder() + QStringLiteral("/Profile1.pfd");
    registry.openKey(HKEY_CURRENT_USER, kKey, true);
    registry.setBusyTimeoutMs(0);
    std::unique_ptr<DatabaseReader> reader;
    setAtomicWriteProbe([&](AtomicWriteStage stage, const QString&) {
        if (stage == AtomicWriteStage::Rename)
            reader = std::make_unique<DatabaseReader>(registry.databasePath());
        return 0;
    });
    fill(pattern(300, 3));
    EXPECT_THROW(store.SaveStreamToFileAndRegistry(), StorageError);
    setAtomicWriteProbe({});
    reader.reset();
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(registry.readValue(HKEY_CURRENT_USER, kKey, QStringLiteral("Profile1.pfd")));
}
