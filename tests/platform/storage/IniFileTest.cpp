#include "platform/storage/IniFile.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(IniFile, NamesCompareWithoutCaseAndValueIsRestOfLine)
{
    const IniFile ini = IniFile::fromBytes("[OtherConfig]\r\nNoLogo = 1\r\n[specialversion]\nversion=v2 beta=x\n");
    EXPECT_EQ(ini.value("otherconfig", "NOLOGO"), "1");
    EXPECT_EQ(ini.value("SpecialVersion", "VERSION"), "v2 beta=x");
    EXPECT_FALSE(ini.contains("OtherConfig", "Missing"));
    EXPECT_EQ(ini.value("Nowhere", "x", "dflt"), "dflt");
}

TEST(IniFile, IntValueFollowsProfileIntRules)
{
    const IniFile ini = IniFile::fromBytes("[s]\na=42\nb=abc\nc=-7x\nd=\ne=99999999999999999999\n");
    struct Case {
        const char* key;
        int expected;
    };
    const Case cases[] = {{"a", 42}, {"b", 0}, {"c", -7}, {"d", 0}, {"missing", 5}, {"e", 2147483647}};
    for (const Case& c : cases)
        EXPECT_EQ(ini.intValue("s", c.key, 5), c.expected) << c.key;
}

TEST(IniFile, EntriesInFileOrderFirstDuplicateWins)
{
    const IniFile ini = IniFile::fromBytes("[HelpFiles]\n0804=zh.chm\n0409=en.chm\n0804=other\n; note\n[helpfiles]\n0404=tw.chm\n");
    const QList<IniFile::Entry> entries = ini.entries("HELPFILES");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0], IniFile::Entry("0804", "zh.chm"));
    EXPECT_EQ(entries[1], IniFile::Entry("0409", "en.chm"));
}

TEST(IniFile, ReadsUtf16WithByteOrderMarkAndUtf8WithMark)
{
    const QString text = QStringLiteral("[A]\nk=v\u00e9\n");
    QByteArray utf16("\xFF\xFE", 2);
    for (QChar c : text) {
        utf16.append(char(c.unicode() & 0xFF));
        utf16.append(char(c.unicode() >> 8));
    }
    EXPECT_EQ(IniFile::fromBytes(utf16).value("a", "K"), QStringLiteral("v\u00e9"));
    EXPECT_EQ(IniFile::fromBytes("\xEF\xBB\xBF" + text.toUtf8()).value("a", "K"), QStringLiteral("v\u00e9"));
}

TEST(IniFile, MissingFileAndGarbageGiveDefaults)
{
    EXPECT_EQ(IniFile::fromFile("/nonexistent/config.ini").intValue("OtherConfig", "NoLogo", 0), 0);
    const IniFile junk = IniFile::fromBytes(QByteArray("\x00\x01=\n[\n=x\n]]\n", 12));
    EXPECT_EQ(junk.value("x", "y", "d"), "d");
}
