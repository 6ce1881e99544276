#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileManager.h"
#include "records/RecordBytes.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>

#include <cerrno>
#include <functional>
#include <map>
#include <stdexcept>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

const QString kKey = QString::fromLatin1(kProfileKeyPath);
constexpr qsizetype kProfileBytes = qsizetype(sizeof(TMOUSEPROFILEINFO));

class ProfileManagerTest : public ::testing::Test {
protected:
    ~ProfileManagerTest() override { setAtomicWriteProbe({}); }

    std::unique_ptr<TDM> start(const QString& languageId = QStringLiteral("0409"))
    {
        TDM::Options options;
        options.languageId = languageId;
        options.configFile = env.path("program/config.ini");
        return std::make_unique<TDM>(options);
    }

    QString folder() const { return env.path("Documents/Gaming Mouse Profiles"); }
    QString profileFile(int n) const { return folder() + QStringLiteral("/Profile%1.pfd").arg(n); }

    // Every file below the temporary home with its bytes, except the registry
    // database, whose values are compared through registryValues().
    std::map<QString, QByteArray> documents() const
    {
        std::map<QString, QByteArray> files;
        const QDir docs(env.path("Documents"));
        for (const QString& name : QDir(folder()).entryList(QDir::Files | QDir::Hidden))
            files[name] = test::readFile(folder() + "/" + name);
        for (const QString& name : docs.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
            files[name] += QByteArray();
        return files;
    }

    std::map<QString, QByteArray> registryValues()
    {
        Registry registry;
        std::map<QString, QByteArray> values;
        for (const QString& name : registry.valueNames(HKEY_CURRENT_USER, kKey))
            values[name] = registry.readValue(HKEY_CURRENT_USER, kKey, name)->data;
        return values;
    }

    // Changes the stored group record, as another program might have.
    void editStoredGroup(const std::function<void(TProfileSettingGroup&)>& edit)
    {
        Registry registry;
        auto group = makeZeroRecord<TProfileSettingGroup>();
        copyBytesIntoRecord(*group, registry.readValue(HKEY_CURRENT_USER, kKey, TDM::kProfileSettingGroupName)->data);
        edit(*group);
        registry.writeBinary(HKEY_CURRENT_USER, kKey, TDM::kProfileSettingGroupName, recordToBytes(*group));
    }

    TestEnvironment env;
};

} // namespace

TEST_F(ProfileManagerTest, FirstStartCreatesTheProfileFilesAndBookkeepingValues)
{
    auto dm = start();
    EXPECT_TRUE(dm->notices().isEmpty()) << dm->notices().join('\n').toStdString();

    const auto values = registryValues();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values.at("ProfileAllSetting.pfd").size(), 30960);
    EXPECT_EQ(values.at("ProfileSettingGroup.pfd").size(), 30964);

    EXPECT_EQ(QDir(env.path("Documents")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{"Gaming Mouse Profiles"});
    EXPECT_EQ(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"Profile1.pfd", "Profile2.pfd", "Profile3.pfd", "Profile4.pfd", "Profile5.pfd"}));
    auto defaults = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*defaults);
    for (int n = 1; n <= 5; ++n) {
        const QByteArray bytes = test::readFile(profileFile(n));
        EXPECT_EQ(bytes.size(), kProfileBytes);
        EXPECT_TRUE(bytes.startsWith(QByteArray("\x03\x01\x00\x00", 4)));
        EXPECT_EQ(bytes, recordToBytes(*defaults));
    }

    EXPECT_EQ(dm->FProfileGroupIndex(), 0);
    EXPECT_EQ(dm->FProfileIndex(), 0);
    EXPECT_EQ(dm->FAllProfileSettingInfo().CurrentGame, 0);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
    EXPECT_EQ(dm->FUsageAndPage().UsagePage, 0xFFA0);
    EXPECT_EQ(dm->FUsageAndPage().Usage, 0x0001);
    // The stores know their folder already, so a save in this first session reaches the files.
    EXPECT_EQ(dm->FProfileGroup(2)->FilePath(), folder() + "/");
}

