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

#include <QEvent>
#include <QObject>

#include <optional>

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
    // While kept input is delivered late: the modifier keys that were down
    // when it was made. The desktop's state has moved on by then (Ctrl
    // already released after Ctrl+F5), so whoever asks which modifiers are
    // held for a key event asks here first.
    static std::optional<Qt::KeyboardModifiers> deliveredModifiers();
};

} // namespace k4812
