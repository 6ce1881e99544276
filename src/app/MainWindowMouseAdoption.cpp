// The first start with a mouse that was set up elsewhere (on another
// computer, or with another program): rather than overwrite it with the
// factory profiles at the first OK, the window offers to take over what the
// mouse holds. Asked once: either answer stores the profile and mode
// settings, so the next start is not a first start.

#include "app/MainWindow.h"

#include "i18n/Translation.h"
#include "platform/storage/StorageError.h"
#include "profiles/BankDecoding.h"
#include "profiles/ProfileManager.h"
#include "sequences/MainWindowState.h"
#include "sequences/ApplySequence.h"
#include "sequences/MouseAdoption.h"
#include "sequences/SequenceHost.h"

#include <QDebug>

#include <utility>

namespace k4812 {

namespace {

constexpr const char* kAdoptTitle = "Mouse settings";
constexpr const char* kAdoptQuestion = "The mouse already holds settings. Use them for Mode 1 and Mode 2?";
constexpr const char* kAdoptFailed = "The mouse's settings could not be taken over.";

} // namespace

void TK4812CfgMain::checkConfiguredMouse()
{
    if (!m_services.offerMouseSettings || !m_dm.FirstStart())
        return;
    std::vector<std::uint8_t> memory;
    QString problem;
    if (!runDeviceSequence([&] { problem = ReadWholeMouse(m_hid, *m_host, memory); }))
        return;
    if (!problem.isEmpty()) {
        // Not worth a dialog at start: the specified first start goes on.
        qWarning().noquote() << "k4812-config: the mouse's settings were not read:" << problem;
        return;
    }
    if (!MemoryHoldsFactorySettings(memory))
        m_configuredMouse = std::move(memory);
}

void TK4812CfgMain::askToAdoptMouse()
{
    const std::vector<std::uint8_t> memory = std::exchange(m_configuredMouse, {});
    if (memory.empty())
        return;
    const bool adopt = messageDialog(translated(kAdoptTitle), translated(kAdoptQuestion)) == 1;
    QString problem;
    try {
        runStore([&] {
            if (adopt)
                problem = AdoptMouseBanks(m_dm, memory);
            // Either answer is remembered: the question comes once.
            m_dm.SaveProfileGroupSettingInfoToRegistry();
        });
    } catch (const StorageError& error) {
        problem = error.message();
    }
    if (!problem.isEmpty()) {
        messageDialog(translated(kApplyWarningTitle), translated(kAdoptFailed), problem);
        return;
    }
    if (!adopt)
        return;
    TMOUSEPROFILEINFO& current = m_dm.FCurrentProfileInfo();
    m_state.SystemMouseParams = SystemMouseParamsOf(current);
    FillPages();
    m_state.SettingsChanged = false;
    FPreSavedLedConfig = current.ConfigInfo.LEDConfig;
}

} // namespace k4812
