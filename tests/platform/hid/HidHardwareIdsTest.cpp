#include "platform/hid/HidHardwareIds.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(HidHardwareIds, FollowWindowsFormsForEachKindOfInterface)
{
    HidInterfaceIdentity single{0x0003, 0x04D9, 0x1603, 0x0310, std::nullopt, "hid:b0003g0001v000004D9p00001603"};
    HidInterfaceIdentity composite{0x0003, 0x1a2b, 0x3c4d, 0x0100, 0x01, ""};
    HidInterfaceIdentity noRevision{0x0003, 0x1234, 0x5678, std::nullopt, std::nullopt, ""};
    HidInterfaceIdentity manyInterfaces{0x0003, 0x1234, 0x5678, 0x0001, 0x0A, ""};
    using Ids = std::vector<std::string>;
    struct Case {
        const char* name;
        HidInterfaceIdentity identity;
        std::uint16_t page, usage;
        std::size_t index, count;
        Ids expected;
    };
    const Case cases[] = {
        {"single function, single collection, system keyboard", single, 0x0001, 0x0006, 0, 1,
         {"HID\\VID_04D9&PID_1603&REV_0310", "HID\\VID_04D9&PID_1603", "HID\\VID_04D9&UP:0001_U:0006",
          "HID_DEVICE_SYSTEM_KEYBOARD", "HID_DEVICE_UP:0001_U:0006", "HID_DEVICE", "hid:b0003g0001v000004D9p00001603"}},
        {"composite, second of two collections", composite, 0xFFA0, 0x0001, 1, 2,
         {"HID\\VID_1A2B&PID_3C4D&REV_0100&MI_01&Col02", "HID\\VID_1A2B&PID_3C4D&MI_01&Col02",
          "HID\\VID_1A2B&UP:FFA0_U:0001", "HID_DEVICE_UP:FFA0_U:0001", "HID_DEVICE"}},
        {"composite, single collection", composite, 0x000C, 0x0001, 0, 1,
         {"HID\\VID_1A2B&PID_3C4D&REV_0100&MI_01", "HID\\VID_1A2B&PID_3C4D&MI_01", "HID\\VID_1A2B&UP:000C_U:0001",
          "HID_DEVICE_SYSTEM_CONSUMER", "HID_DEVICE_UP:000C_U:0001", "HID_DEVICE"}},
        {"no revision known", noRevision, 0x0001, 0x0002, 0, 3,
         {"HID\\VID_1234&PID_5678&Col01", "HID\\VID_1234&UP:0001_U:0002", "HID_DEVICE_SYSTEM_MOUSE",
          "HID_DEVICE_UP:0001_U:0002", "HID_DEVICE"}},
        // Interface and collection numbers are hexadecimal.
        {"tenth interface, twelfth collection", manyInterfaces, 0xFF00, 0x0001, 11, 12,
         {"HID\\VID_1234&PID_5678&REV_0001&MI_0A&Col0C", "HID\\VID_1234&PID_5678&MI_0A&Col0C",
          "HID\\VID_1234&UP:FF00_U:0001", "HID_DEVICE_UP:FF00_U:0001", "HID_DEVICE"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowsHardwareIds(c.identity, c.page, c.usage, c.index, c.count), c.expected) << c.name;
}

TEST(HidHardwareIds, CompositeOnlyForOneConfigurationWithSeveralInterfaces)
{
    struct Case {
        UsbDeviceFields device;
        bool composite;
    };
    const Case cases[] = {
        {{0x00, 0x00, 0x00, 1, 2}, true},
        {{0xEF, 0x02, 0x01, 1, 3}, true},   // interface association
        {{0x00, 0x00, 0x00, 1, 1}, false},
        {{0x00, 0x00, 0x00, 2, 2}, false},  // several configurations
        {{0xEF, 0x02, 0x02, 1, 2}, false},
        {{0xFF, 0x00, 0x00, 1, 2}, false},  // vendor-specific device class
    };
    for (const Case& c : cases)
        EXPECT_EQ(isCompositeUsbDevice(c.device), c.composite)
            << c.device.deviceClass << '/' << c.device.deviceSubClass << '/' << c.device.deviceProtocol << ' '
            << c.device.numConfigurations << ' ' << c.device.numInterfaces;
}
