#include "MacroTestSupport.h"
#include "TestEnvironment.h"

#include "macros/MacroClass.h"
#include "macros/MacroFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace k4812;
using namespace k4812::test;

namespace {

class MacroFiles : public ::testing::Test {
protected:
    QString folder() const { return env.path("Profile1_Macros"); }
    QString fileOf(const QString& name) const { return macroFilePath(folder(), name); }
    QStringList filesIn(const QString& path) const
    {
        return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    bool save(const TMACROKEYINFOLIST& list)
    {
        error.clear();
        return TuiMacroClass::SaveMacroKeyInfoListToMacroFiles(list, folder(), error);
    }

    TestEnvironment env;
    QString error;
};

} // namespace

TEST_F(MacroFiles, EachMacroIsItsRecordByteForByte)
{
    TMACROKEYINFO a = makeMacro("alpha", {keyDown('A'), makeDelayAction(300), keyUp('A')});
    a.nLoopCount = 7;
    a.nAutoAddDelay = 1;
    a.MacroUse = 0xAB;
    a.pad0 = 0xCD;
    a.HaveErrors = 1;
    a.ErrorCount = 3;
    for (int i = 3; i < kMacroActionCapacity; ++i)   // stale entries are written too
        a.MacroList[i] = makeMacroAction(std::uint16_t(i), 9, std::uint8_t(i), 0x5A);
    const auto list = makeMacroList({a, makeMacro("beta")});
    ASSERT_TRUE(save(*list)) << error.toStdString();

    EXPECT_EQ(filesIn(folder()), (QStringList{"alpha.macro", "beta.macro"}));
    for (int i = 0; i < 2; ++i) {
        const QByteArray bytes = readFile(fileOf(macroNameOf(list->MacroInfos[i])));
        EXPECT_EQ(bytes.size(), 892);
        EXPECT_EQ(bytes, recordToBytes(list->MacroInfos[i]));
    }
}

TEST_F(MacroFiles, AValidFileReadsBackIdentically)
{
    TMACROKEYINFO macro = makeMacro("round trip", {keyDown('Q', 1), keyUp('Q', 1)});
    macro.Version = kMacroFileVersion;
    macro.MacroList[100] = keyDown(0x77);
    ASSERT_TRUE(save(*makeMacroList({macro})));
    TMACROKEYINFO read = makeMacro("untouched");
    ASSERT_EQ(readMacroFile(fileOf("round trip"), read, error), MacroFileRead::Read) << error.toStdString();
    EXPECT_EQ(recordToBytes(read), recordToBytes(macro));

    // The reader takes the first 892 bytes of a longer file.
    QByteArray longer = recordToBytes(macro) + "trailing bytes";
    ASSERT_TRUE(writeFile(env.path("longer.macro"), longer));
    std::memset(&read, 0, sizeof read);
    ASSERT_EQ(readMacroFile(env.path("longer.macro"), read, error), MacroFileRead::Read);
    EXPECT_EQ(recordToBytes(read), recordToBytes(macro));
}

TEST_F(MacroFiles, TheReaderRefusesWhatIsNotAMacroFileAndKeepsItsRecord)
{
    TMACROKEYINFO valid = makeMacro("v");
    valid.Version = kMacroFileVersion;
    TMACROKEYINFO oldVersion = valid;
    oldVersion.Version = 258;
    TMACROKEYINFO badCount = valid;
    badCount.MacroListCount = kMacroActionCapacity + 1;
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"short", recordToBytes(valid).left(891)},
        {"empty", QByteArray()},
        {"version 258", recordToBytes(oldVersion)},
        {"129 actions", recordToBytes(badCount)},
    };
    const TMACROKEYINFO before = makeMacro("before", {keyDown('B')});
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFile(env.path("x.macro"), c.bytes));
        TMACROKEYINFO read = before;
        error.clear();
        EXPECT_EQ(readMacroFile(env.path("x.macro"), read, error), MacroFileRead::Invalid) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
        EXPECT_EQ(recordToBytes(read), recordToBytes(before)) << c.what;
    }
    TMACROKEYINFO read = before;
    EXPECT_EQ(readMacroFile(env.path("missing.macro"), read, error), MacroFileRead::Missing);
    EXPECT_EQ(recordToBytes(read), recordToBytes(before));
}

