// The window's buttons that store the profiles: OK and Apply (the apply
// sequence, which stores before it writes the mouse) and Cancel with its
// save prompt. A store that fails keeps the window open with the edits, so
// that the user can retry or save elsewhere.

#include "app/MainWindow.h"

#include "app/WindowSequenceHost.h"

#include "i18n/Translation.h"
#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"
#include "profiles/SavePrompt.h"
#include "sequences/DeviceLocking.h"
#include "sequences/ApplySequence.h"
#include "ui/controls/SkinButton.h"

#include <utility>

namespace k4812 {

TK4812CfgMain::ApplyOutcome TK4812CfgMain::runApply()
{
    DeviceActionGate::Run run = m_gate->begin();
    if (!run)
        return ApplyOutcome::Refused;
    // Another program's exchange with the mouse is waited for; when it goes
    // on too long, the holder is named and nothing is stored or sent.
    const std::unique_ptr<DeviceSequenceHold> lock = lockMouse();
    if (!lock) {
        emit applied(false);
        return ApplyOutcome::Refused;
    }
    ApplyOutcome outcome = ApplyOutcome::NotApplied;
    try {
        if (ApplySettings(m_dm, m_hid, m_state, *m_host))
            outcome = ApplyOutcome::Applied;
    } catch (const StorageError& error) {
        // Nothing was sent: the profiles could not be stored first. The
        // edits stay in memory, still marked unsaved.
        outcome = ApplyOutcome::NotStored;
        m_state.SettingsChanged = true;
        m_host->showProgress(false);
        messageDialog(translated(kApplyWarningTitle), error.message());
    }
    endMouseSequence(*lock);
    emit applied(outcome == ApplyOutcome::Applied);
    return outcome;
}

void TK4812CfgMain::BSBTNOKClick()
{
    if (m_gate->busy() || m_closingAfterOk)
        return;
    m_ok->setEnabled(false);
    const ApplyOutcome outcome = m_state.SettingsChanged ? runApply() : ApplyOutcome::NotApplied;
    if (outcome == ApplyOutcome::Applied) {
        m_closingAfterOk = true;
        EventScheduler& scheduler = m_services.scheduler ? *m_services.scheduler : defaultEventScheduler();
        scheduler.runLater(this, kCloseAfterOkMs, [this] { Timer2Timer(); });
    } else if (outcome == ApplyOutcome::NotApplied) {
        // Nothing to apply, or the mouse did not take it: the profiles are stored.
        close();
    }
    m_ok->setEnabled(true);
}

void TK4812CfgMain::Timer2Timer()
{
    m_closingAfterOk = false;
    close();
}

void TK4812CfgMain::BSBTNAPPLYClick()
{
    if (m_gate->busy())
        return;
    m_apply->setEnabled(false);
    runApply();
    m_apply->setEnabled(true);
}

void TK4812CfgMain::BSBTNCANCELClick()
{
    if (m_gate->busy())
        return;
    if (m_state.SettingsChanged && messageDialog(translated(kSavePromptTitle), translated(kSavePromptText)) == 1) {
        SavePromptResult result;
        runStore([&] { result = StoreOnSavePrompt(m_dm); });
        if (!result.saved()) {
            messageDialog(translated(kSavePromptTitle), translated(kSavePromptFailedText),
                          result.failures.join(QLatin1Char('\n')));
            return;
        }
    }
    close();
}

void TK4812CfgMain::pointerSettingsDone(const SystemMouseParamsResult& result)
{
    m_pointerNotice = pointerSettingsNotTakenText(result);
    m_pointerNoticeReasons = pointerSettingsNotTakenReasons(result);
    // Never a dialog in the middle of a sequence: the gate's end shows it.
    if (!m_pointerNotice.isEmpty() && !m_gate->busy())
        showPointerSettingsNotice();
}

void TK4812CfgMain::showPointerSettingsNotice()
{
    const QString text = std::exchange(m_pointerNotice, QString());
    const QString reasons = std::exchange(m_pointerNoticeReasons, QString());
    messageDialog(translated(kApplyWarningTitle), text, reasons);
}

} // namespace k4812
