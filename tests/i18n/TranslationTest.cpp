#include "i18n/Translation.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(TranslationList, LooksUpExactlyAndFallsBackToTheText)
{
    const TranslationList list({"Apply=应用", "Cancel=", "Note", "x=a=b", "Same=first", "Same=second", "=orphan"});
    struct Case {
        const char* text;
        QString expected;
    };
    const Case cases[] = {
        {"Apply", QString::fromUtf8("应用")},
        {"APPLY", "APPLY"},           // case-sensitive
        {"apply", "apply"},
        {"Cancel", "Cancel"},         // empty translation: shown in English
        {"Note", "Note"},             // a line without "=" translates nothing
        {"x", "a=b"},                 // only the first "=" separates
        {"x=a", "x=a"},
        {"Same", "first"},            // the first line in canonical order wins
        {"Missing", "Missing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.translate(c.text), c.expected) << c.text;
}

TEST(TranslationList, RevertGivesTheSourceTextOfATranslation)
{
    const TranslationList list({"Apply=应用", "Save=保存", "Keep=保存", "Cancel="});
    EXPECT_EQ(list.revert(QString::fromUtf8("应用")), "Apply");
    EXPECT_EQ(list.revert(QString::fromUtf8("保存")), "Keep"); // "Keep=" sorts before "Save="
    EXPECT_EQ(list.revert("Apply"), "Apply");
    EXPECT_EQ(list.revert("Unknown"), "Unknown");
}

class ProcessTranslation : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset()
    {
        clearActiveTranslation();
        setTranslationReverting(false);
    }
};

TEST_F(ProcessTranslation, FollowsTheActiveListAndTheRevertFlag)
{
    EXPECT_EQ(translate("Apply"), "Apply");
    EXPECT_EQ(translate(QString()), QString());
    EXPECT_EQ(activeTranslation(), nullptr);

    setActiveTranslation(TranslationList({"Apply=应用", "=nothing"}));
    EXPECT_EQ(translate("Apply"), QString::fromUtf8("应用"));
    EXPECT_EQ(translate(QString()), QString()); // an empty text stays empty
    ASSERT_NE(activeTranslation(), nullptr);

    setTranslationReverting(true);
    EXPECT_EQ(translate(QString::fromUtf8("应用")), "Apply");
    EXPECT_EQ(translate("Apply"), "Apply");
    EXPECT_EQ(translate(QString()), QString());

    clearActiveTranslation();
    EXPECT_EQ(translate(QString::fromUtf8("应用")), QString::fromUtf8("应用"));
}
