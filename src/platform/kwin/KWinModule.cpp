// The entry of the module libk4812-kwin.so (loadKWinInputDevices() in
// KWinInputDevices.h): KWin's input devices on the session bus.

#include "platform/kwin/KWinBusDevices.h"

extern "C" __attribute__((visibility("default"))) k4812::KWinInputDevices* k4812_kwin_input_devices(int interfaceVersion)
{
    if (interfaceVersion != k4812::kKWinModuleInterfaceVersion)
        return nullptr;
    return new k4812::KWinBusDevices();
}
