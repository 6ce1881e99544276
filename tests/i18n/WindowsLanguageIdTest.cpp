#include "i18n/WindowsLanguageId.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(WindowsLanguageId, LocalesMapToIdentifiers)
{
    struct Case {
        const char* locale;
        const char* id;
    };
    const Case cases[] = {
        {"en_US", "0409"}, {"en_GB", "0809"}, {"en_IN", "0409"}, {"zh_CN", "0804"}, {"zh_SG", "1004"},
        {"zh_TW", "0404"}, {"zh_HK", "0C04"}, {"de_AT", "0407"}, {"sw_KE", "0409"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowsLanguageIdOf(QLocale(c.locale)), c.id) << c.locale;
}

TEST(WindowsLanguageId, IdentifiersMapBack)
{
    EXPECT_EQ(localeOfWindowsLanguageId("0404").territory(), QLocale::Taiwan);
    EXPECT_EQ(localeOfWindowsLanguageId("0c04").territory(), QLocale::HongKong);
    EXPECT_EQ(localeOfWindowsLanguageId("zzzz"), QLocale::c());
}

TEST(WindowsLanguageId, SystemLanguageFollowsGettextOrder)
{
    k4812::test::TestEnvironment env;
    env.set("LC_ALL", QString());
    env.set("LC_MESSAGES", "zh_TW.UTF-8");
    env.set("LANG", "en_US.UTF-8");
    EXPECT_EQ(systemWindowsLanguageId(), "0404");
    env.set("LC_ALL", "zh_CN.UTF-8");
    EXPECT_EQ(systemWindowsLanguageId(), "0804");
    env.set("LC_ALL", "C");
    EXPECT_EQ(systemWindowsLanguageId(), "0409");
}