TEST_F(MacroFiles, DeletingAMiddleActionWritesTheStaleLastEntry)
{
    QString loadError;
    auto macros = TuiMacroClass::CtlCreate(
        *makeMacroList({makeMacro("abc", {keyDown('A'), keyDown('B'), keyDown('C')})}), loadError);
    ASSERT_TRUE(macros);
    macros->SetMacroListIndex(0);
    ASSERT_TRUE(macros->CurrentMacroAction()->DeleteAction(1));
    auto list = makeZeroRecord<TMACROKEYINFOLIST>();
    macros->GetMacroKeyInfoList(*list);
    ASSERT_TRUE(save(*list)) << error.toStdString();

    const QByteArray bytes = readFile(fileOf("abc"));
    ASSERT_EQ(bytes.size(), 892);
    TMACROKEYINFO written;
    copyBytesIntoRecord(written, bytes);
    EXPECT_EQ(written.MacroListCount, 2);
    EXPECT_EQ(keysOf(written, 3), (std::vector<int>{'A', 'C', 'C'}));
}

TEST_F(MacroFiles, AFiftyUnitNameNamesTheFileWhole)
{
    const QString fifty = QString(kMacroNameUnits - 1, QLatin1Char('m')) + QLatin1Char('Z');
    ASSERT_TRUE(save(*makeMacroList({makeMacro(fifty)})));
    ASSERT_TRUE(QFileInfo::exists(folder() + "/" + fifty + ".macro"));
    const QByteArray bytes = readFile(fileOf(fifty));
    EXPECT_EQ(bytes.at(878), 'Z');
    EXPECT_EQ(bytes.at(879), 0);
    EXPECT_FALSE(bytes.mid(780, 100).contains(QByteArray(2, '\0'))) << "no NUL unit in the name field";
}

