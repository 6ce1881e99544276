// k4812-udev-probe SYSPATH [CONFIG_INI]: run by the udev rule 70-k4812.rules
// for each hidraw node. Prints K4812_CONFIG_INTERFACE=1 when the node is the
// mouse's configuration interface (platform/hid/ConfigInterfaceProbe.h),
// nothing otherwise. It says nothing else and exits 0 for any node, also one
// it cannot read, because udev would log a message for every HID device on
// every event. CONFIG_INI defaults to config.ini in the installed program
// folder, whose include list the programs honour too.

#include "platform/hid/ConfigInterfaceProbe.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "Usage: k4812-udev-probe HIDRAW_SYSFS_PATH [CONFIG_INI]\n");
        return 2;
    }
    const char* config = argc == 3 ? argv[2] : K4812_CONFIG_INI;
    if (k4812::probeHidrawNode(argv[1], k4812::readIncludeList(config)) == k4812::ProbeVerdict::Granted)
        std::printf("%s\n", k4812::kConfigInterfaceProperty);
    return 0;
}
