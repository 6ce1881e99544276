#pragma once
// The button-assignment menu's items, as the main window builds them, for
// the menu tests.

#include "ui/menu/MenuItems.h"

#include <QStringList>

namespace k4812::test {

inline void fillButtonMenu(TuiMenuItemsEx& items, int macroCount = 0)
{
    const QStringList top = {"Click",    "Right Click", "Middle Button", "Forward",    "Backward", "Single Key",
                             "Combo Key", "Basic",      "Advanced",      "Media",      "Macro",    "DPI Switch",
                             "DPI +",    "DPI -",       "Fire Key...",   "Disable"};
    for (const QString& caption : top)
        items.Add(caption);
    for (const char* caption : {"Cut", "Copy", "Paste", "Select All", "Find", "New", "Print", "Save"})
        items[7].SubItems().Add(QString::fromLatin1(caption));
    for (const char* caption : {"Switch Window", "Close Window", "Open Explorer", "Run", "Show Desktop", "Lock PC"})
        items[8].SubItems().Add(QString::fromLatin1(caption));
    for (const char* caption : {"Play/Pause", "Stop", "Previous", "Next", "Volume Up", "Volume Down", "Mute"})
        items[9].SubItems().Add(QString::fromLatin1(caption));
    items[10].SubItems().Add(QStringLiteral("Macro Manager"));
    for (int k = 0; k < macroCount; ++k)
        items[10].SubItems().Add(QStringLiteral("Macro<M%1>").arg(k));
}

} // namespace k4812::test
