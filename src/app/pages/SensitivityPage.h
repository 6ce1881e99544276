#pragma once
// The "Sensitivity" page of the main window's tab control. LoadSensitivityPage fills the CPI levels,
// their number boxes and track bars from the current profile and selects its second level (command
// "SetCPI").

#include <QWidget>

namespace k4812 {

class TK4812CfgMain;

class SensitivityPage final : public QWidget {
    Q_OBJECT
public:
    explicit SensitivityPage(TK4812CfgMain& window, QWidget* parent = nullptr);

    // The page's English title, shown translated on its tab.
    static constexpr const char* kTitle = "Sensitivity";

    void LoadSensitivityPage();

private:
    TK4812CfgMain& m_window;
};

} // namespace k4812
