#pragma once
// The "Sensitivity" tab: the number of CPI levels in use, the X and Y value
// of each level, the two track bars that edit the selected level, the
// "Diffirent X/Y setting" box and "Defaults". Every edit goes through the
// core's SensitivityEdits into the current profile's working copy.
//
// The number boxes never report what the page sets; the track bars are set
// with their handlers disconnected; the check boxes report every change, so a
// reload after start-up runs their handler for each box that changes.

#include "app/pages/PageContext.h"

#include <QColor>
#include <QWidget>

#include <array>

namespace k4812 {

class CheckBox;
class NumberBox;
class SkinButton;
class TrackBar;

class SensitivityPage final : public QWidget {
    Q_OBJECT
public:
    // The glow of the selected level's boxes, by level.
    static constexpr std::array<QRgb, 4> kLevelGlow{0xFF8B8B8B, 0xFF0056FF, 0xFFFF0000, 0xFFFFFF00};

    // The page's English title, shown translated on its tab.
    static constexpr const char* kTitle = "Sensitivity";

    SensitivityPage(PageContext context, QWidget* parent = nullptr);

    // The "SetCPI" command: fill the page and select the second level.
    void SetCPI();

    // SelectedCpiLevel, the level the track bars edit (0 to 3).
    int selectedCpiLevel() const { return m_selectedLevel; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LevelBoxes {
        NumberBox* x = nullptr;
        NumberBox* y = nullptr;
        NumberBox* xy = nullptr; // the device value, hidden
    };

    void LoadSensitivityPage();
    void ShowLevelOnTracks(int level);
    void HighlightLevel(int level);
    void SetCpiLevelCount(int count);
    void enableLevelBoxes(int count);

    void boxClicked(int level);
    void DOCpiValueChangeEvent(int level, bool isX, int value);
    void TrackBarCPIXChange(bool isX, int value);
    void DOCpiAdvanceItemChangeEvent(CheckBox* sender);
    void BSBTNSENSDEFAULTSClick();

    bool initializing() const { return m_ctx.initializing && m_ctx.initializing(); }
    TMOUSEPROFILEINFO& profile() { return m_ctx.dm->FCurrentProfileInfo(); }
    void storeEdit();

    PageContext m_ctx;
    NumberBox* m_levelCount = nullptr;
    std::array<LevelBoxes, 4> m_boxes{};
    TrackBar* m_trackX = nullptr;
    TrackBar* m_trackY = nullptr;
    bool m_tracksDisconnected = false;
    CheckBox* m_differentXY = nullptr;
    CheckBox* m_eachProfile = nullptr;
    CheckBox* m_acceleration = nullptr;
    SkinButton* m_defaults = nullptr;
    int m_selectedLevel = 1;
};

} // namespace k4812
