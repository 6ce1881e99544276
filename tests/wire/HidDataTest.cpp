#include "wire/HidData.h"
#include "platform/storage/IniFile.h"

#include "FakeHidBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

using namespace k4812;
using k4812::test::FakeHidBackend;

namespace {

struct Link {
    FakeHidBackend* fake;
    std::unique_ptr<TuiHIDData> hid;
};

Link makeLink(std::vector<HidCollection> collections, QStringList includeList = {})
{
    auto backend = std::make_unique<FakeHidBackend>();
    backend->collections = std::move(collections);
    FakeHidBackend* fake = backend.get();
    return {fake, std::make_unique<TuiHIDData>(std::move(backend), std::move(includeList))};
}

HidCollection pointerCollection(const std::string& path)
{
    HidCollection c = FakeHidBackend::mouseCollection(path);
    c.usagePage = 0x0001;
    c.usage = 0x0002;
    return c;
}

std::unique_ptr<THIDDataParam> report(std::uint8_t id, std::uint32_t size)
{
    auto p = std::make_unique<THIDDataParam>();
    p->Data.setReportID(id);
    p->Data.DATASIZE = size;
    return p;
}

} // namespace

TEST(HidIncludeList, ReadsNumberedKeysUntilFirstGap)
{
    const IniFile gap = IniFile::fromBytes("[IncludeHIDDeviceList]\nid1=A\nid3=C\n");
    EXPECT_EQ(TuiHIDData::readIncludeList(gap), QStringList{"A"});
    const IniFile emptySecond = IniFile::fromBytes("[IncludeHIDDeviceList]\nid1=A\nid2=\nid3=C\n");
    EXPECT_EQ(TuiHIDData::readIncludeList(emptySecond), QStringList{"A"});

    QByteArray many = "[IncludeHIDDeviceList]\n";
    for (int i = 1; i <= 150; ++i)
        many += "id" + QByteArray::number(i) + "=X" + QByteArray::number(i) + "\n";
    EXPECT_EQ(TuiHIDData::readIncludeList(IniFile::fromBytes(many)).size(), 101);
    EXPECT_TRUE(TuiHIDData::readIncludeList(IniFile()).isEmpty());
}

TEST(HidIncludeList, MatchesWholeIdIgnoringCaseNeverAPrefix)
{
    const HidCollection mouse = FakeHidBackend::mouseCollection("/dev/hidraw1", 4096, {"HID\\VID_1234&PID_5678&Col01"});
    struct Case {
        QString entry;
        bool passes;
    };
    const Case cases[] = {
        {"hid\\vid_1234&pid_5678&col01", true},
        {"HID\\VID_1234&PID_5678&COL01", true},
        {"HID\\VID_1234&PID_5678", false},
        {"HID\\VID_1234&PID_5678&Col01&X", false},
    };
    for (const Case& c : cases) {
        Link link = makeLink({mouse}, {c.entry});
        EXPECT_EQ(link.hid->passesIncludeList(mouse), c.passes) << c.entry.toStdString();
        EXPECT_EQ(link.hid->IsDeviceExist(THIDDataParam{}), c.passes) << c.entry.toStdString();
    }
}

TEST(HidData, OtherCollectionsAreSkippedAndNeverSentTo)
{
    Link link = makeLink({pointerCollection("/dev/hidraw0"), FakeHidBackend::mouseCollection("/dev/hidraw0")});
    auto p = report(2, 16);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), 0);
    ASSERT_EQ(link.fake->count(FakeHidBackend::Event::Set), 1u);
    EXPECT_EQ(link.fake->events.back().report.size(), 16u);
}

TEST(HidData, ReportLongerThanFeatureLengthIsNotSent)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1", 64)});
    auto p = report(4, 1024);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), TuiHIDData::kErrorNoDevice);
    EXPECT_TRUE(link.fake->events.empty());
    auto small = report(3, 64);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*small), 0);
}

TEST(HidData, EveryQualifyingInterfaceGetsTheReport)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1"), FakeHidBackend::mouseCollection("/dev/hidraw2")});
    auto p = report(2, 16);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), 0);
    ASSERT_EQ(link.fake->count(FakeHidBackend::Event::Set), 2u);
}

TEST(HidData, ResultIsThatOfTheLastInterface)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1"), FakeHidBackend::mouseCollection("/dev/hidraw2")});
    link.fake->setResult = EPIPE;
    auto p = report(2, 16);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), EPIPE);
}

TEST(HidData, NoQualifyingInterfaceSendsNothingAndFails)
{
    Link link = makeLink({pointerCollection("/dev/hidraw0")});
    auto p = report(2, 16);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), TuiHIDData::kErrorNoDevice);
    EXPECT_EQ(link.hid->HidFindAndGetFeatureReport(*p), TuiHIDData::kErrorNoDevice);
    EXPECT_FALSE(link.hid->IsDeviceExist(*p));
    EXPECT_TRUE(link.fake->events.empty());
}

TEST(HidData, UnopenableInterfaceIsSkipped)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1")});
    link.fake->unopenable = {"/dev/hidraw1"};
    auto p = report(2, 16);
    EXPECT_FALSE(link.hid->IsDeviceExist(*p));
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), TuiHIDData::kErrorNoDevice);
}

