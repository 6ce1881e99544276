#include "platform/storage/AtomicFile.h"
#include "platform/storage/StorageError.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <csignal>

#include <sys/stat.h>
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

// A file that already holds the bytes keeps its inode and is not synced
// again; any difference, even in the last byte or the length, is written.
TEST_F(AtomicFileTest, AFileThatHoldsTheBytesAlreadyIsLeftAsItIs)
{
    QByteArray lastByteDiffers = oldContent();
    lastByteDiffers.back() = 'x';
    const struct {
        const char* name;
        QByteArray bytes;
        bool written;
    } cases[] = {
        {"the same bytes", oldContent(), false},
        {"the last byte differs", lastByteDiffers, true},
        {"one byte longer", oldContent() + 'o', true},
        {"one byte shorter", oldContent().chopped(1), true},
        {"empty", QByteArray(), true},
    };
    auto inode = [this] {
        struct stat info {};
        return ::stat(QFile::encodeName(target()).constData(), &info) == 0 ? info.st_ino : ino_t(0);
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(test::writeFile(target(), oldContent()));
        const ino_t before = inode();
        int stages = 0;
        setAtomicWriteProbe([&](AtomicWriteStage, const QString&) { return ++stages, 0; });
        EXPECT_EQ(writeFileAtomicallyIfChanged(target(), c.bytes), c.written) << c.name;
        EXPECT_EQ(test::readFile(target()), c.bytes) << c.name;
        EXPECT_EQ(inode() != before, c.written) << c.name;
        EXPECT_EQ(stages, c.written ? 4 : 0) << c.name;
        EXPECT_EQ(filesInFolder(), QStringList{"Profile1.pfd"}) << c.name;
    }

    // A missing file is created; a read-only one is refused even when it holds the bytes.
    setAtomicWriteProbe({});
    EXPECT_TRUE(writeFileAtomicallyIfChanged(folder() + "/New.pfd", oldContent()));
    EXPECT_EQ(test::readFile(folder() + "/New.pfd"), oldContent());
    ASSERT_TRUE(QFile::setPermissions(target(), QFile::ReadOwner));
    EXPECT_THROW(writeFileAtomicallyIfChanged(target(), oldContent()), StorageError);
    EXPECT_THROW(writeFileAtomicallyIfChanged(folder(), QByteArray()), StorageError);
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

TEST_F(AtomicFileTest, AnotherUsersLinkInAStickySharedFolderIsNotFollowed)
{
    // The kernel's protected-symlinks rule: in a sticky, world-writable folder
    // a link is followed only when it belongs to the follower or to the folder's owner.
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a link of another user needs the superuser";
    const uid_t other = 54321;
    const QString victim = env.path("victim.txt");
    struct Case {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool followed;
    };
    const Case cases[] = {
        {"own link in /tmp-like folder", 01777, 0, 0, true},
        {"another user's link in /tmp-like folder", 01777, 0, other, false},
        {"link of the folder's owner", 01777, other, other, true},
        {"another user's link, folder not sticky", 0777, 0, other, true},
        {"another user's link, sticky but not world-writable", 01775, 0, other, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString shared = env.path(QStringLiteral("shared%1").arg(++n));
        ASSERT_TRUE(QDir().mkpath(shared));
        ASSERT_TRUE(test::writeFile(victim, oldContent()));
        const QByteArray link = QFile::encodeName(shared + "/shared.pfd");
        ASSERT_EQ(::symlink(QFile::encodeName(victim).constData(), link.constData()), 0);
        ASSERT_EQ(::lchown(link.constData(), c.linkOwner, c.linkOwner), 0);
        ASSERT_EQ(::chown(QFile::encodeName(shared).constData(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), c.folderMode), 0);

        if (c.followed) {
            EXPECT_NO_THROW(writeFileAtomically(shared + "/shared.pfd", newContent())) << c.what;
            EXPECT_EQ(test::readFile(victim), newContent()) << c.what;
        } else {
            try {
                writeFileAtomically(shared + "/shared.pfd", newContent());
                ADD_FAILURE() << c.what << ": the link was followed";
            } catch (const StorageError& error) {
                EXPECT_TRUE(error.message().contains("another user's symbolic link")) << error.message().toStdString();
            }
            EXPECT_EQ(test::readFile(victim), oldContent()) << c.what;
        }
        EXPECT_TRUE(QFileInfo(shared + "/shared.pfd").isSymLink()) << c.what;
    }
}

TEST_F(AtomicFileTest, FileNamesUpToTheLimitCanBeWritten)
{
    struct Case {
        const char* what;
        QString name;
    };
    const Case cases[] = {
        {"255 ASCII bytes", QString(251, QLatin1Char('p')) + ".pfd"},
        {"245 ASCII bytes", QString(241, QLatin1Char('p')) + ".pfd"},
        {"254 bytes of two-byte characters", QString(125, QChar(0x00E9)) + ".pfd"},
        {"253 bytes, a three-byte character across the cut", "p" + QString(83, QChar(0x20AC)) + ".pfd"},
    };
    for (const Case& c : cases) {
        ASSERT_LE(QFile::encodeName(c.name).size(), NAME_MAX) << c.what;
        QString temporary;
        setAtomicWriteProbe([&](AtomicWriteStage stage, const QString& path) {
            if (stage == AtomicWriteStage::Write)
                temporary = path;
            return 0;
        });
        const QString path = folder() + "/" + c.name;
        EXPECT_NO_THROW(writeFileAtomically(path, newContent())) << c.what;
        EXPECT_EQ(test::readFile(path), newContent()) << c.what;
        EXPECT_LE(QFile::encodeName(QFileInfo(temporary).fileName()).size(), NAME_MAX) << c.what;
        EXPECT_TRUE(QFileInfo(temporary).fileName().startsWith(temporaryNamePrefix(c.name))) << c.what;
    }
}

TEST_F(AtomicFileTest, OnlyStaleTemporaryFilesOfOurOwnWritesAreRemoved)
{
    const QString longName = QString(251, QLatin1Char('p')) + ".pfd";
    struct Case {
        QString name;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {".Profile1.pfd.1k3z9q.tmp", true, true},
        {".Profile1.pfd.0.tmp", true, true},
        {temporaryNamePrefix(longName) + "abc.tmp", true, true},
        {".Reload.macro.zz12.tmp", true, true},            // any macro file's
        {".Profile1.pfd.1k3z9q.tmp.keep", true, false},
        {".Profile1.pfd.1k3z9q.tmp", false, false},        // a save under way elsewhere (set below: fresh)
        {".Profile2.pfd.ABC.tmp", true, false},             // not our digits
        {".Profile2.pfd.12345678.tmp", true, false},        // too many digits
        {".notes.txt.abc.tmp", true, false},                // not one of our files
        {"Profile2.pfd.abc.tmp", true, false},              // not hidden
        {"Reload.macro.zz12.tmp", true, false},             // a macro file's, not hidden
        {".Profile2.pfd.abc.TMP", true, false},             // not our ending
        {".Profile2.pfd..tmp", true, false},
    };
    const QString shared = env.path("mixed");
    ASSERT_TRUE(QDir().mkpath(shared));
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    int n = 0;
    QStringList expectedRemoved;
    for (const Case& c : cases) {
        // Two cases share a name: the second lives in a folder of its own.
        const QString dir = c.old ? shared : env.path(QStringLiteral("fresh%1").arg(++n));
        ASSERT_TRUE(QDir().mkpath(dir));
        ASSERT_TRUE(test::writeFile(dir + "/" + c.name, "x"));
        if (c.old) {
            QFile f(dir + "/" + c.name);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(hourAgo, QFileDevice::FileModificationTime));
        }
        if (c.removed)
            expectedRemoved << c.name;
    }
    // A link of our pattern is never followed or removed.
    ASSERT_TRUE(QFile::link(target(), shared + "/.Profile3.pfd.abc.tmp"));

    const QStringList names{"Profile1.pfd", "Profile2.pfd", "Profile3.pfd", longName};
    QStringList removed = removeStaleTemporaryFiles(shared, names, ".macro");
    removed.sort();
    expectedRemoved.sort();
    EXPECT_EQ(removed, expectedRemoved);
    for (const Case& c : cases) {
        if (c.old) {
            EXPECT_EQ(QFileInfo::exists(shared + "/" + c.name), !c.removed) << c.name.toStdString();
        }
    }
    EXPECT_TRUE(QFileInfo(shared + "/.Profile3.pfd.abc.tmp").isSymLink());
    EXPECT_TRUE(removeStaleTemporaryFiles(env.path("fresh1"), names, ".macro").isEmpty());
    EXPECT_TRUE(QFileInfo::exists(target()));
}
