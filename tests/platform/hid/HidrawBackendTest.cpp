#include "wire/HidData.h"
#include "platform/hid/HidrawBackend.h"
#include "platform/hid/HidrawNode.h"
#include "platform/hid/HidrawSysfs.h"

#include "FakeSysfs.h"
#include "SampleDescriptors.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cerrno>
#include <filesystem>
#include <fstream>

using namespace k4812;
using namespace k4812::test;
namespace fs = std::filesystem;


TEST(HidrawBackend, ListsEveryCollectionWithWindowsLengthsAndIds)
{
    FakeSysfs sysfs;
    sysfs.addUsbNode("hidraw1", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    sysfs.addUsbNode("hidraw2", kKeyboardUsb, 0, 0x04D9, 0x1603, kBootKeyboard);
    HidrawBackend backend(sysfs.classFolder(), sysfs.devFolder());

    const std::vector<HidCollection> found = backend.enumerate();
    ASSERT_EQ(found.size(), 3u);
    const std::string mouseNode = (sysfs.devFolder() / "hidraw1").string();

    const HidCollection& pointer = found[0];
    EXPECT_EQ(pointer.path, mouseNode);
    EXPECT_EQ(pointer.usagePage, 0x0001);
    EXPECT_EQ(pointer.usage, 0x0002);
    EXPECT_EQ(pointer.inputReportByteLength, 7u);
    EXPECT_EQ(pointer.featureReportByteLength, 0u);
    EXPECT_EQ(pointer.hardwareIds.front(), "HID\\VID_1A2B&PID_3C4D&REV_0100&MI_01&Col01");

    const HidCollection& config = found[1];
    EXPECT_EQ(config.path, mouseNode);
    EXPECT_EQ(config.usagePage, 0xFFA0);
    EXPECT_EQ(config.usage, 0x0001);
    EXPECT_EQ(config.featureReportByteLength, 4096u);
    EXPECT_EQ(config.inputReportByteLength, 0u);
    EXPECT_EQ(config.outputReportByteLength, 0u);
    EXPECT_EQ(config.hardwareIds,
              (std::vector<std::string>{"HID\\VID_1A2B&PID_3C4D&REV_0100&MI_01&Col02",
                                        "HID\\VID_1A2B&PID_3C4D&MI_01&Col02", "HID\\VID_1A2B&UP:FFA0_U:0001",
                                        "HID_DEVICE_UP:FFA0_U:0001", "HID_DEVICE",
                                        "hid:b0003g0001v00001A2Bp00003C4D"}));

    const HidCollection& keyboard = found[2];
    EXPECT_EQ(keyboard.path, (sysfs.devFolder() / "hidraw2").string());
    EXPECT_EQ(keyboard.usagePage, 0x0001);
    EXPECT_EQ(keyboard.usage, 0x0006);
    EXPECT_EQ(keyboard.inputReportByteLength, 9u);
    EXPECT_EQ(keyboard.outputReportByteLength, 2u);
    EXPECT_EQ(keyboard.hardwareIds,
              (std::vector<std::string>{"HID\\VID_04D9&PID_1603&REV_0310", "HID\\VID_04D9&PID_1603",
                                        "HID\\VID_04D9&UP:0001_U:0006", "HID_DEVICE_SYSTEM_KEYBOARD",
                                        "HID_DEVICE_UP:0001_U:0006", "HID_DEVICE",
                                        "hid:b0003g0001v000004D9p00001603"}));
}

TEST(HidrawBackend, IncludeListWrittenOnWindowsMatchesTheConfigurationCollection)
{
    FakeSysfs sysfs;
    sysfs.addUsbNode("hidraw1", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    sysfs.addUsbNode("hidraw2", kKeyboardUsb, 0, 0x04D9, 0x1603, kBootKeyboard);
    TuiHIDData hid(std::make_unique<HidrawBackend>(sysfs.classFolder(), sysfs.devFolder()),
                   {QStringLiteral("hid\\vid_1a2b&pid_3c4d&mi_01&col02")});
    std::vector<std::uint16_t> passing;
    for (const HidCollection& c : hid.backend().enumerate()) {
        if (hid.passesIncludeList(c))
            passing.push_back(c.usagePage);
    }
    EXPECT_EQ(passing, std::vector<std::uint16_t>{0xFFA0});
}

TEST(HidrawBackend, NodesOffUsbOrWithoutDescriptorOrIdentity)
{
    FakeSysfs sysfs;
    // No USB interface above: no revision, no interface number.
    const fs::path virtualNode = sysfs.addVirtualNode("hidraw0", kBootMouse);
    // No descriptor in sysfs and no device node to ask: skipped.
    sysfs.addUsbNode("hidraw3", kKeyboardUsb, 0, 0x04D9, 0x1603, {});
    HidrawBackend backend(sysfs.classFolder(), sysfs.devFolder());
    const std::vector<HidCollection> found = backend.enumerate();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].hardwareIds.front(), "HID\\VID_1234&PID_ABCD");

    // A HID device whose uevent lacks a valid HID_ID is not listed.
    std::ofstream(fs::canonical(virtualNode / "device") / "uevent") << "HID_ID=0003:zz:0001\n";
    EXPECT_FALSE(readHidInterfaceIdentity(virtualNode));
    EXPECT_TRUE(backend.enumerate().empty());
}

