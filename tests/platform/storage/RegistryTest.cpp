#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"

#include "SettingsDatabaseLock.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

const QString kKey = QStringLiteral("software\\ZOZozadOdediv4812");

class RegistryTest : public ::testing::Test {
protected:
    QString dbPath() const { return Registry::defaultDatabasePath(); }

    TestEnvironment env;
};

} // namespace

TEST_F(RegistryTest, DatabaseLivesInTheUsersConfigurationFolder)
{
    EXPECT_EQ(dbPath(), env.path(".config/k4812/registry.sqlite3"));
    Registry registry;
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 2);
    EXPECT_TRUE(QFile::exists(env.path(".config/k4812/registry.sqlite3")));
}

TEST_F(RegistryTest, KeyPathsAndValueNamesCompareWithoutCase)
{
    Registry registry;
    const QByteArray data("\x03\x01\x00\x00", 4);
    registry.writeBinary(HKEY_CURRENT_USER, kKey, "Profile1.pfd", data);

    const auto value = registry.readValue(HKEY_CURRENT_USER, "\\SOFTWARE\\zozozadodediv4812\\", "PROFILE1.PFD");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, Registry::ValueType::Binary);
    EXPECT_EQ(value->data, data);

    // Replacing under another spelling keeps the first spelling of the name.
    registry.writeBinary(HKEY_CURRENT_USER, "Software\\ZOZOZADODEDIV4812", "profile1.pfd", QByteArray("xy"));
    EXPECT_EQ(registry.valueNames(HKEY_CURRENT_USER, kKey), QStringList{"Profile1.pfd"});
    EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd")->data, QByteArray("xy"));

    // Case folding is not limited to ASCII.
    registry.writeDWord(HKEY_CURRENT_USER, QStringLiteral("software\\\u00c4rger"), QStringLiteral("\u00d6l"), 7);
    EXPECT_TRUE(
        registry.readValue(HKEY_CURRENT_USER, QStringLiteral("SOFTWARE\\\u00e4RGER"), QStringLiteral("\u00f6L")));
}

TEST_F(RegistryTest, RootsAreSeparateAndOnlyTwoAreUsable)
{
    Registry registry;
    registry.writeDWord(HKEY_LOCAL_MACHINE, kKey, "v", 1);
    EXPECT_FALSE(registry.readValue(HKEY_CURRENT_USER, kKey, "v"));
    EXPECT_TRUE(registry.readValue(HKEY_LOCAL_MACHINE, kKey, "v"));

    constexpr std::uint32_t kClassesRoot = 0x80000000u;
    EXPECT_FALSE(registry.openKey(kClassesRoot, kKey, true));
    EXPECT_FALSE(registry.openKey(0, kKey, true));
    EXPECT_FALSE(registry.readValue(kClassesRoot, kKey, "v"));
    EXPECT_THROW(registry.writeDWord(kClassesRoot, kKey, "v", 1), StorageError);
}

TEST_F(RegistryTest, OpenWithoutCreatingFindsOnlyExistingKeysAndTheirParents)
{
    Registry registry;
    EXPECT_FALSE(registry.openKey(HKEY_CURRENT_USER, kKey, false));
    EXPECT_FALSE(registry.openKey(HKEY_CURRENT_USER, kKey, false)); // still not created

    EXPECT_TRUE(registry.openKey(HKEY_CURRENT_USER, kKey + "\\Sub", true));
    EXPECT_TRUE(registry.openKey(HKEY_CURRENT_USER, kKey, false));
    EXPECT_TRUE(registry.openKey(HKEY_CURRENT_USER, "SOFTWARE", false));
    EXPECT_FALSE(registry.openKey(HKEY_CURRENT_USER, "software\\Other", false));
    EXPECT_FALSE(registry.openKey(HKEY_LOCAL_MACHINE, kKey, false));
}