TEST_F(ProfileManagerTest, SecondStartLoadsWhatTheFirstStored)
{
    start();
    const auto files = documents();
    const auto values = registryValues();

    auto dm = start();
    EXPECT_TRUE(dm->notices().isEmpty());
    EXPECT_EQ(documents(), files);
    EXPECT_EQ(registryValues(), values);

    // Changes saved in one session are what the next one loads.
    dm->SwitchToProfileGroup(1);
    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 1000;
    dm->SaveBackToCurrentProfileInfo();
    EXPECT_TRUE(dm->SaveBackAllProfileInfoToFile());
    EXPECT_TRUE(dm->SaveProfileGroupSettingInfoToRegistry());
    dm.reset();
    dm = start();
    EXPECT_EQ(dm->FProfileGroupIndex(), 1);
    EXPECT_EQ(dm->FProfileIndex(), 1);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 1000);
}

TEST_F(ProfileManagerTest, OnlyOneInstanceLivesAtATime)
{
    auto dm = start();
    EXPECT_EQ(TDM::instance(), dm.get());
    EXPECT_THROW(start(), std::logic_error);
    EXPECT_EQ(TDM::instance(), dm.get());
    dm.reset();
    EXPECT_EQ(TDM::instance(), nullptr);
}

TEST_F(ProfileManagerTest, SwitchingModeMakesItsBoundProfileCurrent)
{
    auto dm = start();
    dm->FCurrentProfileInfo().ConfigInfo.PointerSpeed = 3; // unsaved edit of profile 0
    ASSERT_TRUE(dm->SwitchToProfileGroup(1));
    EXPECT_EQ(dm->FProfileGroupIndex(), 1);
    EXPECT_EQ(dm->FProfileSettingGroup().CurrentProfileGroup, 1);
    EXPECT_EQ(dm->FProfileIndex(), 1);
    EXPECT_EQ(dm->FAllProfileSettingInfo().CurrentGame, 1);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.PointerSpeed, 10);
}

TEST_F(ProfileManagerTest, OutOfRangeIndexesChangeNothing)
{
    auto dm = start();
    auto record = makeZeroRecord<TMOUSEPROFILEINFO>();
    const QByteArray current = recordToBytes(dm->FCurrentProfileInfo());
    struct Case {
        const char* what;
        std::function<bool(TDM&)> run;
    };
    const Case cases[] = {
        {"SwitchToProfile(5)", [](TDM& d) { return d.SwitchToProfile(5); }},
        {"SwitchToProfile(-1)", [](TDM& d) { return d.SwitchToProfile(-1); }},
        {"SwitchToProfileGroup(2)", [](TDM& d) { return d.SwitchToProfileGroup(2); }},
        {"ReadProfileInfo(5)", [&](TDM& d) { return d.ReadProfileInfo(*record, 5); }},
        {"SaveBackToProfileInfo(5)", [&](TDM& d) { return d.SaveBackToProfileInfo(*record, 5); }},
        {"SaveProfileInfoToRegistry(7)", [](TDM& d) { return d.SaveProfileInfoToRegistry(7); }},
        {"LoadProfileInfoFromRegistry(-3)", [](TDM& d) { return d.LoadProfileInfoFromRegistry(-3); }},
        {"RestoreProfileInfoToDefault(5)", [](TDM& d) { return d.RestoreProfileInfoToDefault(5); }},
        {"RestoreProfileGroupToDefault(-1)", [](TDM& d) { return d.RestoreProfileGroupToDefault(-1); }},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.run(*dm)) << c.what;
        EXPECT_EQ(dm->FProfileIndex(), 0) << c.what;
        EXPECT_EQ(dm->FProfileGroupIndex(), 0) << c.what;
        EXPECT_EQ(dm->FAllProfileSettingInfo().CurrentGame, 0) << c.what;
        EXPECT_EQ(recordToBytes(dm->FCurrentProfileInfo()), current) << c.what;
    }
    EXPECT_EQ(dm->FProfileGroup(5), nullptr);
    EXPECT_EQ(registryValues().size(), 2u);
}

TEST_F(ProfileManagerTest, RestoringAModeRefreshesTheWorkingCopyOnlyForTheCurrentProfile)
{
    auto dm = start();
    for (int i = 0; i < 2; ++i) {
        auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
        dm->ReadProfileInfo(*p, i);
        p->ConfigInfo.ReportRate = 125;
        dm->SaveBackToProfileInfo(*p, i);
    }
    dm->ReadCurrentProfileInfo();
    ASSERT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 125);

    ASSERT_TRUE(dm->RestoreProfileGroupToDefault(1)); // profile 1, not current
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 125);
    auto other = makeZeroRecord<TMOUSEPROFILEINFO>();
    dm->ReadProfileInfo(*other, 1);
    EXPECT_EQ(other->ConfigInfo.ReportRate, 500);

    ASSERT_TRUE(dm->RestoreProfileGroupToDefault(0)); // the current profile
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
    // Nothing was saved.
    EXPECT_EQ(test::readFile(profileFile(1)).size(), kProfileBytes);
    dm.reset();
    EXPECT_EQ(start()->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
}

