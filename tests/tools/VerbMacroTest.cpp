#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include "macros/MacroAction.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"
#include "records/RecordBytes.h"
#include "records/Records.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstring>
#include <initializer_list>

using namespace k4812;
using k4812::test::runCtl;

namespace {

TMACROKEYINFO makeMacro(const QString& name, std::initializer_list<TMACROKEY> actions)
{
    TMACROKEYINFO macro;
    std::memset(&macro, 0, sizeof macro);
    setMacroName(macro, name);
    int i = 0;
    for (const TMACROKEY& action : actions)
        macro.MacroList[i++] = action;
    macro.MacroListCount = i;
    macro.Version = kMacroFileVersion;
    return macro;
}

// Key A pressed and released around a 50 ms pause, a left click without its
// release, and an action of a kind the manager does not show.
TMACROKEYINFO sampleMacro()
{
    TMACROKEYINFO macro = makeMacro("Sample", {
        makeKeyAction(kMacroKeyDown, 'A'),
        makeDelayAction(50),
        makeKeyAction(kMacroKeyUp, 'A'),
        makeMacroAction(kMacroKeyMouse, kMacroKeyDown, 1, 0),
        makeKeyAction(kMacroKeyDown, 13, 1),
        makeKeyAction(kMacroKeyUp, 13, 1),
        makeMacroAction(9, 2, 0xAB, 0x01),
    });
    macro.nLoopCount = 3;
    macro.nAutoAddDelay = 1;
    macro.HaveErrors = 1;
    macro.ErrorCount = 4;
    return macro;
}

class VerbMacro : public ::testing::Test {
protected:
    QString writeMacro(const QString& file, const TMACROKEYINFO& macro)
    {
        const QString path = env.path(file);
        EXPECT_TRUE(test::writeFile(path, recordToBytes(macro)));
        return path;
    }
    QString writeProfile(const QString& file, std::initializer_list<TMACROKEYINFO> macros, qsizetype size = -1)
    {
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        profile->ProfileHeader.FFileVersion = kProfileFileVersion;
        int i = 0;
        for (const TMACROKEYINFO& macro : macros) {
            profile->MacroKeyInfoList.MacroInfos[i] = macro;
            profile->MacroKeyInfoList.MacroInfos[i].nMacroIndex = std::uint16_t(i);
            ++i;
        }
        profile->MacroKeyInfoList.nMacroInfoCount = std::uint16_t(i);
        QByteArray bytes = recordToBytes(*profile);
        if (size >= 0)
            bytes.resize(size, '\x5A');
        const QString path = env.path(file);
        EXPECT_TRUE(test::writeFile(path, bytes));
        return path;
    }

    test::TestEnvironment env;
};

} // namespace

TEST_F(VerbMacro, ShowPrintsTheMacroAndOneLinePerAction)
{
    const auto result = runCtl({"macro", "show", writeMacro("Sample.macro", sampleMacro())});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              "name: Sample\n"
              "index: 0\n"
              "loop count: 3\n"
              "auto add delay: 1\n"
              "have errors: 1\n"
              "error count: 4\n"
              "actions: 7\n"
              "  down A\n"
              "  delay 50\n"
              "  up A\n"
              "  mouse down Mouse Left Click\n"
              "  down ENTER\n"
              "  up ENTER\n"
              "  type 9 state 2 0xab 0x01\n");
    EXPECT_TRUE(result.err.isEmpty());
}

TEST_F(VerbMacro, ShowJsonHoldsTheSameFacts)
{
    const auto result = runCtl({"macro", "show", "--json", writeMacro("Sample.macro", sampleMacro())});
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(result.out.toUtf8(), &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << result.out.toStdString();
    const QJsonArray macros = doc.object()["macros"].toArray();
    ASSERT_EQ(macros.size(), 1);
    const QJsonObject macro = macros[0].toObject();
    EXPECT_EQ(macro["name"].toString(), "Sample");
    EXPECT_EQ(macro["loopCount"].toInt(), 3);
    EXPECT_EQ(macro["autoAddDelay"].toInt(), 1);
    EXPECT_EQ(macro["haveErrors"].toInt(), 1);
    EXPECT_EQ(macro["errorCount"].toInt(), 4);
    EXPECT_EQ(macro["version"].toInt(), 259);
    const QJsonArray actions = macro["actions"].toArray();
    ASSERT_EQ(actions.size(), 7);
    const QJsonObject delay = actions[1].toObject();
    EXPECT_EQ(delay["type"].toInt(), 6);
    EXPECT_EQ(delay["value1"].toInt(), 50);
    EXPECT_EQ(delay["text"].toString(), "delay 50");
    EXPECT_EQ(actions[4].toObject()["value2"].toInt(), 1);
}

TEST_F(VerbMacro, ShowReadsTheListOfAProfileFile)
{
    const TMACROKEYINFO second = makeMacro("Second", {makeDelayAction(65535)});
    const auto result = runCtl({"macro", "show", writeProfile("p.pfd", {sampleMacro(), second})});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains("name: Sample\n"));
    EXPECT_TRUE(result.out.contains("\n\nname: Second\nindex: 1\n"));
    EXPECT_TRUE(result.out.endsWith("actions: 1\n  delay 65535\n"));
    EXPECT_TRUE(result.err.isEmpty());

    const auto empty = runCtl({"macro", "show", writeProfile("empty.pfd", {})});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "no macros\n");
}

