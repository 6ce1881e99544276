#include "platform/hid/HidHardwareIds.h"

#include <cstdio>

namespace k4812 {

namespace {

std::string format(const char* pattern, unsigned a, unsigned b = 0, unsigned c = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

// The ID Windows adds for the collections it opens itself.
const char* systemId(std::uint16_t usagePage, std::uint16_t usage)
{
    if (usagePage == 0x0001) {
        switch (usage) {
        case 0x01:
        case 0x02: return "HID_DEVICE_SYSTEM_MOUSE";
        case 0x04:
        case 0x05: return "HID_DEVICE_SYSTEM_GAME";
        case 0x06:
        case 0x07: return "HID_DEVICE_SYSTEM_KEYBOARD";
        case 0x80: return "HID_DEVICE_SYSTEM_CONTROL";
        default: return nullptr;
        }
    }
    if (usagePage == 0x000C && usage == 0x01)
        return "HID_DEVICE_SYSTEM_CONSUMER";
    return nullptr;
}

} // namespace

bool isCompositeUsbDevice(const UsbDeviceFields& device)
{
    const bool classAllows = device.deviceClass == 0x00
        || (device.deviceClass == 0xEF && device.deviceSubClass == 0x02 && device.deviceProtocol == 0x01);
    return classAllows && device.numConfigurations == 1 && device.numInterfaces > 1;
}

std::vector<std::string> windowsHardwareIds(const HidInterfaceIdentity& identity, std::uint16_t usagePage,
                                            std::uint16_t usage, std::size_t index, std::size_t count)
{
    const std::string device = format("HID\\VID_%04X&PID_%04X", identity.vendorId, identity.productId);
    std::string function;
    if (identity.interfaceNumber)
        function += format("&MI_%02X", *identity.interfaceNumber);
    if (count > 1)
        function += format("&Col%02X", unsigned(index + 1));

    std::vector<std::string> ids;
    if (identity.revision)
        ids.push_back(device + format("&REV_%04X", *identity.revision) + function);
    ids.push_back(device + function);
    ids.push_back(format("HID\\VID_%04X&UP:%04X_U:%04X", identity.vendorId, usagePage, usage));
    if (const char* system = systemId(usagePage, usage))
        ids.emplace_back(system);
    ids.push_back(format("HID_DEVICE_UP:%04X_U:%04X", usagePage, usage));
    ids.emplace_back("HID_DEVICE");
    if (!identity.modalias.empty())
        ids.push_back(identity.modalias);
    return ids;
}

} // namespace k4812