TEST_F(ProfileManagerTest, ResetOfTheCurrentProfileKeepsMacroBodies)
{
    auto dm = start();
    TMOUSEPROFILEINFO& p = dm->FCurrentProfileInfo();
    p.MacroKeyInfoList.nMacroInfoCount = 3;
    p.MacroKeyInfoList.MacroInfos[2].szMacroName.assign(QStringLiteral("Reload"));
    p.ConfigInfo.ButtonFuncInfo[3].FunctionClass = kFunctionClassMacro;
    dm->SaveBackToCurrentProfileInfo();
    dm->RestoreCurrentProfileInfoToDefault();
    EXPECT_EQ(dm->FCurrentProfileInfo().MacroKeyInfoList.nMacroInfoCount, 0);
    EXPECT_EQ(dm->FCurrentProfileInfo().MacroKeyInfoList.MacroInfos[2].szMacroName.toString(), "Reload");
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ButtonFuncInfo[3].FunctionClass, kFunctionClassMouse);
}

TEST_F(ProfileManagerTest, LanguageOfANewAllSettingsRecordComesFromTheSystem)
{
    env.set("LC_ALL", "zh_TW.UTF-8");
    auto dm = start(QString()); // no override: the locale decides
    EXPECT_EQ(dm->FAllProfileSettingInfo().CurrentLanguage, 2);
    dm.reset();
    // A stored record keeps its language whatever the locale says later.
    env.set("LC_ALL", "zh_CN.UTF-8");
    EXPECT_EQ(start(QString())->FAllProfileSettingInfo().CurrentLanguage, 2);
}

TEST_F(ProfileManagerTest, OutOfRangeGroupRecordIsReplacedByDefaultsAndSaved)
{
    struct Case {
        const char* what;
        std::function<void(TProfileSettingGroup&)> edit;
    };
    const Case cases[] = {
        {"mode 2", [](TProfileSettingGroup& g) { g.CurrentProfileGroup = 2; }},
        {"bound profile 5", [](TProfileSettingGroup& g) { g.ProfileIndexOfProfileGroup[1] = 5; }},
        {"bound profile -1", [](TProfileSettingGroup& g) { g.ProfileIndexOfProfileGroup[0] = -1; }},
        {"SaveToFile 2", [](TProfileSettingGroup& g) { g.ProfileSettingList[3].SaveToFile = 2; }},
        {"name with folders",
         [](TProfileSettingGroup& g) { g.ProfileSettingList[0].FileName.assign(QStringLiteral("../../x.pfd")); }},
        {"empty name", [](TProfileSettingGroup& g) { g.ProfileSettingList[4].FileName.assign(QString()); }},
        {"relative folder",
         [](TProfileSettingGroup& g) { g.ProfileSettingList[1].FilePath.assign(QStringLiteral("C:\\Users\\u")); }},
        {"relative folder of a profile kept in the registry",
         [](TProfileSettingGroup& g) {
             g.ProfileSettingList[2].SaveToFile = 0;
             g.ProfileSettingList[2].FilePath.assign(QStringLiteral("Gaming Mouse Profiles"));
         }},
        {"empty macro folder", [](TProfileSettingGroup& g) { g.ProfileSettingList[0].MacroPath.assign(QString()); }},
        {"relative macro folder",
         [](TProfileSettingGroup& g) { g.ProfileSettingList[3].MacroPath.assign(QStringLiteral("Profile4_Macros")); }},
    };
    start();
    const QByteArray defaults = registryValues().at("ProfileSettingGroup.pfd");
    for (const Case& c : cases) {
        editStoredGroup(c.edit);
        Registry registry;
        const QByteArray damaged = registry.readValue(HKEY_CURRENT_USER, kKey, TDM::kProfileSettingGroupName)->data;
        const QStringList before = registry.valueNames(HKEY_CURRENT_USER, kKey);
        auto dm = start();
        ASSERT_EQ(dm->notices().size(), 1) << c.what;
        EXPECT_TRUE(dm->notices()[0].contains("replaced by the factory settings")) << c.what;
        EXPECT_EQ(registryValues().at("ProfileSettingGroup.pfd"), defaults) << c.what;
        EXPECT_EQ(dm->FProfileGroupIndex(), 0) << c.what;
        EXPECT_EQ(dm->FProfileIndex(), 0) << c.what;

        // The old record is kept under a second value name, which the notice gives.
        QStringList added;
        for (const QString& name : registry.valueNames(HKEY_CURRENT_USER, kKey))
            if (!before.contains(name))
                added.append(name);
        ASSERT_EQ(added.size(), 1) << c.what;
        EXPECT_TRUE(added[0].startsWith("ProfileSettingGroup.pfd.damaged-")) << added[0].toStdString();
        EXPECT_EQ(registry.readValue(HKEY_CURRENT_USER, kKey, added[0])->data, damaged) << c.what;
        EXPECT_TRUE(dm->notices()[0].contains(added[0])) << dm->notices()[0].toStdString();
    }
    EXPECT_FALSE(QFile::exists(env.path("x.pfd")));
}

