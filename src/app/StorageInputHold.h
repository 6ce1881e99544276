#pragma once
// While the storage thread works on the profile manager's data, the window's
// thread turns its event loop only to repaint: it must not touch that data
// meanwhile. Presses, keys and the wheel from the display are kept and
// delivered, in order, once the store has ended; input that reaches the
// window by any other way (events sent directly, a button pressed through the
// accessibility bridge, which queues its click on the button) is swallowed,
// so that no edit, sequence or menu starts while a store runs. Pointer moves
// and hovering pass: they only repaint, and the window answers them at once.
//
// Holds nest; the application's event filter is in place while one lives.

#include <QObject>

namespace k4812 {

class StorageInputHold final : public QObject {
    Q_OBJECT
public:
    StorageInputHold();
    ~StorageInputHold() override;
    StorageInputHold(const StorageInputHold&) = delete;
    StorageInputHold& operator=(const StorageInputHold&) = delete;

    // Whether a hold is in place.
    static bool active();
    // Input events swallowed since the program started (tests read it).
    static int swallowedCount();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace k4812
