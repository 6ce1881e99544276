#pragma once
// While the storage thread works on the profile manager's data, the window's
// thread turns its event loop only to repaint: it must not touch that data
// meanwhile. Presses, keys and the wheel from the display are kept and
// delivered, in their order, once the store has ended (and before any input
// that comes after them); input that reaches the window by any other way
// (events sent directly, a button pressed through the accessibility bridge,
// which queues its click on the button) is swallowed, so that no edit,
// sequence or menu starts while a store runs. Pointer moves and hovering
// pass: they only repaint, and the window answers them at once.
//
// Holds nest; the application's event filter is in place while one lives or
// kept input waits for delivery.

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
};

} // namespace k4812
