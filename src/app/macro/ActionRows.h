#pragma once
// The rows the action list shows for a macro: one per key or mouse action,
// and one per delay when the macro was recorded with its delays. Each row
// remembers the action it stands for, so a selected row always names the
// right action even where actions have no row (delays of a macro recorded
// without them, kinds the list does not show).

#include "records/Records.h"

#include <QString>

#include <vector>

namespace k4812 {

struct ActionRow {
    enum class Kind { Delay, KeyDown, KeyUp, MouseDown, MouseUp };
    Kind kind = Kind::KeyDown;
    QString text;          // a delay's milliseconds, or a space and the key's name
    int actionIndex = -1;  // the action in the macro; -1 for a row shown while recording

    bool isDelay() const { return kind == Kind::Delay; }
    bool isPress() const { return kind == Kind::KeyDown || kind == Kind::MouseDown; }
    bool operator==(const ActionRow&) const = default;
};

// The rows of `actions` in order; delays only when `showDelays`
// (the macro's nAutoAddDelay is 1). Mouse button names are translated.
std::vector<ActionRow> actionRowsOf(const std::vector<TMACROKEY>& actions, bool showDelays);

// The row that shows action `actionIndex`, or -1 when it has none.
int rowOfAction(const std::vector<ActionRow>& rows, int actionIndex);

} // namespace k4812
