#include "records/RecordBytes.h"
#include "records/Records.h"

#include <gtest/gtest.h>

#include <QByteArray>

using namespace k4812;

namespace {

// Fills a record with a byte pattern that differs at every offset's
// neighbour, so a shifted or dropped byte shows.
template <class Record>
QByteArray patternBytes()
{
    QByteArray bytes(qsizetype(sizeof(Record)), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 131 + 7) & 0xFF);
    return bytes;
}

template <class Record>
void expectRoundTrip()
{
    const QByteArray original = patternBytes<Record>();
    auto record = makeZeroRecord<Record>();
    ASSERT_EQ(copyBytesIntoRecord(*record, original), sizeof(Record));
    EXPECT_EQ(recordToBytes(*record), original);
}

} // namespace

TEST(Records, RoundTripKeepsEveryByteIncludingReservedAreas)
{
    expectRoundTrip<TMOUSEPROFILEINFO>();
    expectRoundTrip<TProfileSettingGroup>();
    expectRoundTrip<TALLGAMESINFO>();
    expectRoundTrip<TMACROKEYINFO>();
}

TEST(Records, NewRecordIsAllZero)
{
    auto record = makeZeroRecord<TMOUSEPROFILEINFO>();
    EXPECT_EQ(recordToBytes(*record), QByteArray(109888, '\0'));
}

TEST(Records, FieldsLandAtTheirFileOffsetsLittleEndian)
{
    auto record = makeZeroRecord<TMOUSEPROFILEINFO>();
    record->ProfileHeader.FFileVersion = kProfileFileVersion;
    record->ConfigInfo.ReportRate = 500;
    record->ConfigInfo.ButtonFuncInfo[1].DeviceCode = 0x11223344;
    record->MacroKeyInfoList.nMacroInfoCount = 21;
    const QByteArray bytes = recordToBytes(*record);
    EXPECT_EQ(bytes.left(4), QByteArray::fromHex("03010000"));
    EXPECT_EQ(bytes.mid(72546, 2), QByteArray::fromHex("f401"));
    EXPECT_EQ(bytes.mid(860 + 3772 + 3760, 4), QByteArray::fromHex("44332211"));
    EXPECT_EQ(bytes.mid(86664 + 18732, 2), QByteArray::fromHex("1500"));
}

TEST(Records, ShortInputFillsOnlyItsBytes)
{
    auto record = makeZeroRecord<TALLGAMESINFO>();
    record->CurrentLanguage = 2;
    EXPECT_EQ(copyBytesIntoRecord(*record, QByteArray(10, '\x7F')), 10u);
    EXPECT_EQ(record->Allgameset[0].Marker, 0x7F7F);
    EXPECT_EQ(record->CurrentLanguage, 2);

    // No bytes at all (a null view, as an empty file gives) change nothing.
    EXPECT_EQ(copyBytesIntoRecord(*record, QByteArrayView()), 0u);
    EXPECT_EQ(copyBytesIntoRecord(*record, QByteArray()), 0u);
    EXPECT_EQ(record->Allgameset[0].Marker, 0x7F7F);
}

TEST(Utf16Text, TwentyCharacterFileNameFillsArrayWithNulLast)
{
    TProfileSetting setting{};
    EXPECT_TRUE(setting.FileName.assign(QStringLiteral("ABCDEFGHIJKLMNOPQRST")));
    EXPECT_EQ(setting.FileName.unitAt(19), u'T');
    EXPECT_EQ(setting.FileName.unitAt(20), 0);
    EXPECT_EQ(setting.FileName.toString(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
}

TEST(Utf16Text, LongerTextIsCutAndReported)
{
    struct Case {
        QString text;
        QString stored;
        bool fitted;
    };
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // one surrogate pair
    const Case cases[] = {
        {QStringLiteral("Profile1.pfd"), QStringLiteral("Profile1.pfd"), true},
        {QStringLiteral("ABCDEFGHIJKLMNOPQRSTU"), QStringLiteral("ABCDEFGHIJKLMNOPQRST"), false},
        // A cut never splits a surrogate pair.
        {QStringLiteral("ABCDEFGHIJKLMNOPQRS") + emoji, QStringLiteral("ABCDEFGHIJKLMNOPQRS"), false},
        {QString(), QString(), true},
    };
    for (const Case& c : cases) {
        Utf16Text<21> text{};
        EXPECT_EQ(text.assign(c.text), c.fitted) << c.text.toStdString();
        EXPECT_EQ(text.toString(), c.stored) << c.text.toStdString();
    }
}

TEST(Utf16Text, NameWithoutNulIsReadUpToTheArrayEnd)
{
    TMACROKEYINFO macro{};
    for (int i = 0; i < kMacroNameUnits; ++i) {
        macro.szMacroName.bytes[2 * i] = std::uint8_t('a' + i % 26);
        macro.szMacroName.bytes[2 * i + 1] = 0;
    }
    macro.Version = 0xFFFFFFFF; // the bytes right after the array are not text
    EXPECT_EQ(macro.szMacroName.toString().size(), kMacroNameUnits);
}

TEST(Utf16Text, AssignClearsStaleTail)
{
    Utf16Text<8> text{};
    text.assign(QStringLiteral("abcdefg"));
    text.assign(QStringLiteral("xy"));
    for (std::size_t i = 2; i < 8; ++i)
        EXPECT_EQ(text.unitAt(i), 0) << i;
}
