#pragma once
// The "Advanced" tab: the USB report rate, the light (on or off, breathing
// speed, colour), "Restore light", "Defaults" and the two hidden fire-key
// boxes. Colour and breathing speed are shown on the mouse at once
// (PreviewLight); everything else reaches it with the apply.
//
// Radio buttons and the track bar report every change, the page's own too,
// so a reload after start-up runs the handler for each one that changes.

#include "app/pages/PageContext.h"

#include <QWidget>

#include <array>

namespace k4812 {

class ImageView;
class NumberBox;
class RadioButton;
class SkinButton;
class TrackBar;

class AdvancedPage final : public QWidget {
    Q_OBJECT
public:
    // The page's English title, shown translated on its tab.
    static constexpr const char* kTitle = "Advanced";

    AdvancedPage(PageContext context, QWidget* parent = nullptr);

    // The "SetReport" command.
    void LoadAdvancedPage();

    // The swatch that ImageLightColor shows (0 to 5).
    int shownSwatch() const { return m_shownSwatch; }

private:
    void DoReportRateAndLightChangeEvent(QObject* sender);
    void DOLightColorSelectionEvent(int swatch);
    void BSBTNADVDEFAULTSClick();
    void BSBTNRESTORELIGHTClick();
    void showSwatch(int swatch);
    void previewLight();

    bool initializing() const { return m_ctx.initializing && m_ctx.initializing(); }
    TMOUSEPROFILEINFO& profile() { return m_ctx.dm->FCurrentProfileInfo(); }

    PageContext m_ctx;
    std::array<RadioButton*, 4> m_rates{};
    RadioButton* m_lightOn = nullptr;
    RadioButton* m_lightOff = nullptr;
    TrackBar* m_speed = nullptr;
    SkinButton* m_preview = nullptr;
    SkinButton* m_restore = nullptr;
    ImageView* m_colorImage = nullptr;
    std::array<SkinButton*, 6> m_swatches{};
    NumberBox* m_fireDelay = nullptr;
    NumberBox* m_fireCount = nullptr;
    SkinButton* m_defaults = nullptr;
    int m_shownSwatch = 0;
};

} // namespace k4812
