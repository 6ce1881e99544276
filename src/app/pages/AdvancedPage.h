#pragma once
// The "Advanced" page of the main window's tab control. LoadAdvancedPage fills the report rate, the
// light and the fire settings from the current profile (command "SetReport").

#include <QWidget>

namespace k4812 {

class TK4812CfgMain;

class AdvancedPage final : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedPage(TK4812CfgMain& window, QWidget* parent = nullptr);

    // The page's English title, shown translated on its tab.
    static constexpr const char* kTitle = "Advanced";

    void LoadAdvancedPage();

private:
    TK4812CfgMain& m_window;
};

} // namespace k4812
