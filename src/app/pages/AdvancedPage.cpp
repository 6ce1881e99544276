#include "app/pages/AdvancedPage.h"

#include "app/MainWindow.h"

namespace k4812 {

AdvancedPage::AdvancedPage(TK4812CfgMain& window, QWidget* parent) : QWidget(parent), m_window(window)
{
    setObjectName(QStringLiteral("AdvancedPage"));
}

void AdvancedPage::LoadAdvancedPage()
{
}

} // namespace k4812
