#include "app/pages/SystemSettingPage.h"

#include "app/MainWindow.h"

namespace k4812 {

SystemSettingPage::SystemSettingPage(TK4812CfgMain& window, QWidget* parent) : QWidget(parent), m_window(window)
{
    setObjectName(QStringLiteral("SystemSettingPage"));
}

void SystemSettingPage::LoadSystemPage()
{
}

} // namespace k4812