TEST_F(VerbMacro, AProfileOfTheWrongSizeIsReadWithAWarning)
{
    constexpr qsizetype kProfileSize = qsizetype(sizeof(TMOUSEPROFILEINFO));
    // Cut right after the macro list: everything needed is there.
    const qsizetype listEnd = qsizetype(offsetof(TMOUSEPROFILEINFO, MacroInfoToDevice));
    const auto shorter = runCtl({"macro", "show", writeProfile("short.pfd", {sampleMacro()}, listEnd)});
    EXPECT_EQ(shorter.status, 0);
    EXPECT_TRUE(shorter.out.contains("name: Sample\n"));
    EXPECT_TRUE(shorter.err.contains("warning")) << shorter.err.toStdString();
    EXPECT_TRUE(shorter.err.contains("shorter"));

    // Cut inside the list: the count is gone, read as zero.
    const auto cut = runCtl({"macro", "show", writeProfile("cut.pfd", {sampleMacro()}, 90000)});
    EXPECT_EQ(cut.status, 0);
    EXPECT_EQ(cut.out, "no macros\n");

    const auto longer = runCtl({"macro", "show", writeProfile("long.pfd", {sampleMacro()}, kProfileSize + 10)});
    EXPECT_EQ(longer.status, 0);
    EXPECT_TRUE(longer.out.contains("name: Sample\n"));
    EXPECT_TRUE(longer.err.contains("longer")) << longer.err.toStdString();
}

TEST_F(VerbMacro, FilesOutsideTheDataModelAreRefused)
{
    TMACROKEYINFO badCount = sampleMacro();
    badCount.MacroListCount = 129;
    TMACROKEYINFO oldVersion = sampleMacro();
    oldVersion.Version = 258;

    auto tooMany = makeZeroRecord<TMOUSEPROFILEINFO>();
    tooMany->MacroKeyInfoList.nMacroInfoCount = 22;
    ASSERT_TRUE(test::writeFile(env.path("many.pfd"), recordToBytes(*tooMany)));

    const QString files[] = {
        writeProfile("bad.pfd", {sampleMacro(), badCount}),
        env.path("many.pfd"),
        writeMacro("bad.macro", badCount),
        writeMacro("old.macro", oldVersion),
        env.path("missing.macro"),
        env.path("missing.pfd"),
    };
    for (const QString& file : files) {
        for (const char* command : {"show", "check"}) {
            const auto result = runCtl({"macro", command, file});
            EXPECT_EQ(result.status, cli::kExitFailure) << command << ' ' << file.toStdString();
            EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
            EXPECT_TRUE(result.err.startsWith("k4812ctl: ")) << result.err.toStdString();
        }
    }
}

TEST_F(VerbMacro, CheckPrintsTheErrorsOfEachMacroAndFailsWhenAnyHasSome)
{
    const TMACROKEYINFO clean = makeMacro("Clean", {makeKeyAction(kMacroKeyDown, 'A'), makeKeyAction(kMacroKeyUp, 'A')});
    const TMACROKEYINFO twice = makeMacro("Twice", {makeKeyAction(kMacroKeyDown, 'A'), makeKeyAction(kMacroKeyDown, 'A'),
                                                    makeKeyAction(kMacroKeyUp, 'A')});
    const TMACROKEYINFO open = makeMacro("Open", {makeKeyAction(kMacroKeyDown, 'A'), makeKeyAction(kMacroKeyDown, 'B')});

    const auto good = runCtl({"macro", "check", writeMacro("Clean.macro", clean)});
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "Clean: 0 errors\n");

    const auto bad = runCtl({"macro", "check", writeProfile("p.pfd", {clean, twice, open})});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "Clean: 0 errors\nTwice: 1 error\nOpen: 2 errors\n");
}

TEST_F(VerbMacro, ControlCharactersInNamesAreShownAsCodes)
{
    struct Case {
        QString name;
        const char* shown;
    };
    const Case cases[] = {
        {QStringLiteral("a\x1b[2Jb"), "a\\x1b[2Jb"},          // erase the screen
        {QStringLiteral("two\nlines"), "two\\x0alines"},
        {QStringLiteral("c1") + QChar(0x9B) + QStringLiteral("31m"), "c1\\x9b31m"},   // the one-character CSI
        {QStringLiteral("del\x7f"), "del\\x7f"},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = writeMacro(QStringLiteral("odd%1.macro").arg(++n), makeMacro(c.name, {}));
        const std::string shown = c.shown;
        EXPECT_TRUE(runCtl({"macro", "show", path}).out.startsWith(QString::fromStdString("name: " + shown + "\n")))
            << shown;
        EXPECT_EQ(runCtl({"macro", "check", path}).out.toStdString(), shown + ": 0 errors\n");
        const auto imported = runCtl({"macro", "import", path});
        EXPECT_EQ(imported.status, 0) << imported.err.toStdString();
        EXPECT_TRUE(imported.out.contains(QString::fromStdString("is \"" + shown + "\" (0 actions)")))
            << imported.out.toStdString();
        const auto again = runCtl({"macro", "import", path});
        EXPECT_TRUE(again.err.contains(QString::fromStdString("named \"" + shown + "\" already")))
            << again.err.toStdString();
    }
}

TEST_F(VerbMacro, WrongCommandLinesAreUsageErrors)
{
    const QString file = writeMacro("Sample.macro", sampleMacro());
    const QStringList lines[] = {
        {"macro"},
        {"macro", "list", file},
        {"macro", "show"},
        {"macro", "show", file, file},
        {"macro", "show", "--yaml", file},
        {"macro", "check", "--json", file},
    };
    for (const QStringList& line : lines) {
        const auto result = runCtl(line);
        EXPECT_EQ(result.status, cli::kExitUsage) << line.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains("Usage: k4812ctl macro")) << result.err.toStdString();
    }
}
