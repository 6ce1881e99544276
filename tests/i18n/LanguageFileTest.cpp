#include "i18n/LanguageFileReader.h"
#include "i18n/LanguageFileWriter.h"

#include "TestEnvironment.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

using namespace k4812;
using namespace std::literals;

namespace {

// A text that may hold NUL units.
QString units(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// Builds language-file bytes by hand, independently of the writer.
struct Bytes {
    QByteArray data;

    Bytes& count(std::int32_t value)
    {
        char b[4];
        qToLittleEndian(value, b);
        data.append(b, 4);
        return *this;
    }
    Bytes& units(const QString& text)
    {
        for (QChar c : text) {
            char b[2];
            qToLittleEndian(char16_t(c.unicode()), b);
            data.append(b, 2);
        }
        return *this;
    }
    Bytes& text(const QString& value) { return count(std::int32_t(value.size())).units(value); }
};

} // namespace

TEST(LanguageFile, BlocksSplitAtEveryLineBreakAndEndAtNul)
{
    struct Case {
        QString block;
        QStringList lines;
    };
    const Case cases[] = {
        {QString(), {}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {QString::fromUtf16(u"a\vb\fc\rd\u2028e\u2029f"), {"a", "b", "c", "d", "e", "f"}},
        {units(u"a=b\r\nc\0d\r\ne"sv), {"a=b", "c"}},
        {units(u"\0a=b"sv), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitBlockLines(c.block), c.lines) << c.block.toStdString();
}

TEST(LanguageFile, WriterProducesTheDocumentedLayout)
{
    LanguageFile file;
    file.original = {"b", "a"};
    file.resources = {{"0804", {"b=乙", "a=甲"}}};
    QString error;
    const std::optional<QByteArray> bytes = writeLanguageFile(file, error);
    ASSERT_TRUE(bytes) << error.toStdString();
    const QByteArray expected =
        Bytes().text("a\r\nb\r\n").count(1).text("0804").text(QString::fromUtf8("a=甲\r\nb=乙\r\n")).data;
    EXPECT_EQ(*bytes, expected);
}

TEST(LanguageFile, WrittenFilesReadBackUnchanged)
{
    LanguageFile file;
    file.original = {"Apply", "    Please connect", QString::fromUtf16(u"emoji \U0001F600")};
    file.resources = {
        {"0409", {"Apply=Apply"}},
        {"0804", {"Apply=应用", "Cancel=", "x=a=b"}},
        {"0404", {}},
    };
    QString error;
    const std::optional<QByteArray> bytes = writeLanguageFile(file, error);
    ASSERT_TRUE(bytes) << error.toStdString();
    const std::optional<LanguageFile> read = readLanguageFile(*bytes, error);
    ASSERT_TRUE(read) << error.toStdString();

    QStringList original = file.original;
    sortBlockLines(original);
    EXPECT_EQ(read->original, original);
    ASSERT_EQ(read->resources.size(), 3);
    for (qsizetype i = 0; i < 3; ++i) {
        QStringList lines = file.resources[i].lines;
        sortBlockLines(lines);
        EXPECT_EQ(read->resources[i].shortId, file.resources[i].shortId);
        EXPECT_EQ(read->resources[i].lines, lines);
    }
}

TEST(LanguageFile, EmptyFileWithNoLanguagesIsValid)
{
    QString error;
    const std::optional<LanguageFile> read = readLanguageFile(Bytes().text("").count(0).data, error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_TRUE(read->original.isEmpty());
    EXPECT_TRUE(read->resources.isEmpty());
}

TEST(LanguageFile, ReaderSortsLinesCaseSensitively)
{
    QString error;
    const std::optional<LanguageFile> read =
        readLanguageFile(Bytes().text("b\r\nB\r\na").count(1).text("0804").text("b=2\r\nB=1").data, error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(read->original, QStringList({"B", "a", "b"}));
    EXPECT_EQ(read->resources[0].lines, QStringList({"B=1", "b=2"}));
}

TEST(LanguageFile, DamagedFilesAreRejectedWhole)
{
    const QByteArray good = Bytes().text("a").count(1).text("0804").text("a=b").data;
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty file", QByteArray()},
        {"count cut short", QByteArray("\x01\x00", 2)},
        {"negative source count", Bytes().count(-1).count(0).data},
        {"source count past the end", Bytes().count(3).units("ab").count(0).data},
        {"huge source count", Bytes().count(0x7FFFFFFF).data},
        {"file ends inside a character", Bytes().count(1).data + QByteArray("a", 1)},
        {"no language count", Bytes().text("a").data},
        {"negative language count", Bytes().text("a").count(-1).data},
        {"language count past the end", Bytes().text("a").count(1000).text("0804").text("").data},
        {"huge language count", Bytes().text("").count(0x7FFFFFFF).data},
        {"short ID past the end", Bytes().text("").count(1).count(4).units("08").data},
        {"negative block length", Bytes().text("").count(1).text("0804").count(-5).data},
        {"block past the end", Bytes().text("").count(1).text("0804").count(10).units("a=b").data},
        {"second language missing", Bytes().text("").count(2).text("0804").text("a=b").data},
        {"good file cut short", good.left(good.size() - 1)},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(readLanguageFile(c.bytes, error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
    QString error;
    EXPECT_TRUE(readLanguageFile(good, error)) << error.toStdString();
    // Nothing marks the end of the file, so bytes after the last language are ignored.
    EXPECT_TRUE(readLanguageFile(good + QByteArray("xyz"), error)) << error.toStdString();
}

TEST(LanguageFile, WriterRefusesTextsThatWouldNotReadBack)
{
    struct Case {
        const char* what;
        LanguageFile file;
    };
    const Case cases[] = {
        {"line break in a source text", {{"a\nb"}, {}}},
        {"NUL in a translation", {{}, {{"0804", {units(u"a=b\0c"sv)}}}}},
        {"paragraph separator", {{}, {{"0804", {QString::fromUtf16(u"a=b\u2029")}}}}},
        {"empty short ID", {{}, {{"", {"a=b"}}}}},
        {"short ID with a line break", {{}, {{"08\r04", {}}}}},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(writeLanguageFile(c.file, error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
}

TEST(LanguageFile, SaveKeepsTheOldFileWhenRefused)
{
    k4812::test::TestEnvironment env;
    const QString path = env.path("ui.local");
    ASSERT_TRUE(k4812::test::writeFile(path, "old"));
    QString error;
    EXPECT_FALSE(saveLanguageFile({{"a\nb"}, {}}, path, error));
    EXPECT_EQ(k4812::test::readFile(path), "old");
    ASSERT_TRUE(saveLanguageFile({{"a"}, {{"0409", {"a=a"}}}}, path, error)) << error.toStdString();
    EXPECT_TRUE(readLanguageFileFrom(path, error)) << error.toStdString();
    EXPECT_FALSE(readLanguageFileFrom(env.path("missing.local"), error));
}