TEST_F(ProfileManagerTest, ShortOrOversizedProfileFiles)
{
    start();
    // A 2-byte file cannot be a profile: it is kept aside and replaced by defaults.
    ASSERT_TRUE(test::writeFile(profileFile(1), QByteArray("\x03\x01", 2)));
    // A 200000-byte file is taken whole; the working copy is its first record.
    QByteArray big = test::readFile(profileFile(2));
    const auto reportRate = qsizetype(offsetof(TMOUSEPROFILEINFO, ConfigInfo) + offsetof(TMOUSECONFIGINFO, ReportRate));
    big[reportRate] = char(250);
    big[reportRate + 1] = 0;
    big.append(QByteArray(200000 - big.size(), 'x'));
    ASSERT_TRUE(test::writeFile(profileFile(2), big));

    auto dm = start();
    ASSERT_EQ(dm->notices().size(), 1);
    EXPECT_TRUE(dm->notices()[0].contains("Profile1.pfd"));
    EXPECT_EQ(test::readFile(profileFile(1)).size(), kProfileBytes);
    const QStringList aside = QDir(folder()).entryList({"Profile1.pfd.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(test::readFile(folder() + "/" + aside[0]), QByteArray("\x03\x01", 2));
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);

    EXPECT_EQ(dm->FProfileGroup(1)->Size(), 200000);
    ASSERT_TRUE(dm->SwitchToProfileGroup(1));
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 250);
    ASSERT_TRUE(dm->SaveBackAllProfileInfoToFile());
    EXPECT_EQ(test::readFile(profileFile(2)), big);
}

TEST_F(ProfileManagerTest, ProfilesWithDamagedFieldsAreKeptAsideAndReplaced)
{
    start();
    editStoredGroup([](TProfileSettingGroup& g) { g.ProfileSettingList[1].SaveToFile = 0; });
    {
        auto dm = start();
        dm->SwitchToProfileGroup(1);
        ASSERT_TRUE(dm->SaveCurrentProfileInfoToRegistry());
    }
    const auto cpiLevel = qsizetype(offsetof(TMOUSEPROFILEINFO, ConfigInfo) + offsetof(TMOUSECONFIGINFO, CPILevel));
    // Profile 1 in its file, profile 2 in the registry, both full length with 255 CPI levels.
    QByteArray file = test::readFile(profileFile(1));
    file[cpiLevel] = char(255);
    ASSERT_TRUE(test::writeFile(profileFile(1), file));
    QByteArray value = registryValues().at("Profile2.pfd");
    value[cpiLevel] = char(255);
    Registry().writeBinary(HKEY_CURRENT_USER, kKey, QStringLiteral("Profile2.pfd"), value);

    auto dm = start();
    ASSERT_EQ(dm->notices().size(), 2) << dm->notices().join('\n').toStdString();
    for (const QString& notice : dm->notices())
        EXPECT_TRUE(notice.contains("CPILevel is 255")) << notice.toStdString();
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.CPILevel, 4);
    const QStringList aside = QDir(folder()).entryList({"Profile1.pfd.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(test::readFile(folder() + "/" + aside[0]), file);
    ASSERT_TRUE(dm->SwitchToProfileGroup(1));
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.CPILevel, 4);
    bool keptInRegistry = false;
    for (const auto& [name, data] : registryValues())
        keptInRegistry = keptInRegistry || (name.startsWith("Profile2.pfd.damaged-") && data == value);
    EXPECT_TRUE(keptInRegistry);
}