TEST_F(RegistryTest, IntegersAndEmptyValuesKeepTheirTypeAndBytes)
{
    Registry registry;
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 0x01020304);
    registry.writeBinary(HKEY_CURRENT_USER, kKey, "Empty", QByteArray());

    const auto id = registry.readValue(HKEY_CURRENT_USER, kKey, "ProfileID");
    ASSERT_TRUE(id);
    EXPECT_EQ(id->type, Registry::ValueType::DWord);
    EXPECT_EQ(id->data, QByteArray("\x04\x03\x02\x01", 4));
    const auto empty = registry.readValue(HKEY_CURRENT_USER, kKey, "Empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->data.isEmpty());

    EXPECT_TRUE(registry.deleteValue(HKEY_CURRENT_USER, kKey, "EMPTY"));
    EXPECT_FALSE(registry.deleteValue(HKEY_CURRENT_USER, kKey, "Empty"));
    EXPECT_FALSE(registry.readValue(HKEY_CURRENT_USER, kKey, "Empty"));
}

TEST_F(RegistryTest, ValuesPersistForTheNextConnection)
{
    QByteArray big(109888, Qt::Uninitialized);
    for (qsizetype i = 0; i < big.size(); ++i)
        big[i] = char(i * 7);
    {
        Registry writer;
        writer.writeBinary(HKEY_CURRENT_USER, kKey, "Profile1.pfd", big);
    }
    Registry reader;
    EXPECT_EQ(reader.readValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd")->data, big);
}

TEST_F(RegistryTest, DamagedOrForeignFileIsMovedAsideAndANewDatabaseStarts)
{
    // A file that is not a database at all, and a database whose pages were
    // overwritten on the disk.
    QByteArray damagedDatabase;
    {
        Registry registry;
        for (int i = 0; i < 4; ++i)
            registry.writeBinary(HKEY_CURRENT_USER, kKey, QString::number(i), QByteArray(30000, char(i)));
    }
    damagedDatabase = test::readFile(dbPath());
    ASSERT_GT(damagedDatabase.size(), 8192);
    for (qsizetype i = 4096; i < damagedDatabase.size(); ++i)
        damagedDatabase[i] = char(0xA5);

    const QByteArray cases[] = {QByteArray("this is a text file, not a database\n").repeated(200), damagedDatabase};
    for (const QByteArray& content : cases) {
        QDir(env.path(".config/k4812")).removeRecursively();
        ASSERT_TRUE(test::writeFile(dbPath(), content));

        Registry registry;
        EXPECT_FALSE(registry.readValue(HKEY_CURRENT_USER, kKey, "0"));
        registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 1);
        EXPECT_TRUE(registry.readValue(HKEY_CURRENT_USER, kKey, "ProfileID"));

        ASSERT_EQ(registry.notices().size(), 1);
        EXPECT_TRUE(registry.notices()[0].contains("moved to")) << registry.notices()[0].toStdString();
        const QStringList aside = QDir(env.path(".config/k4812")).entryList({"registry.sqlite3.damaged-*"});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(test::readFile(env.path(".config/k4812/") + aside[0]), content);
    }
}

TEST_F(RegistryTest, SecondWriterWaitsForTheFirstInsteadOfFailing)
{
    Registry registry;
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 1);

    test::SettingsDatabaseLock other(dbPath(), test::SettingsDatabaseLock::Mode::Write);
    ASSERT_TRUE(other.held());
    int waits = 0;
    registry.setBusyObserver([&](int) {
        ++waits;
        other.release(); // the other program finishes its save while we wait
    });
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 2);
    EXPECT_GE(waits, 1);
    EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, "ProfileID")->data, QByteArray("\x02\x00\x00\x00", 4));
}

TEST_F(RegistryTest, WriterGivesUpWithAClearErrorWhenTheLockIsNeverReleased)
{
    Registry registry;
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 1);
    registry.setBusyTimeoutMs(0);

    test::SettingsDatabaseLock other(dbPath(), test::SettingsDatabaseLock::Mode::Write);
    ASSERT_TRUE(other.held());
    try {
        registry.writeDWord(HKEY_CURRENT_USER, kKey, "ProfileID", 2);
        FAIL() << "a locked database was reported as written";
    } catch (const StorageError& error) {
        EXPECT_TRUE(error.message().contains("locked")) << error.message().toStdString();
    }
    other.release();
    EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, "ProfileID")->data, QByteArray("\x01\x00\x00\x00", 4));
}

