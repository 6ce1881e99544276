#include "app/pages/SensitivityPage.h"

#include "app/pages/PageControls.h"

#include "profiles/SensitivityEdits.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/Glow.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/TrackBar.h"

#include <QEvent>

namespace k4812 {

using namespace page;

namespace {

NumberBox* cpiBox(QWidget* parent, const QString& name, int level, QRect geometry)
{
    auto* box = new NumberBox(parent);
    box->setObjectName(name);
    box->setRange(kCpiValueMin, kCpiValueMax);
    box->setStep(100);
    box->setProperty("tag", level);
    box->setGeometry(geometry);
    return box;
}

TrackBar* cpiTrack(QWidget* parent, const char* name, const char* accessibleName, int y)
{
    auto* track = new TrackBar(parent);
    track->setObjectName(QString::fromLatin1(name));
    track->setRange(kCpiValueMin, kCpiValueMax);
    track->setStep(100);
    track->setGeometry(12, y, 300, 26);
    setSourceAccessibleName(track, QString::fromLatin1(accessibleName));
    label(parent, "100", QRect(12, y + 26, 60, 18));
    auto* max = label(parent, "3500", QRect(252, y + 26, 60, 18));
    max->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return track;
}

} // namespace

SensitivityPage::SensitivityPage(PageContext context, QWidget* parent) : QWidget(parent), m_ctx(std::move(context))
{
    setObjectName(QStringLiteral("SensitivityPage"));

    label(this, "Sensitivity options:", QRect(12, 12, 300, 22));
    label(this, "CPI Level:", QRect(12, 46, 100, 24));
    m_levelCount = new NumberBox(this);
    m_levelCount->setObjectName(QStringLiteral("NBCPILEVEL"));
    m_levelCount->setRange(1, kCpiLevelsShown);
    m_levelCount->setStep(1);
    m_levelCount->setValue(kCpiLevelsShown);
    m_levelCount->setGeometry(102, 44, 90, 26);
    setSourceAccessibleName(m_levelCount, QStringLiteral("CPI Level:"));
    connect(m_levelCount, &NumberBox::valueChanged, this, [this](int n) { SetCpiLevelCount(n); });

    label(this, "X-Axis", QRect(102, 80, 90, 20))->setAlignment(Qt::AlignCenter);
    label(this, "Y-Axis", QRect(202, 80, 90, 20))->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < kCpiLevelsShown; ++i) {
        const int y = 104 + i * 34;
        auto* number = new SkinLabel(this);
        number->setText(QString::number(i + 1));
        number->setGeometry(52, y, 40, 26);
        LevelBoxes& row = m_boxes[std::size_t(i)];
        row.x = cpiBox(this, QStringLiteral("X%1").arg(i + 1), i, QRect(102, y, 90, 26));
        row.y = cpiBox(this, QStringLiteral("Y%1").arg(i + 1), i, QRect(202, y, 90, 26));
        row.xy = cpiBox(this, QStringLiteral("XY%1").arg(i + 1), i, QRect(292, y, 40, 26));
        row.xy->setVisible(false);
        row.xy->setEnabled(false);
        setSourceAccessibleName(row.x, QStringLiteral("Level %1 X-Axis").arg(i + 1));
        setSourceAccessibleName(row.y, QStringLiteral("Level %1 Y-Axis").arg(i + 1));
        for (NumberBox* box : {row.x, row.y}) {
            // A click selects the level; so does reaching the box by keyboard,
            // where the keys then edit it, so every level is open without a mouse.
            box->setFocusPolicy(Qt::StrongFocus);
            box->installEventFilter(this);
            setGlowColor(box, QColor::fromRgba(kLevelGlow[std::size_t(i)]));
            setGlowEnabled(box, false);
            connect(box, &NumberBox::clicked, this, [this, i] { boxClicked(i); });
        }
        connect(row.x, &NumberBox::valueChanged, this, [this, i](int v) { DOCpiValueChangeEvent(i, true, v); });
        connect(row.y, &NumberBox::valueChanged, this, [this, i](int v) { DOCpiValueChangeEvent(i, false, v); });
    }

    label(this, "X-Axis", QRect(12, 250, 100, 20));
    m_trackX = cpiTrack(this, "TrackBarCPIX", "X-Axis", 272);
    label(this, "Y-Axis", QRect(12, 322, 100, 20));
    m_trackY = cpiTrack(this, "TrackBarCPIY", "Y-Axis", 344);
    connect(m_trackX, &TrackBar::valueChanged, this, [this](int v) { TrackBarCPIXChange(true, v); });
    connect(m_trackY, &TrackBar::valueChanged, this, [this](int v) { TrackBarCPIXChange(false, v); });

    label(this, "Advanced", QRect(12, 394, 200, 20));
    m_differentXY = checkBox(this, "CHKApplyDiffirentXY", "Diffirent X/Y setting", QRect(12, 416, 195, 24));
    m_eachProfile = checkBox(this, "CHKAPPLYSETTINGEACHPROFILE", "Apply cpi setting for each profile",
                             QRect(12, 442, 195, 24));
    m_acceleration = checkBox(this, "CHKApplyAccelaration", "Accelaration", QRect(12, 442, 195, 24));
    m_eachProfile->setVisible(false);
    m_acceleration->setVisible(false);
    for (CheckBox* box : {m_differentXY, m_eachProfile, m_acceleration})
        connect(box, &CheckBox::toggled, this, [this, box] { DOCpiAdvanceItemChangeEvent(box); });