TEST_F(ProfileManagerTest, StaleTemporaryFilesOfKilledSavesAreRemovedAtStart)
{
    start();
    const QString macros = folder() + "/Profile2_Macros";
    ASSERT_TRUE(QDir().mkpath(macros));
    struct Case {
        QString path;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {folder() + "/.Profile1.pfd.1x2y3z.tmp", true, true},
        {folder() + "/.Profile4.pfd.9.tmp", true, true},
        {macros + "/.Reload.macro.abc.tmp", true, true},
        {folder() + "/.Profile2.pfd.4k.tmp", false, false},    // may be a save under way
        {folder() + "/.notes.txt.abc.tmp", true, false},        // not one of ours
        {env.path("Documents/.Profile1.pfd.abc.tmp"), true, false},   // not our folder
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(test::writeFile(c.path, "half a save"));
        if (c.old) {
            QFile f(c.path);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        }
    }
    auto dm = start();
    EXPECT_TRUE(dm->notices().isEmpty());
    for (const Case& c : cases)
        EXPECT_EQ(QFileInfo::exists(c.path), !c.removed) << c.path.toStdString();
}

TEST_F(ProfileManagerTest, UnreadableProfileFileIsReportedAndReplaced)
{
    start();
    QFile huge(profileFile(3));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(TuiProfile::kMaxFileSize + 1));
    huge.close();

    auto dm = start();
    ASSERT_EQ(dm->notices().size(), 1);
    EXPECT_TRUE(dm->notices()[0].contains("Profile3.pfd"));
    EXPECT_TRUE(dm->notices()[0].contains("too large"));
    EXPECT_EQ(test::readFile(profileFile(3)).size(), kProfileBytes);
    EXPECT_EQ(QDir(folder()).entryList({"Profile3.pfd.damaged-*"}).size(), 1);
}

TEST_F(ProfileManagerTest, DamagedRegistryDatabaseStartsAfreshAndKeepsTheFiles)
{
    auto dm = start();
    dm->FCurrentProfileInfo().ConfigInfo.DoubleClickSpeed = 700;
    dm->SaveBackToCurrentProfileInfo();
    ASSERT_TRUE(dm->SaveCurrentProfileInfoToFile());
    dm.reset();
    ASSERT_TRUE(test::writeFile(Registry::defaultDatabasePath(), QByteArray(5000, char(0x5A))));

    dm = start();
    ASSERT_EQ(dm->notices().size(), 1);
    EXPECT_TRUE(dm->notices()[0].contains("moved to"));
    EXPECT_EQ(registryValues().size(), 2u);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.DoubleClickSpeed, 700);
}

TEST_F(ProfileManagerTest, RegistryProfilesStartFromDefaultsWithoutSavingThem)
{
    start();
    editStoredGroup([](TProfileSettingGroup& g) { g.ProfileSettingList[0].SaveToFile = 0; });
    auto dm = start();
    EXPECT_TRUE(dm->notices().isEmpty());
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
    EXPECT_EQ(registryValues().count("Profile1.pfd"), 0u);

    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 250;
    ASSERT_TRUE(dm->SaveCurrentProfileInfoToRegistry());
    dm.reset();
    EXPECT_EQ(start()->FCurrentProfileInfo().ConfigInfo.ReportRate, 250);
}

