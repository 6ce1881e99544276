#pragma once
// The combination recorder: up to two keys pressed together and the modifier
// keys held at that moment.
//
// Presses only; the modifier keys themselves are not keys of a combination.
// A press more than 100 ms after the previous accepted press starts a new
// combination with that key; within 100 ms it becomes the second key, or,
// when it repeats the first key (auto-repeat of a held key), the first key
// again. Holding a first key (its auto-repeat keeps the presses close) and
// pressing a second therefore gives a two-key combination. A third press
// clears both keys before it is placed.

#include "macros/HookRecords.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace k4812 {

class ComboKeyRecorder {
public:
    // Whether a virtual key (left or right Ctrl, Alt, Win, Shift) is held now.
    using KeyHeld = std::function<bool(int virtualKey)>;

    static constexpr std::uint32_t kPairingMs = 100;

    struct Outcome {
        bool blocked = false;
        std::optional<TCOMBOKEY> combo;   // set when the combination is to be announced
        QString text;                     // its text: "Ctrl+Alt+" ..., then "A" or "A+B"
    };

    // One key event of the recording.
    Outcome record(const TKBDLLHOOKSTRUCT& event, const KeyHeld& held);

    // A new recording: the next press starts a new combination.
    void restart() { FLastTimeKeyboardCombo = 0; }

    const TCOMBOKEY& comboKey() const { return FComboKeyInfo; }

    static bool isModifierKey(std::uint32_t virtualKey);

private:
    TCOMBOKEY FComboKeyInfo{};
    QString FComboKeyString;
    std::uint32_t FLastTimeKeyboardCombo = 0;   // 0 = no press yet
};

} // namespace k4812