    m_defaults = new SkinButton(this);
    m_defaults->setObjectName(QStringLiteral("BSBTNSENSDEFAULTS"));
    setSourceText(m_defaults, QStringLiteral("Defaults"));
    m_defaults->setGeometry(212, 436, 100, 28);
    connect(m_defaults, &SkinButton::clicked, this, [this] { BSBTNSENSDEFAULTSClick(); });
}

void SensitivityPage::SetCPI()
{
    LoadSensitivityPage();
    ShowLevelOnTracks(0);
    m_selectedLevel = 1;
    HighlightLevel(1);
    ShowLevelOnTracks(1);
}

void SensitivityPage::LoadSensitivityPage()
{
    TMOUSEPROFILEINFO& p = profile();
    const int inUse = NormalizeCpiLevels(p);
    m_levelCount->setValue(inUse);
    for (int i = 0; i < kCpiLevelsShown; ++i) {
        const TCPILEVELINFO level = p.ConfigInfo.CPIState[i];
        const TCPILEVELINFO device = p.ConfigInfo.HWCPIState[i];
        LevelBoxes& row = m_boxes[std::size_t(i)];
        row.x->setValue(level.X);
        row.y->setValue(level.Y);
        row.xy->setValue(device.X);
    }
    enableLevelBoxes(inUse);
    const TMOUSECONFIGINFO& c = p.ConfigInfo;
    const bool eachProfile = c.ApplyCPISettingEachProfile == 1;
    const bool different = c.ApplyDiffirentXY == 1;
    const bool acceleration = c.ApplyAccelaration == 1;
    m_eachProfile->setChecked(eachProfile);
    m_differentXY->setChecked(different);
    m_acceleration->setChecked(acceleration);
}

void SensitivityPage::enableLevelBoxes(int count)
{
    for (int i = 0; i < kCpiLevelsShown; ++i) {
        m_boxes[std::size_t(i)].x->setEnabled(i < count);
        m_boxes[std::size_t(i)].y->setEnabled(i < count);
    }
}

void SensitivityPage::ShowLevelOnTracks(int level)
{
    const TCPILEVELINFO values = profile().ConfigInfo.CPIState[level];
    m_tracksDisconnected = true;
    m_trackX->setValue(values.X);
    m_trackY->setValue(values.Y);
    m_tracksDisconnected = false;
}

void SensitivityPage::HighlightLevel(int level)
{
    for (int i = 0; i < kCpiLevelsShown; ++i) {
        setGlowEnabled(m_boxes[std::size_t(i)].x, i == level);
        setGlowEnabled(m_boxes[std::size_t(i)].y, i == level);
    }
}

bool SensitivityPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const QVariant level = watched->property("tag");
        if (level.isValid() && level.toInt() != m_selectedLevel)
            boxClicked(level.toInt());
    }
    return QWidget::eventFilter(watched, event);
}

void SensitivityPage::boxClicked(int level)
{
    m_selectedLevel = level;
    HighlightLevel(level);
    ShowLevelOnTracks(level);
}

void SensitivityPage::TrackBarCPIXChange(bool isX, int value)
{
    if (m_tracksDisconnected)
        return;
    const LevelBoxes& row = m_boxes[std::size_t(m_selectedLevel)];
    NumberBox* box = isX ? row.x : row.y;
    box->setValue(value);
    DOCpiValueChangeEvent(m_selectedLevel, isX, box->value());
}

void SensitivityPage::DOCpiValueChangeEvent(int level, bool isX, int value)
{
    if (initializing())
        return;
    m_selectedLevel = level;
    if (!ChangeCpiValue(profile(), level, isX ? CpiAxis::X : CpiAxis::Y, value))
        return;
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    LoadSensitivityPage();
    ShowLevelOnTracks(level);
    m_ctx.state->SettingsChanged = true;
}

void SensitivityPage::SetCpiLevelCount(int count)
{
    if (!k4812::SetCpiLevelCount(profile(), count))
        return;
    enableLevelBoxes(count);
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    m_ctx.state->SettingsChanged = true;
}

void SensitivityPage::DOCpiAdvanceItemChangeEvent(CheckBox* sender)
{
    if (initializing())
        return;
    TMOUSECONFIGINFO& c = profile().ConfigInfo;
    if (sender == m_differentXY)
        SetDifferentXY(profile(), m_differentXY->isChecked());
    c.ApplyCPISettingEachProfile = m_eachProfile->isChecked() ? 1 : 0;
    if (sender == m_acceleration) {
        const int on = m_acceleration->isChecked() ? 1 : 0;
        c.ApplyAccelaration = on;
        m_ctx.state->SystemMouseParams.AccelerationIndex = on;
        if (m_ctx.pendingAction)
            m_ctx.pendingAction->schedule(QString::fromLatin1(kActionAcceleration));
    }
    storeEdit();
}

void SensitivityPage::BSBTNSENSDEFAULTSClick()
{
    m_ctx.dm->RestoreToDefaultCPISetting();
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    SetCPI();
}

void SensitivityPage::storeEdit()
{
    m_ctx.dm->SaveBackToCurrentProfileInfo();
    m_ctx.state->SettingsChanged = true;
}

} // namespace k4812
