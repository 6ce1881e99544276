#include "app/pages/SensitivityPage.h"

#include "app/MainWindow.h"

namespace k4812 {

SensitivityPage::SensitivityPage(TK4812CfgMain& window, QWidget* parent) : QWidget(parent), m_window(window)
{
    setObjectName(QStringLiteral("SensitivityPage"));
}

void SensitivityPage::LoadSensitivityPage()
{
}

} // namespace k4812
