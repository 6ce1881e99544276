#include "app/pages/SystemSettingPage.h"

#include "app/pages/PageControls.h"

#include "platform/desktop/PointerSettings.h"
#include "platform/desktop/TuiThread.h"
#include "profiles/SystemMouseParams.h"
#include "profiles/SystemSettingEdits.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/RadioButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/TrackBar.h"

#include <QApplication>
#include <QFrame>

#include <cstring>
#include <mutex>

namespace k4812 {

using namespace page;

std::unique_ptr<PendingSystemAction> makeTimerDoAction(TDM& dm, MainWindowState& state,
                                                       std::shared_ptr<PointerSettings> settings,
                                                       std::unique_ptr<ActionTimer> timer)
{
    return std::make_unique<PendingSystemAction>(std::move(timer), [&dm, &state, settings](const QString& action) {
        if (!settings)
            return;
        // The desktop may take its time (it starts programs, writes files):
        // the change runs on a worker with the values as they are now, and
        // the window keeps repainting; the busy cursor lasts until it ends.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const TSYSTEMMOUSEPARAMS params = state.SystemMouseParams;
        const bool started = TuiThread::ThreadCallFunction(
            &params, sizeof params,
            [settings, action, profile = dm.FCurrentProfileInfo()](void* block, std::size_t size) {
                TSYSTEMMOUSEPARAMS copy;
                if (size == sizeof copy) {
                    std::memcpy(&copy, block, sizeof copy);
                    const std::scoped_lock lock(pointerSettingsMutex());
                    ApplySystemAction(*settings, action, profile, copy);
                }
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [] { QApplication::restoreOverrideCursor(); }, Qt::QueuedConnection);
            });
        if (!started)
            QApplication::restoreOverrideCursor();
    });
}

SystemSettingPage::SystemSettingPage(PageContext context, QWidget* parent)
    : QWidget(parent), m_ctx(std::move(context))
{
    setObjectName(QStringLiteral("SystemSettingPage"));

    label(this, "Double Click Speed", QRect(12, 12, 300, 22));
    m_doubleClick = track(this, "TrackBarDoubleClickSpeed", "Double Click Speed", kDoubleClickTrackMin,
                          kDoubleClickTrackMax, kDoubleClickTrackStep, QRect(12, 36, 300, 26));

    label(this, "Pointer Speed", QRect(12, 74, 300, 22));
    m_pointerSpeed = track(this, "TrackBarPointerSpeed", "Pointer Speed", kMinPointerSpeed, kMaxPointerSpeed, 1,
                           QRect(12, 98, 300, 26));
    m_enhance = new CheckBox(this);
    m_enhance->setObjectName(QStringLiteral("CHKENHANCEPOINTER"));
    setSourceText(m_enhance, QStringLiteral("Enhance pointer precision"));
    m_enhance->setGeometry(12, 130, 300, 24);

    label(this, "Scroll Speed", QRect(12, 166, 300, 22));
    m_scroll = new RadioButton(this);
    m_scroll->setObjectName(QStringLiteral("RDSCROLL"));
    m_scroll->setGroupName(QStringLiteral("SCROLLSPEEDGROUP"));
    setSourceAccessibleName(m_scroll, QStringLiteral("Scroll Speed"));
    m_scroll->setGeometry(12, 190, 26, 26);
    m_scrollSpeed = track(this, "TRACKBARSCROLLSPEED", "Scroll Speed", kScrollLinesMin, kScrollLinesMax, 1,
                          QRect(42, 190, 270, 26));
    m_onePage = new RadioButton(this);
    m_onePage->setObjectName(QStringLiteral("RDSCROLLONEPAGE"));
    m_onePage->setGroupName(QStringLiteral("SCROLLSPEEDGROUP"));
    setSourceText(m_onePage, QStringLiteral("Scroll for one page"));
    m_onePage->setGeometry(12, 222, 300, 24);
    m_onePage->setChecked(true);

    label(this, "Test area", QRect(12, 258, 300, 22));
    auto* area = new QFrame(this);
    area->setObjectName(QStringLiteral("TestAreaFrame"));
    area->setFrameShape(QFrame::StyledPanel);
    area->setGeometry(12, 282, 300, 150);
    m_testImage = new ImageView(area);
    m_testImage->setObjectName(QStringLiteral("imageTest"));
    setSourceAccessibleName(m_testImage, QStringLiteral("Test area"));
    if (m_ctx.image)
        m_testImage->setImage(m_ctx.image(QStringLiteral("testarea.png")));
    const QSize size = m_testImage->image().isNull() ? QSize(96, 96) : m_testImage->image().size();
    m_testImage->setGeometry((300 - size.width()) / 2, (150 - size.height()) / 2, size.width(), size.height());
    connect(m_testImage, &ImageView::doubleClicked, m_testImage, &ImageView::startRotation);

    for (TrackBar* t : {m_doubleClick, m_pointerSpeed, m_scrollSpeed})
        connect(t, &TrackBar::valueChanged, this, [this, t] { DOSpeedValueChangedEvent(t); });
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{m_enhance, m_scroll, m_onePage})
        connect(b, &QAbstractButton::toggled, this, [this, b] { DOSpeedValueChangedEvent(b); });

    markWhatTheDesktopCannotApply();
}

