#include "i18n/LanguageFileWriter.h"
#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

using namespace k4812;

namespace {

LanguageFile threeLanguages()
{
    LanguageFile file;
    file.original = {"Apply", "Cancel", "Macro"};
    file.resources = {
        {"0409", {"Apply=Apply", "Cancel=Cancel", "Macro=Macro"}},
        {"0804", {QString::fromUtf8("Apply=应用"), QString::fromUtf8("Cancel=取消"), QString::fromUtf8("Macro=宏")}},
        {"0404", {QString::fromUtf8("Apply=套用"), QString::fromUtf8("Cancel=取消"), QString::fromUtf8("Macro=巨集")}},
    };
    return file;
}

// A scene of the window toolkit: it shows texts and translates them again
// through translate() when asked, as the toolkit does.
struct FakeScene {
    QStringList shown;
    int hook = 0;

    explicit FakeScene(QStringList texts) : shown(std::move(texts))
    {
        for (QString& text : shown)
            text = translate(text);
        hook = addSceneRetranslator([this] {
            for (QString& text : shown)
                text = translate(text);
        });
    }
    ~FakeScene() { removeTranslationHook(hook); }
};

class TuiLanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clearActiveTranslation();
        m_env.set("K4812_PROGRAM_DIR", m_env.home());
    }
    void TearDown() override { clearActiveTranslation(); }

    void install(const LanguageFile& file)
    {
        QString error;
        ASSERT_TRUE(saveLanguageFile(file, m_env.path("ui.local"), error)) << error.toStdString();
    }
    void installBytes(const QByteArray& bytes) { ASSERT_TRUE(k4812::test::writeFile(m_env.path("ui.local"), bytes)); }

    k4812::test::TestEnvironment m_env;
};

} // namespace

