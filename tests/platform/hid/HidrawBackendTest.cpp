#include "wire/HidData.h"
#include "platform/hid/HidrawBackend.h"
#include "platform/hid/HidrawNode.h"
#include "platform/hid/HidrawSysfs.h"

#include "SampleDescriptors.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cerrno>
#include <filesystem>
#include <fstream>

using namespace k4812;
using namespace k4812::test;
namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A sysfs tree laid out as the kernel lays it out: USB device, interface, HID
// device, hidraw node, with /sys/class/hidraw and device links as symlinks.
class FakeSysfs {
public:
    FakeSysfs() : m_root(m_dir.path().toStdString()) { fs::create_directories(devFolder()); }

    fs::path classFolder() const { return m_root / "class/hidraw"; }
    fs::path devFolder() const { return m_root / "dev"; }

    struct UsbDevice {
        std::string port;          // e.g. "1-2"
        std::string bcdDevice;     // e.g. "0100"
        std::string numInterfaces; // as sysfs prints it, e.g. " 2"
        std::string deviceClass = "00";
    };

    // Adds hidraw node `name` for a HID device on interface `interfaceNumber`
    // of `usb`; returns the node's sysfs folder.
    fs::path addUsbNode(const std::string& name, const UsbDevice& usb, int interfaceNumber, std::uint16_t vendor,
                        std::uint16_t product, const Bytes& descriptor)
    {
        const fs::path usbFolder = m_root / "devices/pci0000:00/0000:00:14.0/usb1" / usb.port;
        writeText(usbFolder / "bcdDevice", usb.bcdDevice + "\n");
        writeText(usbFolder / "bNumInterfaces", usb.numInterfaces + "\n");
        writeText(usbFolder / "bNumConfigurations", "1\n");
        writeText(usbFolder / "bDeviceClass", usb.deviceClass + "\n");
        writeText(usbFolder / "bDeviceSubClass", "00\n");
        writeText(usbFolder / "bDeviceProtocol", "00\n");
        char interfaceName[32], hidName[32], hidId[64], modalias[64], number[8];
        std::snprintf(interfaceName, sizeof interfaceName, "%s:1.%d", usb.port.c_str(), interfaceNumber);
        std::snprintf(hidName, sizeof hidName, "0003:%04X:%04X.%04X", vendor, product, ++m_hidCount);
        std::snprintf(hidId, sizeof hidId, "0003:%08X:%08X", vendor, product);
        std::snprintf(modalias, sizeof modalias, "hid:b0003g0001v%08Xp%08X", vendor, product);
        std::snprintf(number, sizeof number, "%02x\n", interfaceNumber);
        const fs::path interfaceFolder = usbFolder / interfaceName;
        writeText(interfaceFolder / "bInterfaceNumber", number);
        return addNode(name, interfaceFolder / hidName, hidId, modalias, descriptor);
    }

    // Adds a node whose HID device hangs off no USB interface (uhid, say).
    fs::path addVirtualNode(const std::string& name, const Bytes& descriptor)
    {
        return addNode(name, m_root / "devices/virtual/misc/uhid/0003:1234:ABCD.0009", "0003:00001234:0000ABCD",
                       "hid:b0003g0001v00001234p0000ABCD", descriptor);
    }

private:
    fs::path addNode(const std::string& name, const fs::path& hidFolder, const std::string& hidId,
                     const std::string& modalias, const Bytes& descriptor)
    {
        writeText(hidFolder / "uevent",
                  "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Test\nMODALIAS=" + modalias + "\n");
        if (!descriptor.empty())
            writeText(hidFolder / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        const fs::path node = hidFolder / "hidraw" / name;
        writeText(node / "uevent", "MAJOR=245\nMINOR=1\nDEVNAME=" + name + "\n");
        fs::create_directory_symlink("../../../" + hidFolder.filename().string(), node / "device");
        fs::create_directories(classFolder());
        fs::create_directory_symlink(node, classFolder() / name);
        return node;
    }

    QTemporaryDir m_dir;
    fs::path m_root;
    unsigned m_hidCount = 0;
};

const FakeSysfs::UsbDevice kMouseUsb{"1-2", "0100", " 2"};
const FakeSysfs::UsbDevice kKeyboardUsb{"1-3", "0310", " 1"};

} // namespace

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