// Writing what a value holds already takes no write transaction: it goes
// through while another program holds the write lock, and runs what must
// happen alongside. Anything else still needs the lock and waits for it.
TEST_F(RegistryTest, AValueThatHoldsTheBytesAlreadyIsNotWrittenAgain)
{
    Registry registry;
    const QByteArray stored(109888, '\x5a');
    registry.writeBinary(HKEY_CURRENT_USER, kKey, "Profile1.pfd", stored);
    registry.setBusyTimeoutMs(0);
    QByteArray lastDiffers = stored;
    lastDiffers.back() = '\x5b';
    const struct {
        const char* name;
        Registry::ValueType type;
        QByteArray bytes;
        bool needsTheLock;
    } cases[] = {
        {"the same bytes", Registry::ValueType::Binary, stored, false},
        {"the last byte differs", Registry::ValueType::Binary, lastDiffers, true},
        {"one byte shorter", Registry::ValueType::Binary, stored.chopped(1), true},
        {"the same bytes as another type", Registry::ValueType::DWord, stored, true},
    };
    for (const auto& c : cases) {
        test::SettingsDatabaseLock other(dbPath(), test::SettingsDatabaseLock::Mode::Write);
        ASSERT_TRUE(other.held());
        bool alongside = false;
        try {
            registry.writeValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd", c.type, c.bytes, [&] { alongside = true; });
            EXPECT_FALSE(c.needsTheLock) << c.name << ": written without the lock";
            EXPECT_TRUE(alongside) << c.name;
        } catch (const StorageError& error) {
            EXPECT_TRUE(c.needsTheLock) << c.name << ": " << error.message().toStdString();
            EXPECT_TRUE(error.message().contains("stayed locked")) << error.message().toStdString();
            EXPECT_FALSE(alongside) << c.name;
        }
        other.release();
        const auto value = registry.readValue(HKEY_CURRENT_USER, kKey, "Profile1.pfd");
        ASSERT_TRUE(value) << c.name;
        EXPECT_EQ(value->data, stored) << c.name;
        EXPECT_EQ(value->type, Registry::ValueType::Binary) << c.name;
    }

    // Another program in the middle of its commit (an exclusive lock) stops even the check, with the same message.
    test::SettingsDatabaseLock exclusive(dbPath(), test::SettingsDatabaseLock::Mode::Exclusive);
    ASSERT_TRUE(exclusive.held());
    try {
        registry.writeBinary(HKEY_CURRENT_USER, kKey, "Profile1.pfd", stored);
        ADD_FAILURE() << "a database locked for reading too was reported as checked";
    } catch (const StorageError& error) {
        EXPECT_TRUE(error.message().contains("writing the value \"Profile1.pfd\" was not done"))
            << error.message().toStdString();
    }
}

// Opening a key that exists with `create` (as every load from the registry
// does) takes no write transaction either; creating a new one still does.
TEST_F(RegistryTest, OpeningAnExistingKeyToCreateItNeedsNoWriteLock)
{
    Registry registry;
    ASSERT_TRUE(registry.openKey(HKEY_CURRENT_USER, kKey, true));
    registry.setBusyTimeoutMs(0);
    test::SettingsDatabaseLock other(dbPath(), test::SettingsDatabaseLock::Mode::Write);
    ASSERT_TRUE(other.held());
    EXPECT_TRUE(registry.openKey(HKEY_CURRENT_USER, kKey, true));
    EXPECT_TRUE(registry.openKey(HKEY_CURRENT_USER, "SOFTWARE", true)) << "a parent exists too";
    try {
        registry.openKey(HKEY_CURRENT_USER, kKey + "\\New", true);
        ADD_FAILURE() << "a key was created without the write lock";
    } catch (const StorageError& error) {
        EXPECT_TRUE(error.message().contains("creating a key was not done")) << error.message().toStdString();
    }
    other.release();
    EXPECT_FALSE(registry.openKey(HKEY_CURRENT_USER, kKey + "\\New", false));
}

