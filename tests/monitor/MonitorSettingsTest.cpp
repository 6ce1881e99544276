// The monitor's settings file: what is saved reads back the same, and a file
// with a line this program cannot use is reported, not half read.

#include "monitor/MonitorSettings.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::TestEnvironment;
using k4812::test::writeFile;

TEST(MonitorSettings, SavedSettingsReadBackTheSame)
{
    TestEnvironment env;
    MonitorSettings settings;
    settings.rules = {{QStringLiteral("firefox"), 1},
                      {QStringLiteral("Steam Big Picture"), 0},
                      {QStringLiteral("org.kde.konsole"), 1},
                      {QStringLiteral("游戏"), 1}};
    settings.returnMode = 0;
    settings.notifyPlug = false;
    const QString path = MonitorSettings::defaultPath();
    ASSERT_TRUE(path.startsWith(env.home()));
    settings.save(path);   // the folder is made
    QString error;
    EXPECT_EQ(MonitorSettings::load(path, error), settings) << error.toStdString();
}

TEST(MonitorSettings, AMissingFileIsTheDefaults)
{
    TestEnvironment env;
    QString error;
    const auto settings = MonitorSettings::load(env.path("none.conf"), error);
    ASSERT_TRUE(settings);
    EXPECT_EQ(*settings, MonitorSettings{});
}

TEST(MonitorSettings, BadLinesAreReportedWithTheirNumber)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"rule=3 game", "line 1"},
        {"rule=1", "line 1"},
        {"rule=1  game", "line 1"},   // leading space in the identifier
        {"return-mode=\nreturn-mode=x", "line 1"},
        {"notify-plug=1\nnotify-switch=yes", "line 2"},
        {"# comment\nmode=1", "line 2"},
        {"no equals sign", "line 1"},
    };
    TestEnvironment env;
    for (const auto& [text, where] : cases) {
        const QString path = env.path("bad.conf");
        ASSERT_TRUE(writeFile(path, text));
        QString error;
        EXPECT_FALSE(MonitorSettings::load(path, error)) << text;
        EXPECT_TRUE(error.contains(QLatin1String(where))) << text << ": " << error.toStdString();
    }
}

TEST(MonitorSettings, IdentifiersWithControlCharactersAreRefused)
{
    EXPECT_TRUE(MonitorSettings::isValidApp(QStringLiteral("code-oss")));
    EXPECT_FALSE(MonitorSettings::isValidApp(QString()));
    EXPECT_FALSE(MonitorSettings::isValidApp(QStringLiteral("a\nrule=2 b")));
    EXPECT_FALSE(MonitorSettings::isValidApp(QStringLiteral(" padded")));
}
