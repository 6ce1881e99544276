// k4812-udev-probe SYSPATH: run by the udev rule 70-k4812.rules for each
// hidraw node. Prints K4812_CONFIG_INTERFACE=1 when the node carries the
// mouse's configuration collection, nothing when it does not.

#include "platform/hid/ConfigInterfaceProbe.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: k4812-udev-probe HIDRAW_SYSFS_PATH\n");
        return 2;
    }
    const k4812::ConfigProbeResult result = k4812::probeHidrawNode(argv[1]);
    if (!result.readable) {
        std::fprintf(stderr, "k4812-udev-probe: cannot read the report descriptor of %s\n", argv[1]);
        return 1;
    }
    if (result.configInterface)
        std::printf("%s\n", k4812::kConfigInterfaceProperty);
    return 0;
}