TEST_F(TuiLanguageTest, LoadsTheLanguagesBesideTheProgram)
{
    install(threeLanguages());
    TuiLanguage language;
    EXPECT_TRUE(language.loadError().isEmpty());
    EXPECT_EQ(language.languageCount(), 3);
    EXPECT_EQ(language.original(), QStringList({"Apply", "Cancel", "Macro"}));

    struct Case {
        QString shortId;
        int index;
    };
    const Case cases[] = {{"0409", 0}, {"0804", 1}, {"0404", 2}, {"0c04", -1}, {"en", -1}, {"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(language.GetLanguageIndexByShortID(c.shortId), c.index) << c.shortId.toStdString();
    EXPECT_EQ(language.GetLanguageShortIDByIndex(2), "0404");
    EXPECT_EQ(language.GetLanguageShortIDByIndex(3), QString());
    EXPECT_EQ(language.GetLanguageShortIDByIndex(-1), QString());
    EXPECT_EQ(language.languageDisplayName(1), QString::fromUtf8("简体中文"));
    EXPECT_EQ(language.languageDisplayName(2), QString::fromUtf8("繁體中文"));
}

TEST_F(TuiLanguageTest, ShortIdsCompareWithoutRegardToCase)
{
    install({{}, {{"0C04", {QString::fromUtf8("Apply=套用")}}}});
    TuiLanguage language;
    EXPECT_EQ(language.GetLanguageIndexByShortID("0c04"), 0);
    language.SetLang("0c04");
    EXPECT_EQ(language.LanguageName(), "0C04");
    EXPECT_EQ(translate("Apply"), QString::fromUtf8("套用"));
}

TEST_F(TuiLanguageTest, SwitchingTranslatesSceneTextsFromTheirSourceTexts)
{
    install(threeLanguages());
    TuiLanguage language;
    FakeScene scene({"Apply", "Macro", "Not in the file"});

    language.SetLang("0804");
    EXPECT_EQ(scene.shown, QStringList({QString::fromUtf8("应用"), QString::fromUtf8("宏"), "Not in the file"}));
    EXPECT_EQ(language.LanguageName(), "0804");
    EXPECT_EQ(language.activeLanguageIndex(), 1);

    // "取消" is the same in both Chinese languages; "宏" must become "巨集", not stay "宏".
    language.SetLang("0404");
    EXPECT_EQ(scene.shown, QStringList({QString::fromUtf8("套用"), QString::fromUtf8("巨集"), "Not in the file"}));

    language.SetLang("en");
    EXPECT_EQ(scene.shown, QStringList({"Apply", "Macro", "Not in the file"}));
    EXPECT_EQ(activeTranslation(), nullptr);
    EXPECT_EQ(language.LanguageName(), "en");
    EXPECT_EQ(language.activeLanguageIndex(), -1);
    EXPECT_FALSE(isTranslationReverting());
}

TEST_F(TuiLanguageTest, UnknownLanguageKeepsTheActiveTranslation)
{
    install(threeLanguages());
    TuiLanguage language;
    FakeScene scene({"Apply"});
    language.SetLang("0404");
    language.SetLang("0411");
    EXPECT_EQ(language.Lang(), "0411");
    EXPECT_EQ(language.LanguageName(), "0404");
    EXPECT_EQ(scene.shown, QStringList({QString::fromUtf8("套用")}));
    EXPECT_EQ(translate("Apply"), QString::fromUtf8("套用"));
    language.SetLang(language.GetLanguageShortIDByIndex(7)); // a stored index past the file
    EXPECT_EQ(translate("Apply"), QString::fromUtf8("套用"));
}

TEST_F(TuiLanguageTest, SwitchRunsHooksInOrderAndRaisesLanguageChanged)
{
    install(threeLanguages());
    std::vector<QString> events;
    TuiLanguage language(nullptr, [&] { events.push_back("walk " + translate("Apply")); });
    const int scene = addSceneRetranslator([&] {
        const char* phase = isTranslationReverting() ? "revert" : "show";
        events.push_back(QStringLiteral("scene %1 %2").arg(phase, translate("Apply")));
    });
    language.setOnLanguageChanged([&](TuiLanguage& sender, const QString& shortId, const QString& longName) {
        EXPECT_EQ(&sender, &language);
        events.push_back("changed " + shortId + " " + longName);
    });
    m_env.set("LC_ALL", "en_US.UTF-8");

    language.SetLang("0804");
    removeTranslationHook(scene);
    const std::vector<QString> expected = {
        "scene revert Apply",                     // nothing active yet: texts stay
        QString::fromUtf8("scene show 应用"),
        QString::fromUtf8("walk 应用"),
        "changed 0804 Chinese (China)",
    };
    EXPECT_EQ(events, expected);
}

TEST_F(TuiLanguageTest, TranslatedWindowsLeaveTheListWithTheirComponent)
{
    install(threeLanguages());
    const int before = TuiLanguage::uiParentFormCount();
    int walks = 0;
    {
        TuiLanguage withWindow(nullptr, [&] { ++walks; });
        EXPECT_EQ(TuiLanguage::uiParentFormCount(), before + 1);
        withWindow.SetLang("0409");
        EXPECT_EQ(walks, 1);
    }
    TuiLanguage other;
    EXPECT_EQ(TuiLanguage::uiParentFormCount(), before + 1);
    other.SetLang("0804");
    EXPECT_EQ(walks, 1);
}

TEST_F(TuiLanguageTest, EmptyFileGivesNoLanguages)
{
    install({});
    TuiLanguage language;
    EXPECT_TRUE(language.loadError().isEmpty());
    EXPECT_EQ(language.languageCount(), 0);
    language.SetLang("0804");
    EXPECT_EQ(activeTranslation(), nullptr);
}

TEST_F(TuiLanguageTest, DamagedOrMissingFileRunsInEnglish)
{
    TuiLanguage missing;
    EXPECT_EQ(missing.languageCount(), 0);
    EXPECT_TRUE(missing.loadError().isEmpty());

    QByteArray bytes;
    QString error;
    bytes = *writeLanguageFile(threeLanguages(), error);
    bytes.chop(3);
    installBytes(bytes);
    TuiLanguage damaged;
    EXPECT_EQ(damaged.languageCount(), 0);
    EXPECT_TRUE(damaged.original().isEmpty());
    EXPECT_TRUE(damaged.loadError().contains("damaged")) << damaged.loadError().toStdString();
    damaged.SetLang("0804");
    EXPECT_EQ(translate("Apply"), "Apply");

    // A good file loaded later replaces the rejection.
    install(threeLanguages());
    EXPECT_TRUE(damaged.loadFromFile(m_env.path("ui.local")));
    EXPECT_TRUE(damaged.loadError().isEmpty());
    EXPECT_EQ(damaged.languageCount(), 3);
}
