#include "platform/storage/IniFile.h"
#include "profiles/AppConfig.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(AppConfig, MissingFileGivesTheDefaults)
{
    test::TestEnvironment env;
    const AppConfig config = AppConfig::fromFile(env.path("nowhere/config.ini"));
    EXPECT_TRUE(config.includeDeviceList().isEmpty());
    EXPECT_TRUE(config.helpFiles().isEmpty());
    EXPECT_EQ(config.noLogo(), 0);
    EXPECT_EQ(config.specialVersion(), "V1");
    EXPECT_FALSE(config.showsWebLinks());
    EXPECT_EQ(config.otherConfig().Nologo, 0);
}

TEST(AppConfig, ReadsTheFourSections)
{
    test::TestEnvironment env;
    ASSERT_TRUE(test::writeFile(env.path("config.ini"),
                                "[IncludeHIDDeviceList]\nid1=HID\\VID_1234&PID_5678\nid2=\nid3=HID\\VID_9999\n"
                                "[HelpFiles]\n0804=help_cn.chm\n0409=help_en.chm\n0404=help_tw.chm\n"
                                "[OtherConfig]\nNoLogo=1\n"
                                "[specialversion]\nVERSION=v2\n"));
    const QByteArray before = test::readFile(env.path("config.ini"));
    const AppConfig config = AppConfig::fromFile(env.path("config.ini"));
    EXPECT_EQ(config.includeDeviceList(), QStringList{"HID\\VID_1234&PID_5678"});
    ASSERT_EQ(config.helpFiles().size(), 3);
    EXPECT_EQ(config.helpFiles()[0], AppConfig::HelpFile("0804", "help_cn.chm"));
    EXPECT_EQ(config.helpFiles()[2], AppConfig::HelpFile("0404", "help_tw.chm"));
    EXPECT_EQ(config.otherConfig().Nologo, 1);
    EXPECT_TRUE(config.showsWebLinks());
    EXPECT_EQ(test::readFile(env.path("config.ini")), before); // never written
}

TEST(AppConfig, NoLogoAndVersionValues)
{
    struct Case {
        const char* text;
        int noLogo;
        bool webLinks;
    };
    const Case cases[] = {
        {"[OtherConfig]\nNoLogo=yes\n[specialversion]\nVERSION=V1\n", 0, false},
        {"[OtherConfig]\nNoLogo=7\n[specialversion]\nVERSION=V2\n", 7, true},
        {"[otherconfig]\nnologo=\n[SPECIALVERSION]\nversion=V3\n", 0, false},
        {"[specialversion]\nVERSION=v2x\n", 0, false},
    };
    for (const Case& c : cases) {
        const AppConfig config = AppConfig::fromIni(IniFile::fromBytes(c.text));
        EXPECT_EQ(config.noLogo(), c.noLogo) << c.text;
        EXPECT_EQ(config.showsWebLinks(), c.webLinks) << c.text;
    }
}
