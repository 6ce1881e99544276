#include "platform/storage/Registry.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/ProfileFileActions.h"
#include "records/RecordBytes.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <cstring>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

constexpr qsizetype kProfileBytes = qsizetype(sizeof(TMOUSEPROFILEINFO));

class ProfileFileActionsTest : public ::testing::Test {
protected:
    ProfileFileActionsTest()
    {
        TDM::Options options;
        options.languageId = QStringLiteral("0409");
        options.configFile = env.path("program/config.ini");
        dm = std::make_unique<TDM>(options);
    }

    // A profile file: the default profile with report rate `rate`, padded to `size` bytes.
    QByteArray profileBytes(int rate, qsizetype size = kProfileBytes)
    {
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        applyProfileDefaults(*profile);
        profile->ConfigInfo.ReportRate = std::uint16_t(rate);
        QByteArray bytes = recordToBytes(*profile);
        for (qsizetype i = bytes.size(); i < size; ++i)
            bytes.append(char(i % 251));
        return bytes;
    }

    std::optional<Registry::Value> registryValue(const QString& name)
    {
        return dm->registry().readValue(HKEY_CURRENT_USER, QString::fromLatin1(kProfileKeyPath), name);
    }

    TestEnvironment env;
    std::unique_ptr<TDM> dm;
};

} // namespace

TEST_F(ProfileFileActionsTest, ALongProfileFileIsImportedAndExportedWhole)
{
    const QString chosen = env.path("elsewhere/Mine.pfd");
    const QByteArray bytes = profileBytes(250, 200000);
    ASSERT_TRUE(test::writeFile(chosen, bytes));
    ASSERT_TRUE(dm->SaveCurrentProfileInfoToRegistry());
    const auto oldValue = registryValue(QStringLiteral("Profile1.pfd"));
    ASSERT_TRUE(oldValue);

    ASSERT_TRUE(ImportProfileFile(*dm, chosen).done());
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 250);
    EXPECT_EQ(dm->FProfileGroup(0)->Size(), 200000);
    EXPECT_EQ(dm->FProfileGroup(0)->FileName(), QStringLiteral("Mine.pfd"));
    const auto newValue = registryValue(QStringLiteral("Mine.pfd"));
    ASSERT_TRUE(newValue) << "the registry value is named after the chosen file";
    EXPECT_EQ(newValue->data, bytes);
    EXPECT_EQ(registryValue(QStringLiteral("Profile1.pfd"))->data, oldValue->data) << "the old value stays";
    EXPECT_EQ(dm->FProfileSettingGroup().ProfileSettingList[0].FileName.toString(), QStringLiteral("Mine.pfd"));

    ASSERT_TRUE(QDir().mkpath(env.path("out")));
    const QString exported = env.path("out/Copy.pfd");
    ASSERT_TRUE(ExportProfileFile(*dm, exported).done());
    EXPECT_EQ(test::readFile(exported), bytes);
    EXPECT_EQ(dm->FProfileGroup(0)->FileName(), QStringLiteral("Mine.pfd")) << "export does not rebind";
}

