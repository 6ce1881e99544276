#include "CliTestSupport.h"
#include "TestEnvironment.h"

#include "records/RecordBytes.h"
#include "records/Records.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace k4812;
using k4812::test::runCtl;

namespace {

// The fields of a factory-default profile that reach the mouse, and one macro.
QByteArray defaultProfileBytes()
{
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    p->ProfileHeader.FFileVersion = kProfileFileVersion;
    TMOUSECONFIGINFO& c = p->ConfigInfo;
    c.ButtonCount = 7;
    const int codes[7] = {1, 2, 3, 4, 5, 9, 10};
    for (int i = 0; i < 7; ++i) {
        c.ButtonFuncInfo[i].DeviceCode = codes[i];
        c.ButtonFuncInfo[i].FunctionClass = i < 5 ? 1 : 0;
    }
    c.HWVWheelValue = 1;
    c.WheelLedOnOff = 1;
    c.ReportRate = 500;
    c.CPILevel = 4;
    c.CurrentCPIIndex = 1;
    c.LEDConfig = TLEDCONFIG{0, 0, 255, 1, 1, 0};
    const std::uint16_t levels[4] = {400, 800, 1600, 3500};
    for (int k = 0; k < 4; ++k)
        c.CPIState[k] = TCPILEVELINFO{levels[k], levels[k], 1};
    return recordToBytes(*p);
}

QString zeros(int count)
{
    QStringList bytes;
    for (int i = 0; i < count; ++i)
        bytes << QStringLiteral("00");
    return bytes.join(' ');
}

} // namespace

TEST(VerbEncode, PrintsEveryBlockOfADefaultProfile)
{
    k4812::test::TestEnvironment env;
    const QString file = env.path("Profile1.pfd");
    ASSERT_TRUE(test::writeFile(file, defaultProfileBytes()));
    const auto r = runCtl({"encode", file});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList expected = {
        "buttons 08 01 00 00 00 02 00 00 00 03 00 00 00 05 00 00 00 04 00 00 00 09 00 00 00 0A 00 00 00 0D 00 00 00 "
            + zeros(32),
        "cpi 04 01 01 01 01 01 02 02 01 04 04 01 08 08 " + zeros(18),
        "light FF 00 FF 01 01 00",
        "macro0", "macro1", "macro2", "macro3", "macro4",
        "rate-code 2",
        "wheel-light 81",
    };
    EXPECT_EQ(r.out, expected.join('\n') + '\n');
}

TEST(VerbEncode, MacroLinesHoldTheBytesInUse)
{
    k4812::test::TestEnvironment env;
    auto p = makeZeroRecord<TMOUSEPROFILEINFO>();
    copyBytesIntoRecord(*p, defaultProfileBytes());
    TMACROKEYINFO& m = p->MacroKeyInfoList.MacroInfos[0];
    m.MacroList[0] = TMACROKEY{4, 1, 65, 0};
    m.MacroList[1] = TMACROKEY{6, 0, 50, 0};
    m.MacroList[2] = TMACROKEY{4, 0, 65, 0};
    m.MacroListCount = 3;
    m.nLoopCount = 3;
    p->MacroKeyInfoList.nMacroInfoCount = 1;
    TBUTTONFUNCINFO& e = p->ConfigInfo.ButtonFuncInfo[6];
    e.MacroKeyInfo = m;
    e.FunctionClass = kFunctionClassMacro;
    e.DeviceCode = 0x11;
    const QString file = env.path("macro.pfd");
    ASSERT_TRUE(test::writeFile(file, recordToBytes(*p)));
    const auto r = runCtl({"encode", file});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("\nmacro0 84 04 00 06 05 00 04 04 00 07 03 00\nmacro1\n"));
    EXPECT_TRUE(r.out.contains(" 11 00 0C 00 0D 00 00 00 ")) << r.out.toStdString();
}

TEST(VerbEncode, ShortAndLongFilesAreReadWithAWarning)
{
    k4812::test::TestEnvironment env;
    const QByteArray bytes = defaultProfileBytes();

    const QString shortFile = env.path("short.pfd");
    ASSERT_TRUE(test::writeFile(shortFile, bytes.left(100)));
    const auto s = runCtl({"encode", shortFile});
    EXPECT_EQ(s.status, 0);
    EXPECT_TRUE(s.err.contains("warning: \"" + shortFile + "\" is 100 bytes, shorter than a profile")) << s.err.toStdString();
    EXPECT_TRUE(s.out.startsWith("buttons 08 00 00 00 00 00")) << s.out.toStdString();
    EXPECT_TRUE(s.out.contains("\nrate-code 2\n"));   // a rate of 0 Hz falls back to 500 Hz
    EXPECT_TRUE(s.err.contains("report rate 0 Hz"));

    const QString longFile = env.path("long.pfd");
    ASSERT_TRUE(test::writeFile(longFile, bytes + QByteArray(10, '\xAA')));
    const auto l = runCtl({"encode", longFile});
    EXPECT_EQ(l.status, 0);
    EXPECT_TRUE(l.err.contains("is 109898 bytes, longer than a profile")) << l.err.toStdString();
    EXPECT_TRUE(l.out.contains("\nlight FF 00 FF 01 01 00\n"));

    const QString emptyFile = env.path("empty.pfd");
    ASSERT_TRUE(test::writeFile(emptyFile, QByteArray()));
    const auto e = runCtl({"encode", emptyFile});
    EXPECT_EQ(e.status, 0);
    EXPECT_TRUE(e.err.contains("has version 0, not 259"));
}

TEST(VerbEncode, UnreadableFileOrBadArgumentsFail)
{
    k4812::test::TestEnvironment env;
    const auto missing = runCtl({"encode", env.path("nothing.pfd")});
    EXPECT_EQ(missing.status, cli::kExitFailure);
    EXPECT_TRUE(missing.err.contains("cannot read")) << missing.err.toStdString();
    EXPECT_TRUE(missing.out.isEmpty());

    const auto folder = runCtl({"encode", env.home()});
    EXPECT_EQ(folder.status, cli::kExitFailure);
    EXPECT_TRUE(folder.out.isEmpty());

    EXPECT_EQ(runCtl({"encode"}).status, cli::kExitUsage);
    EXPECT_EQ(runCtl({"encode", "a.pfd", "b.pfd"}).status, cli::kExitUsage);
}