TEST_F(ProfileManagerTest, AStoredModeChoiceThatCannotBeUsedIsRefusedAndChangesNothing)
{
    // What another program stored for the mode and the profile of each mode,
    // taken up when the monitor says it switched.
    auto dm = start();
    ASSERT_TRUE(dm->SwitchToProfile(2));
    const QByteArray group = recordToBytes(dm->FProfileSettingGroup());
    const QByteArray groupStore = dm->uiProfileSettingGroup().stream();
    auto outOfRange = makeZeroRecord<TProfileSettingGroup>();
    copyBytesIntoRecord(*outOfRange, group);
    outOfRange->CurrentProfileGroup = 7;
    struct Case {
        const char* what;
        QByteArray stored;
        const char* message;
    };
    for (const Case& c : {Case{"short", group.left(10), "10 bytes long"},
                          Case{"a mode out of range", recordToBytes(*outOfRange), "cannot be used"}}) {
        SCOPED_TRACE(c.what);
        {
            Registry other;
            other.writeBinary(HKEY_CURRENT_USER, kKey, QLatin1String(TDM::kProfileSettingGroupName), c.stored);
        }
        try {
            dm->LoadSelectionFromRegistry();
            ADD_FAILURE() << "the stored record was taken";
        } catch (const StorageError& error) {
            EXPECT_TRUE(error.message().contains(QLatin1String(c.message))) << error.message().toStdString();
        }
        EXPECT_EQ(dm->FProfileGroupIndex(), 0);
        EXPECT_EQ(dm->FProfileIndex(), 2);
        EXPECT_EQ(recordToBytes(dm->FProfileSettingGroup()), group);
        EXPECT_EQ(dm->uiProfileSettingGroup().stream(), groupStore);
    }
}

TEST_F(ProfileManagerTest, ProfileDataShorterThanARecordIsRefusedAndChangesNothing)
{
    // A file given to "Load from file" or a preset, and a registry value
    // reloaded when the monitor says so: the next apply would write whatever
    // the working copy then holds into the mouse.
    auto dm = start();
    ASSERT_TRUE(dm->SwitchToProfile(1));
    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 125;   // an edit the window made
    const QByteArray store = dm->FProfileGroup(1)->stream();
    QByteArray sixty(60, '\0');
    sixty[0] = char(0x03);
    sixty[1] = char(0x01);
    ASSERT_TRUE(test::writeFile(env.path("short.pfd"), sixty));
    {
        Registry other;   // the monitor program writes a short value
        other.writeBinary(HKEY_CURRENT_USER, kKey, "Profile2.pfd", sixty);
    }
    const std::function<void()> loads[] = {
        [&] { dm->LoadCurrentProfileInfoFromFile(env.path("short.pfd")); },
        [&] { dm->LoadCurrentProfileInfoFromRegistry(); },
    };
    for (const auto& load : loads) {
        try {
            load();
            ADD_FAILURE() << "short data was taken";
        } catch (const StorageError& error) {
            EXPECT_TRUE(error.message().contains("60 bytes")) << error.message().toStdString();
            EXPECT_TRUE(error.message().contains("nothing was changed")) << error.message().toStdString();
        }
        EXPECT_EQ(dm->FProfileGroup(1)->stream(), store);
        EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 125);
        EXPECT_EQ(dm->FCurrentProfileInfo().ProfileHeader.FFileVersion, 259);
    }

    // Data at least one record long is taken whole; the working copy is its first record.
    QByteArray big = test::readFile(profileFile(3));
    big.append(QByteArray(200000 - big.size(), 'x'));
    ASSERT_TRUE(test::writeFile(env.path("big.pfd"), big));
    ASSERT_TRUE(dm->LoadCurrentProfileInfoFromFile(env.path("big.pfd")));
    EXPECT_EQ(dm->FProfileGroup(1)->stream(), big);
    EXPECT_EQ(dm->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
}

TEST_F(ProfileManagerTest, AProfileKeptInTheRegistryIsAlsoWrittenToItsFileByTheSaveOfAllFiles)
{
    start();
    editStoredGroup([](TProfileSettingGroup& g) { g.ProfileSettingList[0].SaveToFile = 0; });
    auto dm = start();
    EXPECT_EQ(dm->FProfileGroup(0)->FilePath(), folder() + "/") << "its folder exists";
    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 1000;
    dm->SaveBackToCurrentProfileInfo();
    ASSERT_TRUE(dm->SaveBackAllProfileInfoToFile());
    EXPECT_EQ(test::readFile(profileFile(1)), dm->FProfileGroup(0)->stream());
    EXPECT_EQ(registryValues().count("Profile1.pfd"), 0u) << "the registry is saved by its own operation";
    dm.reset();
    // The next start still takes the profile from the registry, not from the file.
    EXPECT_EQ(start()->FCurrentProfileInfo().ConfigInfo.ReportRate, 500);
}

