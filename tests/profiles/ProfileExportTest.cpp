#include "platform/storage/StorageError.h"
#include "profiles/ProfileExport.h"
#include "profiles/ProfileManager.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <unistd.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

class ProfileExportTest : public ::testing::Test {
protected:
    ProfileExportTest()
    {
        TDM::Options options;
        options.languageId = QStringLiteral("0409");
        options.configFile = env.path("program/config.ini");
        dm = std::make_unique<TDM>(options);
        QDir().mkpath(target());
    }

    QString target() const { return env.path("Exports"); }
    QStringList entries() const
    {
        return QDir(target()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    TestEnvironment env;
    std::unique_ptr<TDM> dm;
};

TEST_F(ProfileExportTest, AFolderHoldingAnEntryNamedLikeTheTestFolderStillTakesTheExport)
{
    // Left behind by an earlier check, or the user's own: it must not block the save.
    ASSERT_TRUE(QDir(target()).mkdir(QStringLiteral("tmp2323")));
    ASSERT_TRUE(test::writeFile(target() + "/tmp2323-keep", "mine"));

    // The whole store is written, also beyond the record.
    TuiProfile& store = *dm->FProfileGroup(dm->FProfileIndex());
    QByteArray big = store.stream();
    big.append(QByteArray(200000 - big.size(), 'x'));
    store.setSize(0);
    store.Write(big.constData(), int(big.size()));

    const QString file = target() + "/Shooter.pfd";
    EXPECT_EQ(ExportCurrentProfile(*dm, file), ProfileExportResult::Saved);
    EXPECT_EQ(test::readFile(file), big);
    EXPECT_EQ(entries(), (QStringList{"Shooter.pfd", "tmp2323", "tmp2323-keep"})) << "no test folder is left";
    EXPECT_EQ(test::readFile(target() + "/tmp2323-keep"), "mine");
    EXPECT_EQ(store.FileName(), QStringLiteral("Profile1.pfd")) << "the profile stays bound to its own file";
}

TEST_F(ProfileExportTest, AnExistingFileIsReplaced)
{
    const QString file = target() + "/Old.pfd";
    ASSERT_TRUE(test::writeFile(file, "old"));
    EXPECT_EQ(ExportCurrentProfile(*dm, file), ProfileExportResult::Saved);
    EXPECT_EQ(test::readFile(file), dm->FProfileGroup(dm->FProfileIndex())->stream());
}

TEST_F(ProfileExportTest, AFolderThatCannotTakeNewFilesRefusesTheExport)
{
    ASSERT_TRUE(test::writeFile(target() + "/plain", "a file, not a folder"));
    struct Case {
        const char* what;
        QString folder;
    };
    const Case cases[] = {
        {"a missing folder", target() + "/Missing"},
        {"a file instead of a folder", target() + "/plain"},
        {"no folder at all", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(FolderTakesNewFiles(c.folder));
        const QString file = c.folder.isEmpty() ? QStringLiteral("Shooter.pfd") : c.folder + "/Shooter.pfd";
        EXPECT_EQ(ExportCurrentProfile(*dm, file), ProfileExportResult::NoPermission);
    }
    EXPECT_EQ(entries(), QStringList{"plain"});
}

TEST_F(ProfileExportTest, AReadOnlyFolderRefusesTheExportAndIsLeftAsItWas)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ASSERT_TRUE(QFile::setPermissions(target(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_FALSE(FolderTakesNewFiles(target()));
    EXPECT_EQ(ExportCurrentProfile(*dm, target() + "/Shooter.pfd"), ProfileExportResult::NoPermission);
    QFile::setPermissions(target(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(entries().isEmpty());
}

} // namespace

TEST_F(ProfileExportTest, NamesUpToTheFileSystemsLimitAreExported)
{
    for (const int bytes : {245, 250, 255}) {
        const QString name = QString(bytes - 4, QLatin1Char('x')) + QStringLiteral(".pfd");
        const QString file = target() + "/" + name;
        EXPECT_EQ(ExportCurrentProfile(*dm, file), ProfileExportResult::Saved) << bytes;
        EXPECT_EQ(test::readFile(file).size(), qsizetype(sizeof(TMOUSEPROFILEINFO))) << bytes;
    }
    EXPECT_EQ(entries().size(), 3) << "no temporary file is left";
}
