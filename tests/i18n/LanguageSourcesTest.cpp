#include "i18n/LanguageSources.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(LanguageSources, SourceListKeepsTextsAsWritten)
{
    QString error;
    const QByteArray utf8 = "\xEF\xBB\xBF# comment\r\n"
                            "Apply\r\n"
                            "\n"
                            "    Please connect\n"
                            "   \n"
                            "Cancel";
    const std::optional<QStringList> texts = parseSourceTexts(utf8, "source.txt", error);
    ASSERT_TRUE(texts) << error.toStdString();
    EXPECT_EQ(*texts, QStringList({"Apply", "    Please connect", "Cancel"}));
}

TEST(LanguageSources, SourceListRefusesTextsThatCannotBeTranslated)
{
    struct Case {
        QByteArray utf8;
        const char* expected; // part of the message
    };
    const Case cases[] = {
        {"Apply\nA=B\n", "source.txt:2: the source text \"A=B\" holds \"=\""},
        {"Apply\nApply\n", "source.txt:2: the source text \"Apply\" is listed twice"},
        {"Page\x0c" "break\n", "source.txt:1: \"Page\x0c" "break\" holds a line break"},
        {"Line\xE2\x80\xA8sep\n", "holds a line break"},
        {"Bad \xC3\x28 byte\n", "source.txt: not valid UTF-8"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(parseSourceTexts(c.utf8, "source.txt", error)) << c.expected;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << error.toStdString();
    }
}

TEST(LanguageSources, EveryTextNeedsExactlyOneTranslationLine)
{
    const QStringList sources = {"Apply", "Cancel", "    Please connect"};
    QString error;
    const std::optional<LanguageResource> good = parseTranslations(
        "Apply=\xE5\xBA\x94\xE7\x94\xA8\nCancel=\n    Please connect=    x=y\n", "0804.txt", "0804", sources, error);
    ASSERT_TRUE(good) << error.toStdString();
    EXPECT_EQ(good->shortId, "0804");
    EXPECT_EQ(good->lines, QStringList({QString::fromUtf8("Apply=应用"), "Cancel=", "    Please connect=    x=y"}));

    struct Case {
        QByteArray utf8;
        const char* expected;
    };
    const Case cases[] = {
        {"Apply=a\n", "0804.txt: no translation of 2 source text(s):\n  \"Cancel\"\n  \"    Please connect\""},
        {"Apply=a\nCancel=b\nPlease connect=c\n", "0804.txt:3: \"Please connect\" is not a source text"},
        {"Apply=a\nApply=b\n", "0804.txt:2: \"Apply\" is translated twice"},
        {"Apply a\n", "0804.txt:1: \"Apply a\" is not of the form source=translation"},
        {"APPLY=a\nCancel=b\n    Please connect=c\n", "\"APPLY\" is not a source text"},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(parseTranslations(c.utf8, "0804.txt", "0804", sources, error)) << c.expected;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.expected))) << error.toStdString();
    }
}

TEST(LanguageSources, CompilesLanguagesInTheOrderGiven)
{
    k4812::test::TestEnvironment env;
    ASSERT_TRUE(k4812::test::writeFile(env.path("source.txt"), "Apply\n"));
    ASSERT_TRUE(k4812::test::writeFile(env.path("0409.txt"), "Apply=Apply\n"));
    ASSERT_TRUE(k4812::test::writeFile(env.path("0804.txt"), "Apply=\xE5\xBA\x94\xE7\x94\xA8\n"));
    ASSERT_TRUE(k4812::test::writeFile(env.path("chinese.txt"), "Apply=x\n"));
    ASSERT_TRUE(k4812::test::writeFile(env.path("0c04.txt"), "Apply=x\n"));
    ASSERT_TRUE(k4812::test::writeFile(env.path("0C04.txt"), "Apply=x\n"));

    QString error;
    const std::optional<LanguageFile> file =
        compileLanguageSources(env.path("source.txt"), {env.path("0804.txt"), env.path("0409.txt")}, error);
    ASSERT_TRUE(file) << error.toStdString();
    ASSERT_EQ(file->resources.size(), 2);
    EXPECT_EQ(file->resources[0].shortId, "0804");
    EXPECT_EQ(file->resources[1].shortId, "0409");
    EXPECT_EQ(file->original, QStringList({"Apply"}));

    EXPECT_FALSE(compileLanguageSources(env.path("source.txt"), {env.path("chinese.txt")}, error));
    EXPECT_TRUE(error.contains("named after its short ID")) << error.toStdString();
    EXPECT_FALSE(compileLanguageSources(env.path("source.txt"), {env.path("0c04.txt"), env.path("0C04.txt")}, error));
    EXPECT_TRUE(error.contains("given twice")) << error.toStdString();
    EXPECT_FALSE(compileLanguageSources(env.path("none.txt"), {}, error));
    EXPECT_TRUE(error.contains("cannot read")) << error.toStdString();
}