TEST(HidrawBackend, OpenReportsErrnoAndRefusesWhatIsNotHidraw)
{
    FakeSysfs sysfs;
    sysfs.addUsbNode("hidraw1", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    HidrawBackend backend(sysfs.classFolder(), sysfs.devFolder());
    const std::vector<HidCollection> found = backend.enumerate();
    ASSERT_FALSE(found.empty());

    int error = 0;
    EXPECT_FALSE(backend.open(found[1], error));
    EXPECT_EQ(error, ENOENT);

    // A plain file in the node's place opens but answers no hidraw ioctl.
    writeText(sysfs.devFolder() / "hidraw1", "");
    error = 0;
    EXPECT_FALSE(backend.open(found[1], error));
    EXPECT_EQ(error, ENOTTY);
}

TEST(HidrawNode, RefusesLengthsTheIoctlCannotCarry)
{
    QTemporaryDir dir;
    const std::string path = (fs::path(dir.path().toStdString()) / "hidraw9").string();
    writeText(path, "");
    int error = 0;
    const std::unique_ptr<HidrawNode> node = HidrawNode::open(path, error);
    ASSERT_TRUE(node);
    // The ioctl number holds the length in 14 bits; a longer one would become another request.
    std::vector<std::uint8_t> report(HidrawNode::kMaxFeatureLength + 1, 0x06);
    EXPECT_EQ(node->setFeature(report.data(), report.size()), EINVAL);
    EXPECT_EQ(node->getFeature(report.data(), report.size()), EINVAL);
    EXPECT_EQ(node->setFeature(report.data(), 0), EINVAL);
    // A length that fits reaches the ioctl, whose errno comes back unchanged.
    EXPECT_EQ(node->setFeature(report.data(), HidrawNode::kMaxFeatureLength), ENOTTY);
    EXPECT_EQ(node->getFeature(report.data(), 4096), ENOTTY);
}

TEST(HidrawBackend, LockIdentityIsTheHidDeviceInSysfsTheSameForEveryProgram)
{
    FakeSysfs sysfs;
    const fs::path mouse = sysfs.addUsbNode("hidraw1", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    const fs::path other = sysfs.addUsbNode("hidraw4", kKeyboardUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    HidrawBackend first(sysfs.classFolder(), sysfs.devFolder());
    HidrawBackend second(sysfs.classFolder(), sysfs.devFolder());

    const std::vector<HidCollection> found = first.enumerate();
    ASSERT_EQ(found.size(), 4u);
    // The node's HID device folder, resolved: both collections of one node
    // name one mouse, the other node another.
    const std::string expected = "hidraw:" + fs::canonical(mouse.parent_path().parent_path()).string();
    EXPECT_EQ(first.lockIdentity(found[0]), expected);
    EXPECT_EQ(first.lockIdentity(found[1]), expected);
    EXPECT_EQ(second.lockIdentity(second.enumerate()[1]), expected);
    EXPECT_EQ(first.lockIdentity(found[3]),
              "hidraw:" + fs::canonical(other.parent_path().parent_path()).string());
}