TEST(HidData, GetFillsDataOnSuccessAndLeavesItOnFailure)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1")});
    link.fake->answer = [](const std::string&, std::uint8_t* r, std::size_t n) {
        for (std::size_t i = 1; i < n; ++i)
            r[i] = std::uint8_t(i);
    };
    auto p = report(3, 64);
    p->Data.Report[10] = 0xEE;
    link.fake->getResult = EIO;
    EXPECT_EQ(link.hid->HidFindAndGetFeatureReport(*p), EIO);
    EXPECT_EQ(p->Data.Report[10], 0xEE);
    link.fake->getResult = 0;
    EXPECT_EQ(link.hid->HidFindAndGetFeatureReport(*p), 0);
    EXPECT_EQ(p->Data.Report[0], 3);
    EXPECT_EQ(p->Data.Report[10], 10);
}

TEST(HidData, PresenceByDeviceIdIgnoresIncludeList)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1", 4096, {"ID-A"})}, {"ID-B"});
    THIDDataParam p;
    EXPECT_FALSE(link.hid->IsDeviceExist(p));
    p.DeviceID = "id-a";
    EXPECT_TRUE(link.hid->IsDeviceExist(p));
    p.DeviceID = "*";
    EXPECT_FALSE(link.hid->IsDeviceExist(p));
}

TEST(HidData, BadLengthIsRefused)
{
    Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1")});
    auto p = report(2, 0);
    EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), TuiHIDData::kErrorBadLength);
    p->Data.DATASIZE = 70000;
    EXPECT_EQ(link.hid->HidFindAndGetFeatureReport(*p), TuiHIDData::kErrorBadLength);
    EXPECT_TRUE(link.fake->events.empty());
}

TEST(HidIncludeList, AnEntryMayNameAnyOfTheInterfacesHardwareIds)
{
    // Windows lists the most specific ID first; a config.ini written for the
    // generic form (a later ID of the list) must still find the mouse.
    const HidCollection mouse = FakeHidBackend::mouseCollection(
        "/dev/hidraw1", 4096, {"HID\\VID_1234&PID_5678&REV_0100&Col01", "HID\\VID_1234&PID_5678&Col01", "HID_DEVICE"});
    for (const char* entry : {"HID\\VID_1234&PID_5678&Col01", "hid_device"}) {
        Link link = makeLink({mouse}, {"HID\\VID_9999&PID_0001", entry});
        EXPECT_TRUE(link.hid->IsDeviceExist(THIDDataParam{})) << entry;
        auto p = report(2, 16);
        EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), 0) << entry;
        EXPECT_EQ(link.fake->count(FakeHidBackend::Event::Set), 1u) << entry;
    }
}

TEST(HidData, WithTwoMiceAFailedSendIsNeverHiddenByALaterSuccess)
{
    // Both mice get every report; a setting that one of them did not take
    // must not be reported as written.
    struct Case {
        int first;
        int last;
        int expected;
    };
    const Case cases[] = {
        {EPIPE, 0, EPIPE},
        {0, EIO, EIO},
        {EPIPE, EIO, EPIPE},   // the first failure is the one reported
        {0, 0, 0},
    };
    for (const Case& c : cases) {
        Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1"),
                              FakeHidBackend::mouseCollection("/dev/hidraw2")});
        link.fake->setResultOf = {{"/dev/hidraw1", c.first}, {"/dev/hidraw2", c.last}};
        auto p = report(2, 16);
        EXPECT_EQ(link.hid->HidFindAndSetFeatureReport(*p), c.expected) << c.first << " " << c.last;
        EXPECT_EQ(link.fake->count(FakeHidBackend::Event::Set), 2u) << "both mice are sent the report";
    }
}

TEST(HidData, WithTwoMiceAReadIsTheLastOnesAnswerOrLeavesDataAsItWas)
{
    struct Case {
        int first;
        int last;
        int expected;
        std::uint8_t byte10;   // 0xEE: Data as it was
    };
    const Case cases[] = {
        {0, 0, 0, 2},          // the answer of the mouse enumerated last
        {EIO, 0, 0, 2},
        {0, EIO, EIO, 0xEE},   // a failed read never leaves the other mouse's answer behind
    };
    for (const Case& c : cases) {
        Link link = makeLink({FakeHidBackend::mouseCollection("/dev/hidraw1"),
                              FakeHidBackend::mouseCollection("/dev/hidraw2")});
        link.fake->getResultOf = {{"/dev/hidraw1", c.first}, {"/dev/hidraw2", c.last}};
        link.fake->answer = [](const std::string& path, std::uint8_t* r, std::size_t n) {
            std::fill(r + 1, r + n, std::uint8_t(path.back() - '0'));
        };
        auto p = report(3, 64);
        p->Data.Report[10] = 0xEE;
        EXPECT_EQ(link.hid->HidFindAndGetFeatureReport(*p), c.expected) << c.first << " " << c.last;
        EXPECT_EQ(p->Data.Report[10], c.byte10) << c.first << " " << c.last;
        EXPECT_EQ(p->Data.Report[0], 3);
    }
}