TEST_F(MacroFiles, NoMacrosNoFolder)
{
    ASSERT_TRUE(save(*makeMacroList({})));
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

TEST_F(MacroFiles, TheFolderIsCreatedOneLevelOnly)
{
    const auto list = makeMacroList({makeMacro("a")});
    error.clear();
    EXPECT_FALSE(TuiMacroClass::SaveMacroKeyInfoListToMacroFiles(*list, env.path("missing/Macros"), error));
    EXPECT_TRUE(error.contains("parent folder does not exist")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(env.path("missing")));

    ASSERT_TRUE(TuiMacroClass::SaveMacroKeyInfoListToMacroFiles(*list, folder() + "/", error));
    EXPECT_TRUE(QFileInfo::exists(folder() + "/a.macro"));

    error.clear();
    EXPECT_FALSE(TuiMacroClass::SaveMacroKeyInfoListToMacroFiles(*list, QString(), error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(MacroFiles, TheWriterReplacesButNeverDeletes)
{
    ASSERT_TRUE(save(*makeMacroList({makeMacro("kept"), makeMacro("changed")})));
    ASSERT_TRUE(QFile::setPermissions(fileOf("changed"), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    const TMACROKEYINFO changed = makeMacro("changed", {keyDown('N')});
    ASSERT_TRUE(save(*makeMacroList({changed})));

    EXPECT_EQ(filesIn(folder()), (QStringList{"changed.macro", "kept.macro"})) << "and no temporary file is left";
    EXPECT_EQ(readFile(fileOf("changed")), recordToBytes(changed));
    const QFile::Permissions ownerGroupOther(0x70FF);   // without the "user" bits, which Qt derives
    EXPECT_EQ(QFile::permissions(fileOf("changed")) & ownerGroupOther,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
}

TEST_F(MacroFiles, AFailedWriteStopsAndNamesTheFileKeepingEarlierOnes)
{
    ASSERT_TRUE(QDir().mkpath(fileOf("b")));   // a folder where b's file would go
    ASSERT_FALSE(save(*makeMacroList({makeMacro("a"), makeMacro("b"), makeMacro("c")})));
    EXPECT_TRUE(error.contains(fileOf("b"))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(fileOf("a")).isFile());
    EXPECT_TRUE(QFileInfo(fileOf("b")).isDir());
    EXPECT_FALSE(QFileInfo::exists(fileOf("c")));
}

TEST_F(MacroFiles, AReadOnlyFileIsNotReplaced)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser may write any file";
    ASSERT_TRUE(save(*makeMacroList({makeMacro("ro")})));
    const QByteArray before = readFile(fileOf("ro"));
    ASSERT_TRUE(QFile::setPermissions(fileOf("ro"), QFile::ReadOwner));
    EXPECT_FALSE(save(*makeMacroList({makeMacro("ro", {keyDown('R')})})));
    EXPECT_TRUE(error.contains("read-only")) << error.toStdString();
    EXPECT_EQ(readFile(fileOf("ro")), before);
}

TEST_F(MacroFiles, ALinkedFileStaysALinkAndItsTargetIsReplaced)
{
    // Users keep macros in a synced folder and link them into the macro folder.
    const QString synced = env.path("Synced");
    ASSERT_TRUE(QDir().mkpath(synced));
    ASSERT_TRUE(writeFile(synced + "/linked.macro", "old"));
    ASSERT_TRUE(QDir().mkpath(folder()));
    ASSERT_TRUE(QFile::link(synced + "/linked.macro", fileOf("linked")));
    const TMACROKEYINFO macro = makeMacro("linked", {keyDown('L')});
    ASSERT_TRUE(save(*makeMacroList({macro}))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(fileOf("linked")).isSymLink());
    EXPECT_EQ(readFile(synced + "/linked.macro"), recordToBytes(macro));
    EXPECT_EQ(filesIn(synced), QStringList{"linked.macro"}) << "no temporary file is left beside the target";
}

TEST_F(MacroFiles, NamesThatCannotNameAFileAreReportedAndTheOthersAreStillWritten)
{
    const QString refused[] = {
        "../x", "a/b", "/etc/x", QString(QChar(0xD83D)) + "x",
        "x" + QString(QChar(0xDE00)),
    };
    for (const QString& name : refused) {
        error.clear();
        EXPECT_FALSE(save(*makeMacroList({makeMacro("first"), makeMacro(name), makeMacro("last")})))
            << name.toStdString();
        EXPECT_TRUE(error.contains("cannot be used as a file name")) << error.toStdString();
        EXPECT_TRUE(error.contains("macro 2")) << error.toStdString();
        EXPECT_TRUE(QFileInfo(fileOf("first")).isFile()) << name.toStdString();
        EXPECT_TRUE(QFileInfo(fileOf("last")).isFile()) << name.toStdString();
        EXPECT_FALSE(QFileInfo::exists(env.path("x.macro")));
        EXPECT_EQ(filesIn(folder()), (QStringList{"first.macro", "last.macro"})) << name.toStdString();
    }
}

TEST_F(MacroFiles, TheNameCheckRefusesOnlyWhatCannotBeAFileName)
{
    struct Case {
        QString name;
        const char* problem;   // nullptr: usable
    };
    const Case cases[] = {
        {"", nullptr},     // ".macro"
        {".", nullptr},    // "..macro"
        {"..", nullptr},   // "...macro"
        {QString(50, QChar(0x5B8F)), nullptr},                 // 150 bytes in UTF-8
        {"a/b", "\"/\""},
        {QString("a") + QChar(0) + "b", "NUL"},
        {QString(QChar(0xD83D)), "surrogate"},
        {QString(84, QChar(0x5B8F)), "too long"},              // 252 bytes and ".macro"
    };
    for (const Case& c : cases) {
        error.clear();
        EXPECT_EQ(isUsableMacroFileName(c.name, error), c.problem == nullptr) << c.name.toStdString();
        if (c.problem != nullptr) {
            EXPECT_TRUE(error.contains(c.problem)) << error.toStdString();
        }
    }
    // A usable name is usable in a list too.
    ASSERT_TRUE(save(*makeMacroList({makeMacro(""), makeMacro("."), makeMacro("..")}))) << error.toStdString();
    EXPECT_EQ(filesIn(folder()), (QStringList{"...macro", "..macro", ".macro"}));
    EXPECT_FALSE(QFileInfo::exists(env.path("Profile1_Macros.macro")));

    // The macro manager's entry refuses the same names.
    TuiMacroClass macros;
    EXPECT_FALSE(macros.CreateNewMacro("a/b"));
    EXPECT_TRUE(macros.CreateNewMacro(""));
    EXPECT_TRUE(macros.CreateNewMacro(".."));
    EXPECT_EQ(macros.MacroListCount(), 2);
}

TEST_F(MacroFiles, OtherNamesAreUsedAsTheyAre)
{
    const QString names[] = {"..x", ".hidden", "back\\slash", "a b", "C:x", "\xE5\xAE\x8F", "\xF0\x9F\x98\x80"};
    auto list = makeZeroRecord<TMACROKEYINFOLIST>();
    int i = 0;
    for (const QString& name : names)
        list->MacroInfos[i++] = makeMacro(name);
    list->nMacroInfoCount = std::uint16_t(i);
    ASSERT_TRUE(save(*list)) << error.toStdString();
    for (const QString& name : names)
        EXPECT_TRUE(QFileInfo(folder() + "/" + name + ".macro").isFile()) << name.toStdString();
    EXPECT_EQ(filesIn(folder()).size(), i);
}

TEST_F(MacroFiles, ListsOutsideTheDataModelWriteNothing)
{
    auto tooMany = makeMacroList({makeMacro("a")});
    tooMany->nMacroInfoCount = kMacroListCapacity + 1;
    auto badCount = makeMacroList({makeMacro("a"), makeMacro("b")});
    badCount->MacroInfos[1].MacroListCount = -5;
    EXPECT_FALSE(save(*tooMany));
    EXPECT_FALSE(save(*badCount));
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

TEST_F(MacroFiles, TheFirstFileOfANewMacroIsAnEmptyVersion259Record)
{
    const QString sixty = QString(60, QLatin1Char('k'));
    ASSERT_TRUE(writeNewMacroFile(folder(), sixty, ExistingMacroFile::Replace, error)) << error.toStdString();
    const QString fifty = sixty.left(kMacroNameUnits);
    TMACROKEYINFO read;
    ASSERT_EQ(readMacroFile(fileOf(fifty), read, error), MacroFileRead::Read) << error.toStdString();
    TMACROKEYINFO expected = makeMacro(fifty);
    expected.Version = 259;
    EXPECT_EQ(recordToBytes(read), recordToBytes(expected));
}

TEST_F(MacroFiles, TheFirstFileCanLeaveAnExistingFileAlone)
{
    const TMACROKEYINFO recorded = makeMacro("used", {keyDown('U'), keyUp('U')});
    ASSERT_TRUE(save(*makeMacroList({recorded})));
    ASSERT_TRUE(writeNewMacroFile(folder(), "used", ExistingMacroFile::Keep, error));
    EXPECT_EQ(readFile(fileOf("used")), recordToBytes(recorded));
    ASSERT_TRUE(writeNewMacroFile(folder(), "used", ExistingMacroFile::Replace, error));
    TMACROKEYINFO read;
    ASSERT_EQ(readMacroFile(fileOf("used"), read, error), MacroFileRead::Read);
    EXPECT_EQ(read.MacroListCount, 0);

    for (const QString& name : {QString("../x"), QString("a") + QChar(0) + "b"}) {
        error.clear();
        EXPECT_FALSE(writeNewMacroFile(folder(), name, ExistingMacroFile::Replace, error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(env.path("x.macro")));
    EXPECT_EQ(filesIn(folder()), QStringList{"used.macro"});
}
