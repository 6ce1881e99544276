#pragma once
// While the storage thread works on the profile manager's data, the window's
// thread turns its event loop only to repaint: it must not touch that data
// meanwhile. Presses, keys and the wheel from the display are kept and
// delivered, in their order, once the store has ended (and before any input
// that comes after them); input that reaches the window by any other way
// (events sent directly, a click queued on a button) is swallowed, so that no
// edit, sequence or menu starts while a store runs. Pointer moves and hovering
// pass: they only repaint, and the window answers them at once.
//
// Changes that assistive technology asks for (a value set, a button pressed
// over AT-SPI) wait in the same queue: `whenFree` runs them at once when no
// store runs, else after it, in order with the kept input.
//
// Holds nest; the application's event filter is in place while one lives or
// kept input waits for delivery.

#include <QObject>

#include <functional>

namespace k4812 {

class StorageInputHold final {
public:
    StorageInputHold();
    ~StorageInputHold();
    StorageInputHold(const StorageInputHold&) = delete;
    StorageInputHold& operator=(const StorageInputHold&) = delete;

    // Whether a hold is in place.
    static bool active();
    // Input events swallowed since the program started (tests read it).
    static int swallowedCount();
    // Runs `action` now when no store runs and nothing waits before it, else
    // once the stores have ended, in its turn; not at all if `context` is gone.
    static void whenFree(QObject* context, std::function<void()> action);
};

} // namespace k4812
