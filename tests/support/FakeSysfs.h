#pragma once
// A made-up sysfs tree for the hidraw tests: USB devices with their
// interfaces, HID devices and hidraw nodes, laid out as the kernel lays them
// out, so that the code that walks /sys can be run on it.

#include "SampleDescriptors.h"

#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace k4812::test {

namespace fs = std::filesystem;

inline void writeText(const fs::path& path, const std::string& text)
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

inline const FakeSysfs::UsbDevice kMouseUsb{"1-2", "0100", " 2"};
inline const FakeSysfs::UsbDevice kKeyboardUsb{"1-3", "0310", " 1"};

} // namespace k4812::test
