#pragma once
// A stand-in for the hook library: TuiHook loads it through its loader and
// the test plays the library's part, calling back with key records.

#include "macros/HookLibrary.h"
#include "macros/HookRecords.h"

#include <cstdint>
#include <vector>

namespace k4812::test {

struct FakeHookLibrary {
    inline static K4812KeyboardHookCallback callback = nullptr;
    inline static void* userData = nullptr;
    inline static std::vector<const char*> calls;   // "enable", "disable", "unload", in order
    inline static int loads = 0;

    static void reset()
    {
        callback = nullptr;
        userData = nullptr;
        calls.clear();
        loads = 0;
    }

    static int enable(K4812KeyboardHookCallback cb, void* data, int)
    {
        calls.push_back("enable");
        callback = cb;
        userData = data;
        return 1;
    }
    static int disable()
    {
        calls.push_back("disable");
        callback = nullptr;
        userData = nullptr;
        return 1;
    }
    static int enableMouse(K4812MouseHookCallback, void*, int) { return 1; }
    static int disableMouse() { return 1; }

    static HookLibraryLoad load()
    {
        ++loads;
        HookLibraryLoad result;
        result.status = HookLibraryLoad::Status::Loaded;
        result.fileName = QStringLiteral("libuiHook.so");
        result.entryPoints = {&enable, &disable, &enableMouse, &disableMouse};
        result.unload = [] { calls.push_back("unload"); };
        return result;
    }

    // Delivers one event as the library would; returns Blocked. Without an
    // enabled hook nothing is called and nothing blocked.
    static bool deliver(std::uint32_t vk, bool released, std::uint32_t time, bool extended = false,
                        std::uint32_t scanCode = 0)
    {
        if (callback == nullptr)
            return false;
        TKBDLLHOOKSTRUCT event{vk, scanCode, (extended ? kKeyFlagExtended : 0u) | (released ? kKeyFlagReleased : 0u),
                               time, 0};
        bool blocked = false;
        callback(userData, 0, released ? 0x101 : 0x100, &event, &blocked);
        return blocked;
    }
    static bool press(std::uint32_t vk, std::uint32_t time, bool extended = false)
    {
        return deliver(vk, false, time, extended);
    }
    static bool release(std::uint32_t vk, std::uint32_t time, bool extended = false)
    {
        return deliver(vk, true, time, extended);
    }
};

} // namespace k4812::test
