#include "wire/HidData.h"
#include "platform/hid/ConfigInterfaceProbe.h"
#include "platform/storage/IniFile.h"

#include "FakeSysfs.h"
#include "SampleDescriptors.h"

#include <gtest/gtest.h>

using namespace k4812;
using namespace k4812::test;

namespace {

// The configuration collection alone, as on an interface of its own.
const Bytes kConfigOnly = fromHex("06a0ff0901a101150026ff0075088502950f0901b102c0");
const Bytes kKeyboardWithConfig = [] {
    Bytes bytes = kBootKeyboard;
    bytes.insert(bytes.end(), kConfigOnly.begin(), kConfigOnly.end());
    return bytes;
}();
// Top-level collections of the Keyboard/Keypad page and Generic Desktop / Keypad.
const Bytes kKeyboardPage = fromHex("05070901a101750895018100c0");
const Bytes kKeypad = fromHex("05010907a101750895018100c0");

struct Interface {
    int number;
    Bytes descriptor; // empty: the descriptor cannot be read
};

} // namespace

TEST(ConfigInterfaceProbe, GrantsOnlyTheTopLevelConfigurationCollection)
{
    static_assert(kConfigUsagePage == kMouseUsageAndPage.UsagePage && kConfigUsage == kMouseUsageAndPage.Usage);

    Bytes trailingGarbage = kK4812;
    trailingGarbage.insert(trailingGarbage.end(), {0xC0, 0x75});
    const Bytes cutInsideConfig(kK4812.begin(), kK4812.end() - 1);
    struct Case {
        const char* name;
        Bytes descriptor;
        bool grant;
    };
    const Case cases[] = {
        {"the mouse", kK4812, true},
        {"a keyboard", kBootKeyboard, false},
        {"a plain mouse", kBootMouse, false},
        {"empty", {}, false},
        {"vendor page, other usage", fromHex("06a0ff0902a101750895ffb102c0"), false},
        {"other vendor page, usage 1", fromHex("06a1ff0901a101750895ffb102c0"), false},
        // Only a top-level collection counts, not one nested in a keyboard.
        {"nested in a keyboard", fromHex("05010906a10106a0ff0901a102750895ffb102c0c0"), false},
        {"fault after the collection closed", trailingGarbage, true},
        {"configuration collection never closed", cutInsideConfig, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hasConfigCollection(c.descriptor), c.grant) << c.name;
}

// The node probed is always the first interface listed; the others are the
// rest of the same USB device.
TEST(ConfigInterfaceProbe, LooksAtEveryInterfaceOfTheUsbDevice)
{
    struct Case {
        const char* name;
        std::vector<Interface> interfaces;
        ProbeVerdict verdict;
    };
    const Case cases[] = {
        {"the mouse, pointer and configuration on one interface", {{1, kK4812}}, ProbeVerdict::Granted},
        {"a mouse with the configuration on an interface of its own",
         {{1, kConfigOnly}, {0, kBootMouse}},
         ProbeVerdict::Granted},
        {"the mouse's pointer interface", {{0, kBootMouse}, {1, kConfigOnly}}, ProbeVerdict::NoConfigCollection},
        {"a keyboard carrying the collection", {{0, kKeyboardWithConfig}}, ProbeVerdict::KeyboardOnDevice},
        {"a composite mouse and keyboard", {{0, kK4812}, {1, kBootKeyboard}}, ProbeVerdict::KeyboardOnDevice},
        {"a keyboard-page collection beside the mouse", {{0, kK4812}, {2, kKeyboardPage}},
         ProbeVerdict::KeyboardOnDevice},
        {"a keypad beside the mouse", {{0, kK4812}, {2, kKeypad}}, ProbeVerdict::KeyboardOnDevice},
        {"the collection without a mouse", {{0, kConfigOnly}}, ProbeVerdict::NoMouse},
        {"an unreadable descriptor", {{0, {}}}, ProbeVerdict::Unreadable},
        // What cannot be read might be a keyboard.
        {"the mouse beside an unreadable interface", {{0, kK4812}, {1, {}}}, ProbeVerdict::Unreadable},
    };
    for (const Case& c : cases) {
        FakeSysfs sysfs;
        fs::path node;
        int n = 0;
        for (const Interface& i : c.interfaces) {
            const fs::path added = sysfs.addUsbNode("hidraw" + std::to_string(n++), kMouseUsb, i.number, 0x1A2B,
                                                    0x3C4D, i.descriptor);
            if (node.empty())
                node = added;
        }
        EXPECT_EQ(probeHidrawNode(node, {}), c.verdict) << c.name;
    }

    // A device of another USB device does not count, and a node off USB
    // (uhid, say) is judged by its own descriptor.
    FakeSysfs sysfs;
    const fs::path mouse = sysfs.addUsbNode("hidraw0", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    sysfs.addUsbNode("hidraw1", kKeyboardUsb, 0, 0x04D9, 0x1603, kKeyboardWithConfig);
    EXPECT_EQ(probeHidrawNode(mouse, {}), ProbeVerdict::Granted);
    EXPECT_EQ(probeHidrawNode(sysfs.addVirtualNode("hidraw2", kK4812), {}), ProbeVerdict::Granted);
    EXPECT_EQ(probeHidrawNode(sysfs.classFolder() / "hidraw9", {}), ProbeVerdict::Unreadable);
}

TEST(ConfigInterfaceProbe, IncludeListNarrowsToTheConfigurationCollectionItNames)
{
    FakeSysfs sysfs;
    const fs::path mouse = sysfs.addUsbNode("hidraw1", kMouseUsb, 1, 0x1A2B, 0x3C4D, kK4812);
    struct Case {
        const char* name;
        std::vector<std::string> list;
        ProbeVerdict verdict;
    };
    const Case cases[] = {
        {"empty: any mouse", {}, ProbeVerdict::Granted},
        {"the collection's ID in other letter case", {"hid\\vid_1a2b&pid_3c4d&mi_01&col02"}, ProbeVerdict::Granted},
        {"another mouse, then this one", {"HID\\VID_0000&PID_0000", "HID\\VID_1A2B&UP:FFA0_U:0001"},
         ProbeVerdict::Granted},
        {"the modalias", {"hid:b0003g0001v00001A2Bp00003C4D"}, ProbeVerdict::Granted},
        {"another mouse only", {"HID\\VID_0000&PID_0000"}, ProbeVerdict::NotIncluded},
        {"only a prefix of an ID", {"HID\\VID_1A2B"}, ProbeVerdict::NotIncluded},
        // As in the programs, the entry must name the configuration collection.
        {"the pointer collection's ID", {"HID\\VID_1A2B&PID_3C4D&MI_01&Col01"}, ProbeVerdict::NotIncluded},
    };
    for (const Case& c : cases)
        EXPECT_EQ(probeHidrawNode(mouse, c.list), c.verdict) << c.name;

    // The list never admits a keyboard.
    FakeSysfs keyboardTree;
    const fs::path keyboard = keyboardTree.addUsbNode("hidraw1", kKeyboardUsb, 0, 0x04D9, 0x1603, kKeyboardWithConfig);
    EXPECT_EQ(probeHidrawNode(keyboard, {"HID\\VID_04D9&PID_1603&Col02"}), ProbeVerdict::KeyboardOnDevice);
}

// The probe reads config.ini without Qt; it must read the same list as the programs.
TEST(ConfigInterfaceProbe, ReadsTheIncludeListAsTheProgramsDo)
{
    std::string many = "[IncludeHIDDeviceList]\n";
    for (int i = 1; i <= 150; ++i)
        many += "id" + std::to_string(i) + "=HID\\VID_" + std::to_string(i) + "\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[IncludeHIDDeviceList]\r\nid1=HID\\VID_1A2B\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    const std::string cases[] = {
        "",
        "[IncludeHIDDeviceList]\nid1=HID\\VID_1A2B&PID_3C4D\nid2=hid_device_up:ffa0_u:0001\n",
        "[includehiddevicelist]\nID1 = HID\\VID_1A2B \n",
        "[IncludeHIDDeviceList]\nid1=A\nid3=C\n",
        "[IncludeHIDDeviceList]\nid1=A\nid2=\nid3=C\n",
        many,
        "\xEF\xBB\xBF[IncludeHIDDeviceList]\nid1=A\n",
        utf16,
        "[IncludeHIDDeviceList]\nid1=A\nid1=B\n[IncludeHIDDeviceList]\nid2=C\n",
        "[IncludeHIDDeviceList]\n; id1=commented\n# id1=also\nid1=A=B\n",
        "[OtherConfig]\nid1=A\n[IncludeHIDDeviceList\nid1=B\n",
        "id1=A\n[HelpFiles]\n0409=help.chm\n",
    };
    for (const std::string& text : cases) {
        const QStringList programs = TuiHIDData::readIncludeList(IniFile::fromBytes(QByteArray::fromStdString(text)));
        QStringList probe;
        for (const std::string& entry : includeListFromIni(text))
            probe.append(QString::fromStdString(entry));
        EXPECT_EQ(probe, programs) << text;
    }
    EXPECT_EQ(includeListFromIni(many).size(), 101u);
    EXPECT_TRUE(readIncludeList("/nonexistent/config.ini").empty());
}
