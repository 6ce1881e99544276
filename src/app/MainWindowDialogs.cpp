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
    // The language store on the storage thread, as the window's other stores.
    ShowHelpDialog(window.uiLanguage1(), &window,
                   [&window](const std::function<void()>& store) { window.runStore(store); });
}

} // namespace k4812
