#include "app/pages/AdvancedPage.h"

#include "app/pages/PageControls.h"

#include "sequences/LightSenders.h"
#include "profiles/AdvancedEdits.h"
#include "profiles/AdvancedPageChoices.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/TrackBar.h"

namespace k4812 {

using namespace page;

AdvancedPage::AdvancedPage(PageContext context, QWidget* parent) : QWidget(parent), m_ctx(std::move(context))
{
    setObjectName(QStringLiteral("AdvancedPage"));

    label(this, "Mouse Report Rate Options:", QRect(12, 12, 300, 22));
    const char* rateNames[] = {"RD125HZ", "RD250HZ", "RD500HZ", "RD1000HZ"};
    const char* rateTexts[] = {"125Hz", "250Hz", "500Hz", "1000Hz"};
    for (int i = 0; i < 4; ++i) {
        RadioButton* r = radio(this, rateNames[i], rateTexts[i], "REPORTRATERADIO", QRect(12 + i * 78, 40, 78, 24));
        r->setProperty("tag", i);
        m_rates[std::size_t(i)] = r;
        connect(r, &RadioButton::toggled, this, [this, r] { DoReportRateAndLightChangeEvent(r); });
    }

    label(this, "Lights Options:", QRect(12, 80, 300, 22));
    m_lightOn = radio(this, "RDLIGHTON", "Turn On", "LIGHTSGROUPRADIO", QRect(12, 106, 140, 24));
    m_lightOff = radio(this, "RDLIGHTOFF", "Turn Off", "LIGHTSGROUPRADIO", QRect(162, 106, 140, 24));
    for (RadioButton* r : {m_lightOn, m_lightOff})
        connect(r, &RadioButton::toggled, this, [this, r] { DoReportRateAndLightChangeEvent(r); });

    m_speed = new TrackBar(this);
    m_speed->setObjectName(QStringLiteral("TrackBarLIGHTSPEED"));
    m_speed->setRange(kBreathingSpeedMin, kBreathingSpeedMax);
    m_speed->setStep(1);
    m_speed->setValue(2);
    m_speed->setGeometry(12, 140, 300, 26);
    setSourceAccessibleName(m_speed, QStringLiteral("Medium"));
    label(this, "Low", QRect(12, 166, 90, 18));
    label(this, "Medium", QRect(117, 166, 90, 18))->setAlignment(Qt::AlignCenter);
    label(this, "High", QRect(222, 166, 90, 18))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(m_speed, &TrackBar::valueChanged, this, [this] { DoReportRateAndLightChangeEvent(m_speed); });

    // Shown pressed: the light is always previewed; the button itself does nothing.
    m_preview = button(this, "BSBTNLIGHTPREVIEW", "Preview", QRect(12, 196, 140, 28));
    m_preview->setStaysPressed(true);
    m_preview->setChecked(true);
    m_preview->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_restore = button(this, "BSBTNRESTORELIGHT", "Restore light", QRect(172, 196, 140, 28));
    connect(m_restore, &SkinButton::clicked, this, [this] { BSBTNRESTORELIGHTClick(); });

    label(this, "Lights Color Selection:", QRect(12, 240, 230, 22));
    m_colorImage = new ImageView(this);
    m_colorImage->setObjectName(QStringLiteral("ImageLightColor"));
    m_colorImage->setGeometry(267, 236, 30, 30);
    setSourceAccessibleName(m_colorImage, QStringLiteral("Lights Color Selection:"));
    for (int i = 0; i < int(kLightSwatches.size()); ++i) {
        auto* swatch = new SkinButton(this);
        swatch->setObjectName(QStringLiteral("C%1").arg(i + 1));
        swatch->setProperty("tag", i);
        const SkinImage face = m_ctx.image ? m_ctx.image(QStringLiteral("c%1.png").arg(i + 1)) : SkinImage();
        swatch->setFaces(face, face, face);
        swatch->setGeometry(12 + i * 50, 272, 40, 40);
        swatch->setAccessibleName(QColor::fromRgba(kLightSwatches[std::size_t(i)]).name());
        m_swatches[std::size_t(i)] = swatch;
        connect(swatch, &SkinButton::clicked, this, [this, i] { DOLightColorSelectionEvent(i); });
    }

    // The default fire-key speed and count: never shown, as on the mouse's own tool.
    m_fireDelay = new NumberBox(this);
    m_fireDelay->setObjectName(QStringLiteral("NBFireDelay"));
    m_fireDelay->setRange(10, 250);
    m_fireDelay->setStep(10);
    m_fireDelay->setValue(10);
    m_fireDelay->setVisible(false);
    m_fireCount = new NumberBox(this);
    m_fireCount->setObjectName(QStringLiteral("NBFIRECOUNT"));
    m_fireCount->setRange(1, 60);
    m_fireCount->setStep(1);
    m_fireCount->setValue(1);
    m_fireCount->setVisible(false);
    connect(m_fireDelay, &NumberBox::valueChanged, this, [this] { DoReportRateAndLightChangeEvent(m_fireDelay); });
    connect(m_fireCount, &NumberBox::valueChanged, this, [this] { DoReportRateAndLightChangeEvent(m_fireCount); });

    m_defaults = button(this, "BSBTNADVDEFAULTS", "Defaults", QRect(212, 436, 100, 28));
    connect(m_defaults, &SkinButton::clicked, this, [this] { BSBTNADVDEFAULTSClick(); });
}

void AdvancedPage::LoadAdvancedPage()
{
    m_rates[std::size_t(ReportRateRadioOf(profile().ConfigInfo.ReportRate))]->setChecked(true);
    if (ShowsLightOn(profile()))
        m_lightOn->setChecked(true);
    else
        m_lightOff->setChecked(true);
    // Read after the radios: a light radio that changed has changed the speed already.
    m_speed->setValue(profile().ConfigInfo.LEDConfig.BREATH_SPEED);
    showSwatch(LightSwatchOf(profile()));
    m_fireDelay->setValue(profile().ConfigInfo.FireKeySpeed);
    m_fireCount->setValue(profile().ConfigInfo.FireKeyCount);
}

void AdvancedPage::DoReportRateAndLightChangeEvent(QObject* sender)
{
    if (initializing())
        return;
    TMOUSEPROFILEINFO& p = profile();
    for (std::size_t i = 0; i < m_rates.size(); ++i) {
        if (sender == m_rates[i]) {
            for (std::size_t t = 0; t < m_rates.size(); ++t) {
                if (m_rates[t]->isChecked())
                    SetReportRate(p, kReportRateRadios[t]);
            }
        }
    }
    if (sender == m_lightOn || sender == m_lightOff)
        SetLightOn(p, !m_lightOff->isChecked());
    if (sender == m_speed) {
        SetBreathingSpeed(p, m_speed->value());
        previewLight();
    }
    if (sender == m_fireDelay)
        p.ConfigInfo.FireKeySpeed = m_fireDelay->value();
    if (sender == m_fireCount)
        p.ConfigInfo.FireKeyCount = m_fireCount->value();
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    m_ctx.state->SettingsChanged = true;
}

void AdvancedPage::DOLightColorSelectionEvent(int swatch)
{
    if (initializing())
        return;
    showSwatch(swatch);
    const LightColor c = LightColorOf(kLightSwatches[std::size_t(swatch)]);
    SetLightColor(profile(), c.r, c.g, c.b);
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    m_ctx.state->SettingsChanged = true;
    previewLight();
}

void AdvancedPage::BSBTNADVDEFAULTSClick()
{
    m_ctx.dm->RestoreToDefaultLightAndReportAdvancedSetting();
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    LoadAdvancedPage();
}

void AdvancedPage::BSBTNRESTORELIGHTClick()
{
    SequenceHost* host = m_ctx.host ? m_ctx.host() : nullptr;
    if (!m_ctx.runDeviceSequence || !m_ctx.device || !host)
        return;
    const TLEDCONFIG saved = m_ctx.preSavedLedConfig ? m_ctx.preSavedLedConfig() : TLEDCONFIG{};
    const int mode = m_ctx.dm->FProfileGroupIndex();
    m_ctx.runDeviceSequence(
        [this, host, saved, mode] { RestoreLight(*m_ctx.device, *host, saved, mode, m_ctx.state->Activation); });
}

void AdvancedPage::previewLight()
{
    // While another sequence runs (a profile switch refilling the pages) the
    // preview is left out rather than mixed into that sequence's commands.
    if (!m_ctx.runDeviceSequence || !m_ctx.device)
        return;
    m_ctx.runDeviceSequence([this] { PreviewLight(*m_ctx.device, profile()); });
}

void AdvancedPage::showSwatch(int swatch)
{
    m_shownSwatch = swatch;
    if (m_ctx.image)
        m_colorImage->setImage(m_ctx.image(QStringLiteral("c%1.png").arg(swatch + 1)));
    m_colorImage->update();
}

} // namespace k4812
