// The main window's side of its pages and of the profile controls: what they
// get from the window (profile manager, shared state, FInitlizing, the
// pending desktop action, the light "Restore light" puts back, the mouse and
// the one-sequence-at-a-time rule) and the buttons the profile controls drive.

#include "app/MainWindow.h"

#include "app/ScheduledActionTimer.h"
#include "app/pages/AdvancedPage.h"
#include "app/pages/ProfileControls.h"
#include "app/pages/SystemSettingPage.h"

#include "i18n/Translation.h"
#include "sequences/ApplySequence.h"
#include "sequences/DeviceLocking.h"
#include "sequences/SequenceHost.h"
#include "profiles/ProfileManager.h"
#include "ui/controls/SkinButton.h"
#include "ui/skin/ImageDataBase.h"

namespace k4812 {

PageContext TK4812CfgMain::pageContext()
{
    EventScheduler& scheduler = m_services.scheduler ? *m_services.scheduler : defaultEventScheduler();
    std::shared_ptr<PointerSettings> pointerSettings = m_pointerSettings;
    // The action reads the current profile: it waits while a store runs.
    m_timerDoAction = makeTimerDoAction(
        m_dm, m_state, pointerSettings,
        std::make_unique<ScheduledActionTimer>(scheduler, this,
                                               [this](std::function<void()> end) { whenNotStoring(std::move(end)); }));

    PageContext context;
    context.dm = &m_dm;
    context.state = &m_state;
    context.initializing = [this] { return FInitlizing; };
    context.pendingAction = m_timerDoAction.get();
    context.pointerSettings = std::move(pointerSettings);
    context.preSavedLedConfig = [this] { return FPreSavedLedConfig; };
    context.device = &m_hid;
    context.host = [this]() -> SequenceHost* { return m_host.get(); };
    context.runDeviceSequence = [this](const std::function<void()>& sequence) { return runDeviceSequence(sequence); };
    // The pages' images lie in the skin's "buttons" (swatches) and "controls" (test area) groups.
    context.image = [](const QString& name) {
        for (const char* group : {"buttons", "controls"}) {
            SkinImage image = imageDataBase().image(name, QLatin1String(group));
            if (!image.isNull())
                return image;
        }
        return SkinImage();
    };
    return context;
}

bool TK4812CfgMain::runDeviceSequence(const std::function<void()>& sequence)
{
    DeviceActionGate::Run run = m_gate->begin();
    if (!run)
        return false;
    const std::unique_ptr<DeviceSequenceHold> lock = lockMouse();
    if (!lock)
        return false;
    sequence();
    endMouseSequence(*lock);
    return true;
}

void TK4812CfgMain::endMouseSequence(DeviceSequenceHold& hold)
{
    QString problem = hold.end();
    if (!problem.isEmpty()) {
        problem[0] = problem[0].toUpper();
        messageDialog(translate(QLatin1String(kApplyWarningTitle)), problem);
    }
}

std::unique_ptr<DeviceSequenceHold> TK4812CfgMain::lockMouse()
{
    QString error;
    std::unique_ptr<DeviceSequenceHold> lock = LockDeviceForSequence(m_hid, *m_host, error);
    if (!lock) {
        error[0] = error[0].toUpper();
        messageDialog(translate(QLatin1String(kApplyWarningTitle)), error);
    }
    return lock;
}

void TK4812CfgMain::buildProfileControls()
{
    if (!m_services.profileFileDialogs) {
        m_desktopFileDialogs = makeDesktopProfileFileDialogs();
        m_services.profileFileDialogs = m_desktopFileDialogs.get();
    }

    ProfileControls::Context context;
    context.dm = &m_dm;
    context.state = &m_state;
    context.device = &m_hid;
    context.host = m_host.get();
    context.runDeviceSequence = [this](const std::function<void()>& sequence) { return runDeviceSequence(sequence); };
    context.showMessage = [this](const QString& title, const QString& text, const QString& second) {
        return messageDialog(title, text, second);
    };
    // The macro entries of the button menu are rebuilt by the command
    // registry's run together with the entries' texts.
    context.refreshPages = [this] { FillPages(); };
    context.setPreSavedLedConfig = [this](const TLEDCONFIG& light) { FPreSavedLedConfig = light; };
    context.dialogs = m_services.profileFileDialogs;
    context.programFolder = m_services.programFolder;
    context.profileFolder = [this] { return FProfilePath; };
    context.window = this;

    ProfileControls::Buttons buttons;
    for (std::size_t p = 0; p < buttons.profiles.size(); ++p)
        buttons.profiles[p] = m_profileButtons[p];
    for (std::size_t g = 0; g < buttons.modes.size(); ++g)
        buttons.modes[g] = m_modeButtons[g];
    buttons.preset = m_preset;
    buttons.resetAll = m_resetAll;
    m_profileControls = new ProfileControls(std::move(context), buttons, this);

    // The light previews write the mouse too: no click on them while a sequence runs.
    for (const char* name : {"C1", "C2", "C3", "C4", "C5", "C6", "BSBTNRESTORELIGHT"})
        if (auto* control = m_advanced->findChild<QWidget*>(QLatin1String(name)))
            m_gate->addControl(control);
}

} // namespace k4812
