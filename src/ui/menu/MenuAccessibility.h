#pragma once
// Tells assistive technology that a menu popup is a popup menu and its rows
// are menu items (with their shown text as the name).

namespace k4812 {

// Installs the accessibility factory for the menu's windows; once per process.
void installMenuAccessibility();

} // namespace k4812