void SystemSettingPage::markWhatTheDesktopCannotApply()
{
    if (!m_ctx.pointerSettings)
        return;
    const struct {
        PointerSetting setting;
        std::initializer_list<QWidget*> controls;
    } settings[] = {
        {PointerSetting::DoubleClickTime, {m_doubleClick}},
        {PointerSetting::PointerSpeed, {m_pointerSpeed}},
        {PointerSetting::Acceleration, {m_enhance}},
        {PointerSetting::WheelScrollLines, {m_scroll, m_scrollSpeed, m_onePage}},
    };
    for (const auto& s : settings) {
        const PointerSettingSupport support = m_ctx.pointerSettings->support(s.setting);
        if (support.supported)
            continue;
        if (s.setting == PointerSetting::WheelScrollLines)
            m_scrollApplies = false;
        // The value stays in the profile and is loaded and stored as ever;
        // only the user cannot change what would change nothing.
        for (QWidget* control : s.controls) {
            control->setEnabled(false);
            setSourceToolTip(control, support.reason);
            setSourceAccessibleDescription(control, support.reason);
        }
    }
}

void SystemSettingPage::LoadSystemPage()
{
    const int lines = profile().ConfigInfo.VWheelSpeed;
    if (IsScrollOnePage(lines)) {
        m_onePage->setChecked(true);
        m_scrollSpeed->setEnabled(false);
    } else {
        m_scroll->setChecked(true);
        m_scrollSpeed->setValue(lines);
        m_scrollSpeed->setEnabled(m_scrollApplies);
    }
    m_ctx.state->SystemMouseParams.WheelScrollLines = lines;
    m_doubleClick->setValue(DoubleClickTrackOf(profile().ConfigInfo.DoubleClickSpeed));
    m_pointerSpeed->setValue(profile().ConfigInfo.PointerSpeed);
    m_ctx.state->SystemMouseParams.PointerSpeed = m_pointerSpeed->value();
    m_enhance->setChecked(profile().ConfigInfo.PointerAcceleration == 1);
}

void SystemSettingPage::DOSpeedValueChangedEvent(QObject* sender)
{
    if (initializing())
        return;
    TMOUSEPROFILEINFO& p = profile();
    TSYSTEMMOUSEPARAMS& params = m_ctx.state->SystemMouseParams;
    // The scroll value is written for every sender, so it is always what the radios show.
    if (m_scroll->isChecked()) {
        SetScrollLines(p, m_scrollSpeed->value());
        params.WheelScrollLines = m_scrollSpeed->value();
        m_scrollSpeed->setEnabled(m_scrollApplies);
        schedule(kActionSetScrollSpeed);
    }
    if (m_onePage->isChecked()) {
        SetScrollOnePage(p);
        params.WheelScrollLines = kScrollOnePageLines;
        m_scrollSpeed->setEnabled(false);
        schedule(kActionSetScrollSpeed);
    }
    if (sender == m_doubleClick) {
        SetDoubleClickTrack(p, m_doubleClick->value());
        schedule(kActionSetDoubleClickSpeed);
    }
    if (sender == m_pointerSpeed) {
        SetPointerSpeed(p, m_pointerSpeed->value());
        params.PointerSpeed = m_pointerSpeed->value();
        schedule(kActionSetPointerSpeed);
    }
    if (sender == m_enhance) {
        SetPointerPrecision(p, m_enhance->isChecked());
        schedule(kActionSetAcceleration);
    }
    m_ctx.dm->SaveBackToCurrentProfileInfo();
}

void SystemSettingPage::schedule(const char* action)
{
    if (m_ctx.pendingAction)
        m_ctx.pendingAction->schedule(QString::fromLatin1(action));
}

} // namespace k4812
