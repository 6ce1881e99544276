#pragma once
// Keyboard selection in an open menu list: which row a key selects. Keys
// only move the selection; they never click.

#include <QString>
#include <QStringList>

namespace k4812 {

// The row that `key` (a Qt::Key value, with the text it typed) selects in a
// list showing `texts`, when `current` is selected (-1 for none):
//  - a printable character: the first row whose text starts with it, compared
//    without regard to case; `current` when none does;
//  - Home the first row, End the last;
//  - Left and Up the previous row, Right and Down the next, kept inside the list;
//  - any other key: `current`.
// An empty list keeps -1.
int keyboardSelection(const QStringList& texts, int current, int key, const QString& text);

} // namespace k4812
