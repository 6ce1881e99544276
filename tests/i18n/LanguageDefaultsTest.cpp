#include "i18n/LanguageDefaults.h"
#include "i18n/LanguageNames.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(LanguageDefaults, ChineseSystemsStartInTheirLanguage)
{
    struct Case {
        const char* locale;
        int index;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", 1}, {"zh_TW.UTF-8", 2}, {"en_US.UTF-8", 0}, {"zh_HK.UTF-8", 0},
        {"zh_SG.UTF-8", 0}, {"de_DE.UTF-8", 0}, {"C", 0},
    };
    k4812::test::TestEnvironment env;
    for (const Case& c : cases) {
        env.set("LC_ALL", c.locale);
        EXPECT_EQ(systemDefaultLanguageIndex(), c.index) << c.locale;
    }
    EXPECT_EQ(defaultLanguageIndexOf("0804"), 1);
    EXPECT_EQ(defaultLanguageIndexOf("0404"), 2);
    EXPECT_EQ(defaultLanguageIndexOf(""), 0);
}

TEST(LanguageNames, NativeAndUserLanguageNames)
{
    k4812::test::TestEnvironment env;
    EXPECT_EQ(nativeLanguageNameOf("0804"), QString::fromUtf8("简体中文"));
    EXPECT_EQ(nativeLanguageNameOf("0404"), QString::fromUtf8("繁體中文"));
    EXPECT_EQ(nativeLanguageNameOf("0407"), "Deutsch");
    EXPECT_EQ(nativeLanguageNameOf("zzzz"), QString());
    EXPECT_EQ(nativeLanguageNameOf(""), QString());

    env.set("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(languageLongNameOf("0404"), "Chinese (Taiwan)");
    EXPECT_EQ(languageLongNameOf("1234"), QString());
    env.set("LC_ALL", "zh_CN.UTF-8");
    EXPECT_EQ(languageLongNameOf("0404"), QString::fromUtf8("繁體中文 (台灣)"));
    EXPECT_EQ(languageLongNameOf("0409"), "English (United States)");
}
