#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include "macros/MacroName.h"
#include "platform/storage/Registry.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileManager.h"
#include "records/RecordBytes.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

using namespace k4812;
using k4812::test::runCtl;

namespace {

const QString kKey = QString::fromLatin1(kProfileKeyPath);

class VerbProfile : public ::testing::Test {
protected:
    QString profileFile(int n) const
    {
        return env.path("Documents/Gaming Mouse Profiles") + QStringLiteral("/Profile%1.pfd").arg(n);
    }

    std::optional<QByteArray> registryValue(const QString& name)
    {
        Registry registry;
        const auto value = registry.readValue(HKEY_CURRENT_USER, kKey, name);
        return value ? std::optional<QByteArray>(value->data) : std::nullopt;
    }

    // Changes profile `index` through the manager and saves it to its file.
    void editProfile(int index, const std::function<void(TMOUSEPROFILEINFO&)>& edit)
    {
        TDM dm;
        auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
        dm.ReadProfileInfo(*p, index);
        edit(*p);
        dm.SaveBackToProfileInfo(*p, index);
        ASSERT_TRUE(dm.FProfileGroup(index)->SaveStreamToFile());
    }

    static QByteArray profileBytes(int reportRate, qsizetype size = qsizetype(sizeof(TMOUSEPROFILEINFO)))
    {
        auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
        applyProfileDefaults(*p);
        p->ConfigInfo.ReportRate = std::uint16_t(reportRate);
        QByteArray bytes = recordToBytes(*p);
        bytes.resize(size, 'z');
        return bytes;
    }

    test::TestEnvironment env;
};

} // namespace

