#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include "i18n/LanguageFileWriter.h"
#include "i18n/Translation.h"
#include "profiles/ProfileManager.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::runCtl;

namespace {

class VerbLanguage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_env.set("K4812_PROGRAM_DIR", m_env.home());
        m_env.set("LC_ALL", "en_US.UTF-8");
    }
    void TearDown() override { EXPECT_EQ(activeTranslation(), nullptr) << "a verb left its language active"; }

    void installLanguages()
    {
        LanguageFile file;
        file.original = {"Macro", "Warning"};
        file.resources = {
            {"0409", {"Macro=Macro", "Warning=Warning"}},
            {"0804", {QString::fromUtf8("Macro=宏"), QString::fromUtf8("Warning=警告")}},
            {"0404", {QString::fromUtf8("Macro=巨集"), QString::fromUtf8("Warning=警告")}},
        };
        QString error;
        ASSERT_TRUE(saveLanguageFile(file, m_env.path("ui.local"), error)) << error.toStdString();
    }

    k4812::test::TestEnvironment m_env;
};

} // namespace

TEST_F(VerbLanguage, ListsLanguagesAndMarksTheStoredOne)
{
    installLanguages();
    m_env.set("LC_ALL", "zh_TW.UTF-8"); // nothing stored: the user's language is the default
    const auto list = runCtl({"language"});
    EXPECT_EQ(list.status, 0) << list.err.toStdString();
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << list.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("  0  0409  "));
    EXPECT_EQ(lines[1], QString::fromUtf8("  1  0804  简体中文"));
    EXPECT_EQ(lines[2], QString::fromUtf8("* 2  0404  繁體中文"));
    EXPECT_EQ(runCtl({"translate", "Macro"}).out, QString::fromUtf8("巨集\n"));
}

TEST_F(VerbLanguage, SetStoresTheLanguageThatTranslateUses)
{
    installLanguages();
    struct Case {
        const char* choice;
        const char* macro;
    };
    const Case cases[] = {{"0804", "宏"}, {"2", "巨集"}, {"0409", "Macro"}, {"0x1", "宏"}};
    for (const Case& c : cases) {
        const auto set = runCtl({"language", "set", c.choice});
        EXPECT_EQ(set.status, 0) << c.choice << ": " << set.err.toStdString();
        const auto shown = runCtl({"translate", "Macro"});
        EXPECT_EQ(shown.status, 0);
        EXPECT_EQ(shown.out, QString::fromUtf8(c.macro) + "\n") << c.choice;
        EXPECT_TRUE(shown.err.isEmpty()) << shown.err.toStdString();
    }
    EXPECT_EQ(runCtl({"translate", "MACRO"}).out, "MACRO\n"); // case-sensitive, untranslated
    EXPECT_EQ(runCtl({"translate", "Not listed"}).out, "Not listed\n");
}

TEST_F(VerbLanguage, SetRefusesLanguagesTheFileLacks)
{
    installLanguages();
    ASSERT_EQ(runCtl({"language", "set", "0804"}).status, 0);
    for (const char* choice : {"3", "0411", "-1", "zh", ""}) {
        const auto refused = runCtl({"language", "set", choice});
        EXPECT_EQ(refused.status, cli::kExitFailure) << choice;
        EXPECT_TRUE(refused.err.contains("neither a short ID nor an index (0 to 2)")) << refused.err.toStdString();
    }
    EXPECT_TRUE(runCtl({"language"}).out.contains(QString::fromUtf8("* 1  0804")));
}

TEST_F(VerbLanguage, StoredIndexPastTheFileShowsEnglish)
{
    installLanguages();
    {
        TDM dm;
        dm.FAllProfileSettingInfo().CurrentLanguage = 7;
        ASSERT_TRUE(dm.SaveBackAllProfileSettingInfo());
    }
    const auto list = runCtl({"language"});
    EXPECT_EQ(list.status, 0);
    EXPECT_FALSE(list.out.contains('*'));
    EXPECT_TRUE(list.err.contains("stored language 7 is not in the language file")) << list.err.toStdString();
    const auto shown = runCtl({"translate", "Macro"});
    EXPECT_EQ(shown.out, "Macro\n");
    EXPECT_TRUE(shown.err.contains("warning: the stored language 7")) << shown.err.toStdString();
}

TEST_F(VerbLanguage, MissingOrDamagedFileRunsInEnglish)
{
    ASSERT_EQ(runCtl({"language", "set", "0804"}).status, cli::kExitFailure);
    const auto missing = runCtl({"language"});
    EXPECT_EQ(missing.status, cli::kExitFailure);
    EXPECT_TRUE(missing.err.contains("no language file")) << missing.err.toStdString();

    installLanguages();
    ASSERT_EQ(runCtl({"language", "set", "0804"}).status, 0);
    QByteArray bytes = k4812::test::readFile(m_env.path("ui.local"));
    bytes.chop(2);
    ASSERT_TRUE(k4812::test::writeFile(m_env.path("ui.local"), bytes));

    const auto list = runCtl({"language"});
    EXPECT_EQ(list.status, cli::kExitFailure);
    EXPECT_TRUE(list.err.contains("is damaged")) << list.err.toStdString();
    const auto shown = runCtl({"translate", "Warning"});
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "Warning\n");
    EXPECT_TRUE(shown.err.contains("is damaged")) << shown.err.toStdString();
}

TEST_F(VerbLanguage, WrongArgumentsAreUsageErrors)
{
    installLanguages();
    for (const QStringList& args : {QStringList{"language", "0804"}, QStringList{"language", "set"},
                                    QStringList{"translate"}, QStringList{"translate", "a", "b"}})
        EXPECT_EQ(runCtl(args).status, cli::kExitUsage) << args.join(' ').toStdString();
}
