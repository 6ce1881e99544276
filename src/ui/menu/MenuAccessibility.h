#pragma once
// Tells assistive technology about the open menus: the application lists its
// open top-level lists as popup menus, a sub-menu hangs below the item that
// opened it, and each row is a menu item (its shown text as the name, checked
// when marked, "has popup" with sub-items) whose press action chooses it.

class QAccessibleEvent;

namespace k4812 {

// Installs the accessibility factory for the menu's windows; once per process.
void installMenuAccessibility();

// Where the menu's events for assistive technology go: QAccessible's update
// by default. Qt drops events while no assistive technology listens (and on
// platforms without a bridge), so tests put their own recorder here. Returns
// the previous one.
using MenuEventSink = void (*)(QAccessibleEvent* event);
MenuEventSink setMenuEventSink(MenuEventSink sink);
// Sends one event to the current sink.
void announceMenuEvent(QAccessibleEvent& event);

} // namespace k4812
