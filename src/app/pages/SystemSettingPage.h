#pragma once
// The "System Setting" page of the main window's tab control. LoadSystemPage fills the desktop's
// pointer settings from the current profile (command "SetMouseParam").

#include <QWidget>

namespace k4812 {

class TK4812CfgMain;

class SystemSettingPage final : public QWidget {
    Q_OBJECT
public:
    explicit SystemSettingPage(TK4812CfgMain& window, QWidget* parent = nullptr);

    // The page's English title, shown translated on its tab.
    static constexpr const char* kTitle = "System Setting";

    void LoadSystemPage();

private:
    TK4812CfgMain& m_window;
};

} // namespace k4812
