#include "app/MainWindowDialogs.h"

#include "app/MainWindow.h"

#include "ui/dialogs/HelpDialog.h"
#include "ui/dialogs/MessagePrompter.h"

namespace k4812 {

int showToolkitMessageDialog(QWidget* parent, const QString& title, const QString& text, const QString& secondLine)
{
    return ShowMessageDialog(title, text, secondLine, parent);
}

void showToolkitHelpDialog(TK4812CfgMain& window)
{
    ShowHelpDialog(window.uiLanguage1(), &window);
}

} // namespace k4812
