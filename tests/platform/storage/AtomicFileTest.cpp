#include "platform/storage/AtomicFile.h"
#include "platform/storage/StorageError.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>

#include <unistd.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(folder());
        ASSERT_TRUE(test::writeFile(target(), oldContent()));
    }
    void TearDown() override { setAtomicWriteProbe({}); }

    QString folder() const { return env.path("profiles"); }
    QString target() const { return folder() + "/Profile1.pfd"; }
    static QByteArray oldContent() { return QByteArray(109888, 'o'); }
    static QByteArray newContent() { return QByteArray(109888, 'n'); }
    QStringList filesInFolder() const { return QDir(folder()).entryList(QDir::Files | QDir::Hidden); }

    TestEnvironment env;
};

} // namespace

TEST_F(AtomicFileTest, CreatesAndReplacesKeepingPermissions)
{
    ASSERT_TRUE(QFile::setPermissions(target(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    writeFileAtomically(target(), newContent());
    EXPECT_EQ(test::readFile(target()), newContent());
    EXPECT_EQ(QFile::permissions(target()) & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

    writeFileAtomically(folder() + "/New.pfd", QByteArray());
    EXPECT_TRUE(QFile::exists(folder() + "/New.pfd"));
    EXPECT_EQ(filesInFolder(), (QStringList{"New.pfd", "Profile1.pfd"}));
}

TEST_F(AtomicFileTest, FailureAtAnyStageLeavesTheOldFileAndNoTemporary)
{
    const AtomicWriteStage stages[] = {AtomicWriteStage::Write, AtomicWriteStage::Sync, AtomicWriteStage::Rename};
    for (AtomicWriteStage failing : stages) {
        setAtomicWriteProbe(
            [failing](AtomicWriteStage stage, const QString&) { return stage == failing ? ENOSPC : 0; });
        try {
            writeFileAtomically(target(), newContent());
            ADD_FAILURE() << "a failed write was reported as done, stage " << int(failing);
        } catch (const StorageError& error) {
            EXPECT_TRUE(error.message().contains("Profile1.pfd"));
            EXPECT_TRUE(error.message().contains("unchanged"));
        }
        EXPECT_EQ(test::readFile(target()), oldContent()) << int(failing);
        EXPECT_EQ(filesInFolder(), QStringList{"Profile1.pfd"}) << int(failing);
    }
}

TEST_F(AtomicFileTest, FolderReadOnlyFileOrMissingFolderAsTargetIsAnError)
{
    EXPECT_THROW(writeFileAtomically(folder(), newContent()), StorageError);
    ASSERT_TRUE(QFile::setPermissions(target(), QFile::ReadOwner));
    EXPECT_THROW(writeFileAtomically(target(), newContent()), StorageError);
    EXPECT_EQ(test::readFile(target()), oldContent());
    EXPECT_THROW(writeFileAtomically(env.path("missing/Profile1.pfd"), newContent()), StorageError);
}

TEST_F(AtomicFileTest, KilledBetweenWriteAndRenameLeavesThePreviousFile)
{
    EXPECT_EXIT(
        {
            setAtomicWriteProbe([](AtomicWriteStage stage, const QString&) {
                if (stage == AtomicWriteStage::Rename)
                    std::raise(SIGKILL);
                return 0;
            });
            writeFileAtomically(target(), newContent());
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(test::readFile(target()), oldContent());

    // The crash left its complete temporary file behind; it is in nobody's way.
    writeFileAtomically(target(), newContent());
    EXPECT_EQ(test::readFile(target()), newContent());
}

TEST_F(AtomicFileTest, UnusableFileIsMovedAsideUnderAFreshName)
{
    const QString first = moveFileAside(target());
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(first.startsWith(target() + ".damaged-"));
    EXPECT_EQ(test::readFile(first), oldContent());
    EXPECT_FALSE(QFile::exists(target()));

    ASSERT_TRUE(test::writeFile(target(), "again"));
    const QString second = moveFileAside(target());
    EXPECT_NE(second, first);
    EXPECT_EQ(test::readFile(second), "again");
    EXPECT_TRUE(moveFileAside(target()).isEmpty()); // nothing left to move
}

TEST_F(AtomicFileTest, ALinkStaysALinkAndItsTargetIsReplacedInItsOwnFolder)
{
    // Users keep profiles in a synced folder and link them into place.
    const QString synced = env.path("synced");
    ASSERT_TRUE(QDir().mkpath(synced));
    struct Case {
        const char* what;
        QString linkTo;   // what the link in the profile folder points at
        QString target;   // the file that must receive the bytes
    };
    const Case cases[] = {
        {"absolute", synced + "/a.pfd", synced + "/a.pfd"},
        {"relative", "../synced/b.pfd", synced + "/b.pfd"},
        {"beside", folder() + "/Profile1.pfd", target()},
        {"chain", folder() + "/absolute.pfd", synced + "/a.pfd"},   // a link to the first link
        {"dangling", synced + "/new.pfd", synced + "/new.pfd"},
    };
    for (const Case& c : cases) {
        if (QString(c.what) != "dangling" && !QFileInfo::exists(c.target)) {
            ASSERT_TRUE(test::writeFile(c.target, oldContent()));
        }
        const QString link = folder() + "/" + c.what + ".pfd";
        ASSERT_TRUE(QFile::link(c.linkTo, link)) << c.what;
        QString temporary;
        setAtomicWriteProbe([&](AtomicWriteStage stage, const QString& path) {
            if (stage == AtomicWriteStage::Write)
                temporary = path;
            return 0;
        });

        writeFileAtomically(link, newContent());

        EXPECT_TRUE(QFileInfo(link).isSymLink()) << c.what;
        char raw[4096] = {};
        ASSERT_GT(::readlink(QFile::encodeName(link).constData(), raw, sizeof raw - 1), 0) << c.what;
        EXPECT_EQ(QString::fromLocal8Bit(raw), c.linkTo) << c.what << ": the link itself is untouched";
        EXPECT_EQ(test::readFile(c.target), newContent()) << c.what;
        EXPECT_EQ(QFileInfo(QFileInfo(temporary).absolutePath()).canonicalFilePath(),
                  QFileInfo(c.target).dir().canonicalPath())
            << c.what << ": the temporary file lies beside the target, so the rename cannot cross file systems";
        EXPECT_FALSE(QFileInfo::exists(temporary)) << c.what;
        ASSERT_TRUE(test::writeFile(target(), oldContent()));
    }
}

TEST_F(AtomicFileTest, AFolderThatTakesNoNewFilesIsNamedAndTheFileIsKept)
{
    // The file itself may be writable while its folder is not; the replacement
    // needs a new file in the folder, so the error says which folder.
    setAtomicWriteProbe([](AtomicWriteStage stage, const QString&) {
        return stage == AtomicWriteStage::Create ? EACCES : 0;
    });
    try {
        writeFileAtomically(target(), newContent());
        ADD_FAILURE() << "the write was reported as done";
    } catch (const StorageError& error) {
        EXPECT_TRUE(error.message().contains("\"" + folder() + "\"")) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains("new files")) << error.message().toStdString();
    }
    EXPECT_EQ(test::readFile(target()), oldContent());
    setAtomicWriteProbe({});

    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may create files in any folder";
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_THROW(writeFileAtomically(target(), newContent()), StorageError);
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(test::readFile(target()), oldContent());
    EXPECT_EQ(filesInFolder(), QStringList{"Profile1.pfd"});
}
