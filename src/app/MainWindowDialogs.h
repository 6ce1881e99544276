#pragma once
// The toolkit's message and help dialogs as the main window uses them.

#include <QString>

class QWidget;

namespace k4812 {

class TK4812CfgMain;

// ShowMessageDialog over `parent`: 1 for OK, 2 for Cancel and close.
int showToolkitMessageDialog(QWidget* parent, const QString& title, const QString& text, const QString& secondLine);
// ShowHelpDialog with the window's language component.
void showToolkitHelpDialog(TK4812CfgMain& window);

} // namespace k4812
