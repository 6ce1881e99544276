#include "app/MainWindowDialogs.h"

#include "app/MainWindow.h"

#include <QMessageBox>

namespace k4812 {

int showToolkitMessageDialog(QWidget* parent, const QString& title, const QString& text, const QString& secondLine)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setInformativeText(secondLine);
    return box.exec() == QMessageBox::Ok ? 1 : 2;
}

void showToolkitHelpDialog(TK4812CfgMain&)
{
}

} // namespace k4812