TEST_F(RegistryTest, AWriteGroupKeepsAllItsWritesOrNone)
{
    Registry registry;
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "A", 1);
    auto valueOf = [&](const char* name) {
        const auto v = registry.readValue(HKEY_CURRENT_USER, kKey, QLatin1String(name));
        return v ? int(std::uint8_t(v->data[0])) : -1;
    };

    // A failure after the first write: neither write stays.
    try {
        Registry::WriteGroup group(registry);
        registry.writeDWord(HKEY_CURRENT_USER, kKey, "A", 2);
        {
            Registry::WriteGroup inner(registry); // joins the outer group
            registry.writeDWord(HKEY_CURRENT_USER, kKey + "\\Sub", "B", 2);
            inner.commit();
        }
        throw StorageError(QStringLiteral("the second step failed"));
    } catch (const StorageError&) {
    }
    EXPECT_EQ(valueOf("A"), 1);
    EXPECT_FALSE(registry.openKey(HKEY_CURRENT_USER, kKey + "\\Sub", false)) << "the created key went too";

    // Committed: both stay, also for another connection.
    {
        Registry::WriteGroup group(registry);
        registry.writeDWord(HKEY_CURRENT_USER, kKey, "A", 3);
        registry.writeDWord(HKEY_CURRENT_USER, kKey, "C", 3);
        group.commit();
    }
    Registry other;
    EXPECT_EQ(other.readValue(HKEY_CURRENT_USER, kKey, "A")->data[0], 3);
    EXPECT_EQ(other.readValue(HKEY_CURRENT_USER, kKey, "C")->data[0], 3);

    // A locked database refuses the group at once; the registry stays usable.
    registry.setBusyTimeoutMs(0);
    test::SettingsDatabaseLock holder(dbPath(), test::SettingsDatabaseLock::Mode::Write);
    ASSERT_TRUE(holder.held());
    EXPECT_THROW(Registry::WriteGroup{registry}, StorageError);
    holder.release();
    registry.writeDWord(HKEY_CURRENT_USER, kKey, "A", 4);
    EXPECT_EQ(valueOf("A"), 4);
}

TEST_F(RegistryTest, ADatabaseDeepInALongHomeFolderOpens)
{
    // SQLite's file layer alone stops at 512 bytes; a home folder of about 500
    // characters put the database beyond that.
    struct Case {
        const char* what;
        int depth;   // folders of 99 characters each
    };
    const Case cases[] = {
        {"about 520 bytes", 5},
        {"about 1100 bytes", 11},
        {"about 3000 bytes", 30},
    };
    for (const Case& c : cases) {
        QString folder = env.path(QStringLiteral("deep%1").arg(c.depth));
        for (int i = 0; i < c.depth; ++i)
            folder += QLatin1Char('/') + QString(99, QLatin1Char('a' + i % 26));
        ASSERT_TRUE(QDir().mkpath(folder)) << c.what;
        const QString path = folder + QStringLiteral("/registry.sqlite3");
        ASSERT_GT(QFile::encodeName(path).size(), 512) << c.what;
        {
            Registry registry(path);
            registry.writeBinary(HKEY_CURRENT_USER, QStringLiteral("software\\Test"), QStringLiteral("v"), "bytes");
        }
        Registry again(path);
        const auto value = again.readValue(HKEY_CURRENT_USER, QStringLiteral("software\\Test"), QStringLiteral("v"));
        ASSERT_TRUE(value) << c.what;
        EXPECT_EQ(value->data, QByteArray("bytes")) << c.what;
        EXPECT_TRUE(QFileInfo::exists(path)) << c.what;
    }
}