TEST_F(ProfileManagerTest, FailedSaveLeavesThePreviousProfileFile)
{
    auto dm = start();
    const QByteArray before = test::readFile(profileFile(1));
    dm->FCurrentProfileInfo().ConfigInfo.ReportRate = 1000;
    dm->SaveBackToCurrentProfileInfo();
    setAtomicWriteProbe(
        [](AtomicWriteStage stage, const QString&) { return stage == AtomicWriteStage::Rename ? EIO : 0; });
    EXPECT_THROW(dm->SaveCurrentProfileInfoToFile(), StorageError);
    EXPECT_EQ(test::readFile(profileFile(1)), before);
}

TEST_F(ProfileManagerTest, ChangingTheFileRenamesLaterSavesAndRefusesNamesThatDoNotFit)
{
    auto dm = start();
    const QString chosen = env.path("Documents/Mine/Shooter.pfd");
    QDir().mkpath(env.path("Documents/Mine"));
    EXPECT_FALSE(dm->ChangeCurrentProfileFileNameAndPath(env.path("Documents/Mine/ABCDEFGHIJKLMNOPQ.pfd")));
    EXPECT_FALSE(dm->ChangeCurrentProfileFileNameAndPath("relative/Shooter.pfd"));
    EXPECT_EQ(dm->FProfileGroup(0)->FileName(), "Profile1.pfd");

    ASSERT_TRUE(dm->ChangeCurrentProfileFileNameAndPath(chosen));
    EXPECT_EQ(dm->FProfileSettingGroup().ProfileSettingList[0].FileName.toString(), "Shooter.pfd");
    EXPECT_EQ(dm->FProfileSettingGroup().ProfileSettingList[0].FilePath.toString(), env.path("Documents/Mine/"));
    ASSERT_TRUE(dm->SaveCurrentProfileInfoToRegistry());
    ASSERT_TRUE(dm->SaveCurrentProfileInfoToFile());
    EXPECT_EQ(test::readFile(chosen).size(), kProfileBytes);
    EXPECT_EQ(registryValues().count("Shooter.pfd"), 1u);
    ASSERT_TRUE(dm->SaveProfileGroupSettingInfoToRegistry());
    dm.reset();
    dm = start();
    EXPECT_EQ(dm->FProfileGroup(0)->FilePath(), env.path("Documents/Mine/"));
}

TEST_F(ProfileManagerTest, TestDefaultsFillTheTwoSpareRecordsAndSaveNothing)
{
    auto dm = start();
    const auto values = registryValues();
    const auto files = documents();
    dm->InitTestDefaultValue();
    EXPECT_EQ(dm->FTestProfileInfo().ProfileHeader.FFileVersion, 258);
    EXPECT_EQ(dm->FTestProfileInfo().ConfigInfo.ButtonFuncInfo[7].RawParam[0], 0x80);
    EXPECT_EQ(dm->FDefaultProfileInfo().ProfileHeader.FFileVersion, 259);
    EXPECT_EQ(dm->uiProfileTest().FileName(), "ZKT4812ProfileTest.pfd");
    EXPECT_EQ(dm->uiProfileDefaultGame().FileName(), "ZKT4812ProfileDef.pfd");
    EXPECT_EQ(registryValues(), values);
    EXPECT_EQ(documents(), files);
}

TEST_F(ProfileManagerTest, ConfigurationFileOptionsAreReadAtStart)
{
    ASSERT_TRUE(test::writeFile(env.path("program/config.ini"), "[OtherConfig]\nNoLogo=1\n[HelpFiles]\n0409=a.chm\n"));
    auto dm = start();
    EXPECT_EQ(dm->FOtherConfig().Nologo, 1);
    ASSERT_EQ(dm->appConfig().helpFiles().size(), 1);
}

TEST_F(ProfileManagerTest, RepairsAreHandedToTheCallerNotPrinted)
{
    // The program and the command line print notices() once each; the
    // manager and its database print nothing themselves.
    start();
    ASSERT_TRUE(test::writeFile(profileFile(1), QByteArray("\x03\x01", 2)));
    ASSERT_TRUE(test::writeFile(Registry::defaultDatabasePath(), QByteArray(5000, char(0x5A))));
    static QStringList printed;
    printed.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { printed << text; });
    auto dm = start();
    qInstallMessageHandler(previous);
    EXPECT_EQ(dm->notices().size(), 2) << dm->notices().join('\n').toStdString();
    EXPECT_TRUE(printed.isEmpty()) << printed.join('\n').toStdString();
}