TEST_F(ProfileFileActionsTest, FilesThatAreNoProfilesChangeNothing)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        ProfileFileStatus status;
        const char* named = "";   // a field the problem names
    };
    QByteArray wrongVersion = profileBytes(250);
    wrongVersion[0] = 4;
    // Full-length files that pass the version check but hold what no edit stores.
    const auto configAt = [](std::size_t offset) {
        return qsizetype(offsetof(TMOUSEPROFILEINFO, ConfigInfo) + offset);
    };
    QByteArray manyLevels = profileBytes(250);
    manyLevels[configAt(offsetof(TMOUSECONFIGINFO, CPILevel))] = char(255);
    QByteArray disabledClick = profileBytes(250);
    disabledClick[configAt(offsetof(TBUTTONFUNCINFO, FunctionIndex))] = char(kRowDisable);
    QByteArray noise(kProfileBytes, Qt::Uninitialized);
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    std::memcpy(noise.data(), &kProfileFileVersion, sizeof kProfileFileVersion);
    const Case cases[] = {
        {"two-bytes.pfd", QByteArray("\x03\x01", 2), ProfileFileStatus::NotAProfile},
        {"wrong.pfd", wrongVersion, ProfileFileStatus::NotAProfile},
        {"short.pfd", profileBytes(250).left(1000), ProfileFileStatus::NotAProfile},
        {"absent.pfd", QByteArray(), ProfileFileStatus::Missing},
        {"levels.pfd", manyLevels, ProfileFileStatus::NotAProfile, "CPILevel"},
        {"noclick.pfd", disabledClick, ProfileFileStatus::NotAProfile, "ButtonFuncInfo[0].FunctionIndex"},
        {"noise.pfd", noise, ProfileFileStatus::NotAProfile, "ButtonCount"},
    };
    const QByteArray before = dm->FProfileGroup(0)->stream();
    for (const Case& c : cases) {
        const QString file = env.path(QStringLiteral("in/%1").arg(QLatin1String(c.name)));
        if (!c.bytes.isEmpty()) {
            ASSERT_TRUE(test::writeFile(file, c.bytes));
        }
        EXPECT_EQ(ImportProfileFile(*dm, file).status, c.status) << c.name;
        EXPECT_EQ(LoadPresetProfile(*dm, file).status, c.status) << c.name;
        EXPECT_FALSE(ImportProfileFile(*dm, file).problem.isEmpty()) << c.name;
        EXPECT_TRUE(ImportProfileFile(*dm, file).problem.contains(QLatin1String(c.named))) << c.name;
        EXPECT_TRUE(LoadPresetProfile(*dm, file).problem.contains(QLatin1String(c.named))) << c.name;
        EXPECT_EQ(dm->FProfileGroup(0)->stream(), before) << c.name;
        EXPECT_EQ(dm->FProfileGroup(0)->FileName(), QStringLiteral("Profile1.pfd")) << c.name;
    }
}

TEST_F(ProfileFileActionsTest, APresetIsStoredUnderTheProfilesOwnName)
{
    const QString preset = PresetProfileFile(env.path("program"), 2);
    EXPECT_TRUE(preset.endsWith(QStringLiteral("/program/PresetProfile2.pfd")));
    ASSERT_TRUE(test::writeFile(preset, profileBytes(1000)));
    ASSERT_TRUE(dm->SwitchToProfile(3));

    ASSERT_TRUE(LoadPresetProfile(*dm, preset).done());
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 1000);
    EXPECT_EQ(dm->FProfileGroup(3)->FileName(), QStringLiteral("Profile4.pfd"));
    EXPECT_EQ(registryValue(QStringLiteral("Profile4.pfd"))->data, profileBytes(1000));
}

TEST_F(ProfileFileActionsTest, ExportNeedsAFolderThatTakesNewFilesOnly)
{
    // A folder named like the old write test does not stop the export.
    ASSERT_TRUE(QDir().mkpath(env.path("out/tmp2323")));
    ASSERT_TRUE(ExportProfileFile(*dm, env.path("out/A.pfd")).done());
    EXPECT_EQ(test::readFile(env.path("out/A.pfd")), dm->FProfileGroup(0)->stream());
    EXPECT_EQ(QDir(env.path("out")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"A.pfd", "tmp2323"}))
        << "the test folder is removed again";

    // A "folder" that is a file takes nothing (permissions do not hold for root).
    ASSERT_TRUE(test::writeFile(env.path("plain"), "x"));
    const ProfileFileResult refused = ExportProfileFile(*dm, env.path("plain/B.pfd"));
    EXPECT_EQ(refused.status, ProfileFileStatus::FolderNotWritable);
    EXPECT_FALSE(QFileInfo::exists(env.path("plain/B.pfd")));
}

TEST(ProfileFileSuffixTest, ANameWithoutSuffixGetsPfd)
{
    EXPECT_EQ(WithProfileFileSuffix(QStringLiteral("/a/b")), QStringLiteral("/a/b.pfd"));
    EXPECT_EQ(WithProfileFileSuffix(QStringLiteral("/a/b.pfd")), QStringLiteral("/a/b.pfd"));
    EXPECT_EQ(WithProfileFileSuffix(QStringLiteral("/a/b.bin")), QStringLiteral("/a/b.bin"));
    EXPECT_EQ(WithProfileFileSuffix(QString()), QString());
}