TEST_F(VerbProfile, ProfilesListsStorageBindingsAndCurrentState)
{
    const auto r = runCtl({"profiles"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Profile 1: file " + profileFile(1) + " (109888 bytes) [current]"));
    EXPECT_TRUE(r.out.contains("Profile 5: file " + profileFile(5)));
    EXPECT_TRUE(r.out.contains("Mode 1: profile 1 [active]\nMode 2: profile 2\n"));
    EXPECT_TRUE(r.out.contains("Active mode: 1\nCurrent profile: 1\nLanguage index: "));
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(test::readFile(profileFile(3)).size(), 109888);
}

TEST_F(VerbProfile, ShowNamesFunctionsKeysAndMacros)
{
    runCtl({"profiles"});
    editProfile(1, [](TMOUSEPROFILEINFO& p) {
        TBUTTONFUNCINFO& single = p.ConfigInfo.ButtonFuncInfo[3];
        single.FunctionClass = kFunctionClassSingleKey;
        single.FunctionIndex = 5;
        single.DeviceCode = 16;
        single.SingleKeyInfo.nKeyValue1 = 0x74; // F5
        TBUTTONFUNCINFO& combo = p.ConfigInfo.ButtonFuncInfo[4];
        combo.FunctionClass = kFunctionClassCombo;
        combo.FunctionIndex = 6;
        combo.DeviceCode = 15;
        combo.ComboKeyInfo.nModifier = 2 | 4;
        combo.ComboKeyInfo.nKeyValue1 = 'A';
        TBUTTONFUNCINFO& macro = p.ConfigInfo.ButtonFuncInfo[5];
        macro.FunctionClass = kFunctionClassMacro;
        macro.FunctionIndex = 28;
        macro.DeviceCode = 17;
        setMacroName(macro.MacroKeyInfo, u"Reload\x1b[2J");
        p.MacroKeyInfoList.nMacroInfoCount = 1;
        setMacroName(p.MacroKeyInfoList.MacroInfos[0], u"Reload\x1b[2J");
        TMACROKEYINFO& listed = p.MacroKeyInfoList.MacroInfos[0];
        listed.MacroListCount = 6;
        for (int a = 0; a < 6; a += 2) { // F5 down and up, three times
            listed.MacroList[a] = TMACROKEY{4, 1, 0x74, 0};
            listed.MacroList[a + 1] = TMACROKEY{4, 0, 0x74, 0};
        }
        p.ConfigInfo.ReportRate = 1000;
    });

    const auto text = runCtl({"profile", "show", "2"});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains("Button 1: Click (class 1, code 1)"));
    EXPECT_TRUE(text.out.contains("Button 4: single key F5 (class 8, code 16)")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("Button 5: key combination Ctrl+Shift+A (class 3, code 15)"));
    EXPECT_TRUE(text.out.contains("Level 3: X 1600, Y 1600 (sensor 1700 x 1700)"));
    EXPECT_TRUE(text.out.contains("Report rate: 1000 Hz"));
    EXPECT_TRUE(text.out.contains("\"Reload\\x1b[2J\", 6 actions")); // no escape reaches the terminal
    EXPECT_FALSE(text.out.contains(QChar(0x1b)));

    const auto json = runCtl({"profile", "show", "2", "--json"});
    ASSERT_EQ(json.status, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(o["profile"].toInt(), 2);
    EXPECT_EQ(o["buttons"].toArray().size(), 7);
    EXPECT_EQ(o["buttons"].toArray()[3].toObject()["key"].toString(), "F5");
    EXPECT_EQ(o["cpi"].toObject()["levels"].toArray().size(), 4);
    EXPECT_EQ(o["reportRate"].toInt(), 1000);
    EXPECT_EQ(o["light"].toObject()["b"].toInt(), 255);
    EXPECT_EQ(o["macros"].toArray()[0].toObject()["actions"].toInt(), 6);
}

TEST_F(VerbProfile, ExportWritesTheStoredBytesAsTheyAre)
{
    runCtl({"profiles"});
    const QByteArray big = profileBytes(250, 200000);
    ASSERT_TRUE(test::writeFile(profileFile(2), big));
    const auto r = runCtl({"profile", "export", "2", env.path("Exports/copy.pfd")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(test::readFile(env.path("Exports/copy.pfd")), big);

    const auto deep = runCtl({"profile", "export", "2", env.path("a/b/copy.pfd")});
    EXPECT_EQ(deep.status, cli::kExitFailure);
    EXPECT_TRUE(deep.err.contains("cannot be created"));
}

TEST_F(VerbProfile, ImportTakesOnlyProfileFilesAndChangesNothingOtherwise)
{
    runCtl({"profiles"});
    const QByteArray before = test::readFile(profileFile(3));
    QByteArray testVersion = profileBytes(500);
    testVersion[0] = char(2); // 258
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* message;
    };
    const Case refused[] = {
        {"2 bytes", QByteArray("\x03\x01", 2), "first four bytes are not the version 259"},
        {"version 258", testVersion, "first four bytes are not the version 259"},
        {"only a header", QByteArray("\x03\x01\x00\x00", 4), "shorter than a profile"},
        {"60 bytes", QByteArray("\x03\x01\x00\x00", 4) + QByteArray(56, '\0'), "60 bytes long, shorter than a profile"},
        {"empty", QByteArray(), "first four bytes are not the version 259"},
    };
    for (const Case& c : refused) {
        ASSERT_TRUE(test::writeFile(env.path("in.pfd"), c.bytes));
        const auto r = runCtl({"profile", "import", "3", env.path("in.pfd")});
        EXPECT_EQ(r.status, cli::kExitFailure) << c.what;
        EXPECT_TRUE(r.err.contains(c.message)) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("nothing was changed")) << c.what;
        EXPECT_EQ(test::readFile(profileFile(3)), before) << c.what;
        EXPECT_FALSE(registryValue("Profile3.pfd")) << c.what;
    }
    const auto missing = runCtl({"profile", "import", "3", env.path("missing.pfd")});
    EXPECT_EQ(missing.status, cli::kExitFailure);

    const QByteArray big = profileBytes(125, 200000);
    ASSERT_TRUE(test::writeFile(env.path("in.pfd"), big));
    const auto r = runCtl({"profile", "import", "3", env.path("in.pfd")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(test::readFile(profileFile(3)), big);
    EXPECT_EQ(registryValue("Profile3.pfd"), big);
    EXPECT_TRUE(runCtl({"profile", "show", "3"}).out.contains("Report rate: 125 Hz"));
}

TEST_F(VerbProfile, ResetRestoresFactorySettingsAndSavesThem)
{
    runCtl({"profiles"});
    editProfile(4, [](TMOUSEPROFILEINFO& p) {
        p.ConfigInfo.ReportRate = 125;
        p.ConfigInfo.ButtonFuncInfo[0].DeviceCode = 2;
    });
    const auto r = runCtl({"profile", "reset", "5"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(test::readFile(profileFile(5)), profileBytes(500));
    EXPECT_EQ(registryValue("Profile5.pfd"), profileBytes(500));
}

TEST_F(VerbProfile, ModeBindSavesTheBindingAndFollowsTheActiveMode)
{
    const auto bind = runCtl({"mode", "bind", "2", "4"});
    ASSERT_EQ(bind.status, 0) << bind.err.toStdString();
    EXPECT_EQ(runCtl({"mode", "show"}).out, "Mode 1: profile 1 [active]\nMode 2: profile 4\n");

    // Binding the active mode makes that profile current, in the stored records too.
    ASSERT_EQ(runCtl({"mode", "bind", "1", "3"}).status, 0);
    const auto list = runCtl({"profiles"});
    EXPECT_TRUE(list.out.contains("Mode 1: profile 3 [active]\nMode 2: profile 4\n"));
    EXPECT_TRUE(list.out.contains("Current profile: 3"));
    auto all = makeZeroRecord<TALLGAMESINFO>();
    copyBytesIntoRecord(*all, *registryValue(TDM::kAllSettingName));
    EXPECT_EQ(all->CurrentGame, 2);
}

TEST_F(VerbProfile, BadNumbersAreUsageErrorsAndChangeNothing)
{
    const QStringList bad[] = {{"mode", "bind", "3", "1"}, {"mode", "bind", "1", "6"}, {"mode", "bind", "0", "1"},
                               {"profile", "show", "0"},   {"profile", "reset", "x"},  {"profile", "export", "6", "f"},
                               {"profile"},                {"mode", "frob"}};
    for (const QStringList& args : bad) {
        const auto r = runCtl(args);
        EXPECT_EQ(r.status, cli::kExitUsage) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(env.path(".config/k4812/registry.sqlite3")));
}
