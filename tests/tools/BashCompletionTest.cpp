#include "BashCompletion.h"

#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QProcess>

using namespace k4812;
using namespace k4812::cli;

TEST(BashCompletion, WordsComeFromTheUsageLines)
{
    struct Case {
        const char* verb;
        const char* usage;
        QStringList subWords;
        QStringList options;
    };
    const Case cases[] = {
        {"profile", "k4812ctl profile show N [--json]\n       k4812ctl profile export N FILE.pfd\n\nShows...",
         {"show", "export"}, {"--json"}},
        {"language", "k4812ctl language [set INDEX|SHORTID]", {"set"}, {}},
        {"switch", "k4812ctl switch profile|mode N", {"profile", "mode"}, {}},
        {"emulator", "k4812ctl --device=emulator[:STATEFILE] emulator dump ADDR LEN", {"dump"}, {}},
        {"apply", "k4812ctl apply [--last-profile=N]", {}, {"--last-profile="}},
        {"set", "k4812ctl set [--apply] SETTING VALUE...", {}, {"--apply"}},
        {"encode", "k4812ctl encode FILE.pfd\n\nPrints the blocks; see k4812ctl profile show.", {}, {}},
    };
    for (const Case& c : cases) {
        const VerbWords words = verbWordsFromUsage(QString::fromLatin1(c.verb), QString::fromLatin1(c.usage));
        EXPECT_EQ(words.subWords, c.subWords) << c.verb;
        EXPECT_EQ(words.options, c.options) << c.verb;
    }
}

TEST(BashCompletion, HiddenVerbsStayOutOfTheScriptAndTheHelp)
{
    k4812::test::TestEnvironment env;
    const auto script = k4812::test::runCtl({"completion", "bash"});
    ASSERT_EQ(script.status, kExitOk);
    EXPECT_FALSE(script.out.contains("completion)"));
    EXPECT_TRUE(script.out.contains("profile)"));
    EXPECT_FALSE(k4812::test::runCtl({"--help"}).out.contains("completion"));
    EXPECT_EQ(k4812::test::runCtl({"completion", "zsh"}).status, kExitUsage);
}

// The generated script run by bash, as the shell calls it for a command line
// split into words (bash splits at "=").
TEST(BashCompletion, BashCompletesVerbsSubWordsAndOptions)
{
    k4812::test::TestEnvironment env;
    const QString scriptPath = env.path("k4812ctl.bash");
    ASSERT_TRUE(k4812::test::writeFile(scriptPath, bashCompletionScript(registeredVerbs()).toUtf8()));

    struct Case {
        QStringList words;  // the last one is being completed
        QStringList expected;
    };
    const Case cases[] = {
        {{"k4812ctl", "pro"}, {"profile", "profiles"}},
        {{"k4812ctl", "--device", "=", "emulator", "pro"}, {"profile", "profiles"}},
        {{"k4812ctl", "--device", "="}, {"hidraw", "emulator"}},
        {{"k4812ctl", "--device", "=", "em"}, {"emulator"}},
        {{"k4812ctl", "--tr"}, {"--trace="}},
        {{"k4812ctl", "profile", ""}, {"show", "export", "import", "reset"}},
        {{"k4812ctl", "profile", "show", ""}, {}},
        {{"k4812ctl", "profile", "show", "1", "--j"}, {"--json"}},
        {{"k4812ctl", "apply", "--l"}, {"--last-profile="}},
        {{"k4812ctl", "set", ""},
         {"cpi", "cpi-levels", "different-xy", "rate", "light", "color", "colour", "breathing", "button",
          "pointer-speed", "enhanced-precision", "double-click", "wheel-lines"}},
        {{"k4812ctl", "set", "wheel-lines", ""}, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "page"}},
        {{"k4812ctl", "set", "enhanced-precision", ""}, {"on", "off"}},
        {{"k4812ctl", "set", "li"}, {"light"}},
        {{"k4812ctl", "set", "light", ""}, {"on", "off"}},
        {{"k4812ctl", "--device", "=", "emulator", "set", "--apply", "rate", ""}, {"125", "250", "500", "1000"}},
        {{"k4812ctl", "set", "breathing", ""}, {"1", "2", "3"}},
        {{"k4812ctl", "set", "button", ""}, {"1", "2", "3", "4", "5", "6", "7"}},
        {{"k4812ctl", "set", "button", "3", "pl"}, {"play-pause"}},
        {{"k4812ctl", "set", "button", "3", "ma"}, {"macro"}},
        {{"k4812ctl", "set", "color", ""}, {}},
        {{"k4812ctl", "set", "light", "on", ""}, {}},
        {{"k4812ctl", "set", "--a"}, {"--apply"}},
        {{"k4812ctl", "comp"}, {}},
        {{"k4812ctl", "frobnicate", ""}, {}},
    };
    for (const Case& c : cases) {
        QStringList quoted;
        for (const QString& w : c.words)
            quoted.append(QLatin1Char('\'') + w + QLatin1Char('\''));
        const QString program = QStringLiteral("source '%1'; COMP_WORDS=(%2); COMP_CWORD=%3; _k4812ctl; "
                                               "printf '%s\\n' \"${COMPREPLY[@]}\"")
                                    .arg(scriptPath, quoted.join(QLatin1Char(' ')))
                                    .arg(c.words.size() - 1);
        QProcess bash;
        bash.start(QStringLiteral("bash"), {QStringLiteral("--norc"), QStringLiteral("-c"), program});
        ASSERT_TRUE(bash.waitForFinished(10000));
        EXPECT_EQ(bash.exitCode(), 0) << bash.readAllStandardError().toStdString();
        const QStringList replies =
            QString::fromUtf8(bash.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_EQ(replies, c.expected) << c.words.join(QLatin1Char(' ')).toStdString();
    }
}
