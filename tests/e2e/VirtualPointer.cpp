// A pointer device for a headless wlroots compositor (sway), which has none of
// its own, made through the wlr virtual-pointer protocol:
//   k4812-e2e-virtual-pointer WIDTH HEIGHT
// WIDTH x HEIGHT is the size of the compositor's output layout. The device
// lives until standard input ends; each line read is one action, answered
// with "ok" once the compositor has taken it (a round trip), or "error ...":
//   move X Y        the pointer to X,Y of the layout
//   press | release the left button
//   click           press and release
//   rclick          press and release the right button
//   wheel STEPS     vertical wheel steps (positive: down)
// Reaches the compositor through WAYLAND_DISPLAY.

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr std::uint32_t kLeftButton = 0x110;  // BTN_LEFT of linux/input-event-codes.h
constexpr std::uint32_t kRightButton = 0x111; // BTN_RIGHT

struct Globals {
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    wl_seat* seat = nullptr;
};

void onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr)
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
}

void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

std::uint32_t milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint32_t(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: k4812-e2e-virtual-pointer WIDTH HEIGHT\n");
        return 2;
    }
    const auto width = std::uint32_t(std::stoul(argv[1]));
    const auto height = std::uint32_t(std::stoul(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "k4812-e2e-virtual-pointer: cannot reach the Wayland compositor\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::fprintf(stderr, "k4812-e2e-virtual-pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager,
                                                                                              globals.seat);
    if (wl_display_roundtrip(display) < 0) {
        std::fprintf(stderr, "k4812-e2e-virtual-pointer: the compositor refused the pointer\n");
        return 1;
    }
    std::cout << "ready" << std::endl;

    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string action;
        words >> action;
        if (action == "move") {
            long x = -1, y = -1;
            words >> x >> y;
            if (!words || x < 0 || y < 0 || std::uint32_t(x) > width || std::uint32_t(y) > height) {
                std::cout << "error: move needs X Y within " << width << "x" << height << std::endl;
                continue;
            }
            zwlr_virtual_pointer_v1_motion_absolute(pointer, milliseconds(), std::uint32_t(x), std::uint32_t(y),
                                                    width, height);
        } else if (action == "press" || action == "release" || action == "click" || action == "rclick") {
            const std::uint32_t button = action == "rclick" ? kRightButton : kLeftButton;
            if (action != "release")
                zwlr_virtual_pointer_v1_button(pointer, milliseconds(), button, WL_POINTER_BUTTON_STATE_PRESSED);
            if (action == "click" || action == "rclick")
                zwlr_virtual_pointer_v1_frame(pointer);
            if (action != "press")
                zwlr_virtual_pointer_v1_button(pointer, milliseconds(), button, WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (action == "wheel") {
            int steps = 0;
            words >> steps;
            if (!words) {
                std::cout << "error: wheel needs STEPS" << std::endl;
                continue;
            }
            zwlr_virtual_pointer_v1_axis_source(pointer, WL_POINTER_AXIS_SOURCE_WHEEL);
            zwlr_virtual_pointer_v1_axis_discrete(pointer, milliseconds(), WL_POINTER_AXIS_VERTICAL_SCROLL,
                                                  wl_fixed_from_int(steps * 15), steps);
        } else {
            std::cout << "error: unknown action " << action << std::endl;
            continue;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) {
            std::cout << "error: the compositor went away" << std::endl;
            return 1;
        }
        std::cout << "ok" << std::endl;
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
