#pragma once
// TK4812CfgMain: the program's only top-level window ("K4812_CONFIG",
// borderless, 850 x 655). It checks that the mouse is present, takes its
// language and skin, fills its pages from the current profile through its
// command registry, starts the companion monitor and waits for the user.
// OK and Apply run the apply sequence; Cancel offers to save; the monitor
// may close it (7036), re-apply the language (7037) or reload the current
// profile (7038). Closing it ends the program.
//
// What the window needs from outside (the clock of its timers, the waits of
// the device sequences, the monitor program, the hot-plug source, its message
// endpoint) is injected through Services, so tests run it without sleeping,
// processes or devices.

#include "app/DeviceActionGate.h"
#include "app/MonitorLauncher.h"
#include "app/pages/PageContext.h"
#include "app/pages/ProfileFileDialogs.h"
#include "wire/EventScheduler.h"
#include "wire/HidData.h"
#include "wire/HidEvent.h"
#include "sequences/MainWindowState.h"
#include "platform/hid/HotplugSource.h"
#include "profiles/SystemMouseParams.h"
#include "records/Records.h"

#include <QString>
#include <QStringList>
#include "ui/commands/CommandSetting.h"
#include "ui/windows/SkinWindow.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace k4812 {

class DeviceSequenceHold;

class AdvancedPage;
class ButtonAssignmentPanel;
class PendingSystemAction;
class ProfileControls;
class BusyIndicator;
class SensitivityPage;
class SequenceHost;
class SkinButton;
class SkinLabel;
class SystemSettingPage;
class TabControl;
class TDM;
class TuiLanguage;
class WindowEndpoint;

class TK4812CfgMain final : public SkinWindow {
    Q_OBJECT
public:
    struct Services {
        // The clock of Timer2 (and of the arrival watcher's start-up events).
        EventScheduler* scheduler = nullptr;           // nullptr: Qt's timers
        // The waits inside device sequences; empty: a nested event loop.
        std::function<void(int ms)> wait;
        MonitorLauncher::Operations monitor = MonitorLauncher::systemOperations();
        // The hot-plug source; nullptr: the udev monitor.
        std::function<std::unique_ptr<HotplugSource>()> hotplugSource;
        // Whether to own the window class's message endpoint (off for screenshots).
        bool receiveMessages = true;
        // Whether FormCreate ends with StartMonitor (off for screenshots).
        bool startMonitor = true;
        // Whether what start-up repaired is shown once the window is up (off for screenshots).
        bool reportStartupRepairs = true;
        // Whether a first start reads the mouse and offers to keep what it
        // holds. The program turns it on; off, a start sends the mouse only
        // what the start itself needs (window tests count those exchanges).
        bool offerMouseSettings = false;
        // Where config.ini, ui.local and the monitor program live; empty: the program folder.
        QString programFolder;
        // The message dialog (title, text, second line) -> 1 OK, 2 Cancel;
        // empty: the toolkit's ShowMessageDialog.
        std::function<int(const QString&, const QString&, const QString&)> messageDialog;
        // The help dialog; empty: the toolkit's ShowHelpDialog.
        std::function<void(TK4812CfgMain&)> helpDialog;
        // The file dialogs of "Load from file" and "Save to file"; nullptr: the desktop's.
        ProfileFileDialogs* profileFileDialogs = nullptr;
        // The desktop's pointer settings (System Setting page, its pending
        // action and the apply); empty: the back end K4812_POINTER_SETTINGS selects.
        std::function<std::shared_ptr<PointerSettings>()> pointerSettings;
    };

    // The size of the window and of its regions.
    static constexpr int kWidth = 850;
    static constexpr int kHeight = 655;
    static constexpr int kTopBarHeight = 80;
    static constexpr int kLeftWidth = 500;
    static constexpr int kBottomBarHeight = 53;
    // Timer2: how long after a successful OK the window closes.
    static constexpr int kCloseAfterOkMs = 500;

    TK4812CfgMain(TDM& dm, TuiHIDData& hid, Services services, QWidget* parent = nullptr);
    TK4812CfgMain(TDM& dm, TuiHIDData& hid) : TK4812CfgMain(dm, hid, Services{}) {}
    ~TK4812CfgMain() override;

    // The start-up sequence. False when the mouse is absent: the dialog has
    // been shown and the program must end without showing the window.
    bool FormCreate();
    void SetupLanguage();
    void LoadSkin();
    void BindControls();
    void StartMonitor();
    // The texts of the nine button-set entries (command "SetButton").
    void RefreshButtonTexts();
    // Presses the mode button of the active mode and the profile button of
    // the current profile, releases the others (command "SetProfileBtn").
    void RefreshProfileButtons();
    // Fills every page from the current profile through the command registry.
    void FillPages();

    // Frame buttons and events.
    void BSBTNOKClick();
    void BSBTNAPPLYClick();
    void BSBTNCANCELClick();
    void BSBTNCLOSEClick();
    void BSBTNMINClick();
    void BSBTNHELPClick();
    void Timer2Timer();
    void uiHIDEvent1DeviceArrival();

    // The window message handler (7036, 7037, 7038); its answer is 0.
    std::int32_t handleWindowMessage(std::int32_t message);

    // --- State the pages share -------------------------------------------
    TDM& dm() { return m_dm; }
    TuiHIDData& hid() { return m_hid; }
    MainWindowState& state() { return m_state; }
    DeviceActionGate& deviceGate() { return *m_gate; }
    TuiLanguage& uiLanguage1() { return *m_language; }
    TuiCommandSetting& uiCommandSetting1() { return m_commands; }
    // The names of the page-filling commands, in the order FillPages runs them.
    QStringList commandNames();
    // The host the window's device sequences run with.
    SequenceHost& sequenceHost();

    bool FInitlizing = false;
    int FCurrentMacro = 0;
    QString FProfilePath;
    TLEDCONFIG FPreSavedLedConfig{};
    std::array<SkinButton*, 10> FConfigButtonSet{};
    std::array<SkinButton*, 10> FWheelConfigButtonSet{};

    SensitivityPage* sensitivityPage() const { return m_sensitivity; }
    AdvancedPage* advancedPage() const { return m_advanced; }
    SystemSettingPage* systemSettingPage() const { return m_system; }
    // The button column: its menus, choices and dialogs.
    ButtonAssignmentPanel& buttonAssignment() { return *m_buttonAssignment; }
    // The profile and mode buttons, "PRESET" with its menu and "Reset All".
    ProfileControls* profileControls() const { return m_profileControls; }
    // TimerDoAction: the System Setting page's pending desktop action.
    PendingSystemAction& timerDoAction() { return *m_timerDoAction; }

    // Whether Timer2 is counting (a successful OK waits for it to close).
    bool closingAfterOk() const { return m_closingAfterOk; }

    // Runs a store of the profiles or the settings database on the storage
    // thread and waits for it with the window repainting and its input held
    // (StorageInputHold); throws what the store threw. Monitor messages, the
    // pending desktop action and a close that arrive meanwhile wait until
    // the store has ended (MainWindowStores.cpp).
    void runStore(const std::function<void()>& store);
    // Whether a store runs now.
    bool storing() const { return m_storesRunning > 0; }

signals:
    // The apply sequence ended (true: the mouse took every setting).
    void applied(bool ok);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void buildCommands();
    void setTabOrderChain();
    enum class ApplyOutcome {
        Applied,    // the mouse took every setting
        NotApplied, // stored, but the mouse is absent or failed a command
        NotStored,  // the profiles could not be stored; nothing was sent
        Refused,    // another device sequence runs
    };
    // Runs the apply sequence with the gate held and shows what failed.
    ApplyOutcome runApply();
    // The message dialog of the toolkit; 1 for OK, 2 for Cancel.
    int messageDialog(const QString& title, const QString& text, const QString& secondLine = QString());
    // What the profile manager and the language component repaired or
    // could not use at start; the list is then shown by showStartupRepairs
    // once the window is up (MainWindowStartupRepairs.cpp).
    void collectStartupRepairs();
    void showStartupRepairs();
    // At the first start, a mouse set up elsewhere: its memory is read while
    // the window starts, and once it is up the user is asked whether the
    // mouse's two banks become the profiles of Mode 1 and Mode 2
    // (MainWindowMouseAdoption.cpp).
    void checkConfiguredMouse();
    void askToAdoptMouse();
    // Closes once no device sequence runs.
    void closeWhenIdle();
    // After the stores' mode or profile changed behind the window (7038):
    // what follows the current profile follows it, and the pages and the
    // profile and mode buttons show it.
    void takeStoredSelection();
    // Runs `action` now, or once the running store has ended when one runs.
    void whenNotStoring(std::function<void()> action);
    // The last store ended: what waited for it runs from the event loop.
    void releaseAfterStores();
    void retranslateWindow();
    // What the pages need from the window (MainWindowPages.cpp); makes TimerDoAction.
    PageContext pageContext();
    // The profile strip's, mode buttons' and "Reset All"'s behaviour, once the host exists.
    void buildProfileControls();
    // Runs `sequence` holding the device gate; false (and nothing runs) while another runs.
    bool runDeviceSequence(const std::function<void()>& sequence);
    // Locks the mouse against other programs' sequences for one of ours,
    // waiting with the event loop running; nullptr after telling the user
    // which program holds it.
    std::unique_ptr<DeviceSequenceHold> lockMouse();
    // Ends the sequence (the mouse's state stored on the storage thread, then
    // the lock let go); a state that could not be stored is shown.
    void endMouseSequence(DeviceSequenceHold& hold);
    // The apply's worker has set the pointer settings: those the desktop did
    // not take are shown, once no device sequence runs (MainWindowSaves.cpp).
    void pointerSettingsDone(const SystemMouseParamsResult& result);
    void showPointerSettingsNotice();

    TDM& m_dm;
    TuiHIDData& m_hid;
    Services m_services;
    MainWindowState m_state;

    DeviceActionGate* m_gate = nullptr;
    std::unique_ptr<TuiLanguage> m_language;
    TuiCommandSetting m_commands;
    TuiHIDEvent* m_hidEvent = nullptr;
    WindowEndpoint* m_endpoint = nullptr;
    std::unique_ptr<SequenceHost> m_host;
    std::shared_ptr<PointerSettings> m_pointerSettings;
    // The pointer settings notice waiting for the running sequence to end (text, reasons).
    QString m_pointerNotice;
    QString m_pointerNoticeReasons;

    SkinButton* m_help = nullptr;
    SkinButton* m_min = nullptr;
    SkinButton* m_close = nullptr;
    SkinLabel* m_caption = nullptr;
    std::array<SkinButton*, 2> m_modeButtons{};
    SkinButton* m_preset = nullptr;
    std::array<SkinButton*, 5> m_profileButtons{};
    TabControl* m_tabs = nullptr;
    SensitivityPage* m_sensitivity = nullptr;
    AdvancedPage* m_advanced = nullptr;
    SystemSettingPage* m_system = nullptr;
    ButtonAssignmentPanel* m_buttonAssignment = nullptr;
    SkinButton* m_ok = nullptr;
    SkinButton* m_apply = nullptr;
    SkinButton* m_cancel = nullptr;
    SkinButton* m_resetAll = nullptr;
    BusyIndicator* m_indicator = nullptr;
    std::unique_ptr<PendingSystemAction> m_timerDoAction;
    std::unique_ptr<ProfileFileDialogs> m_desktopFileDialogs;
    ProfileControls* m_profileControls = nullptr;

    QStringList m_startupRepairs;
    std::vector<std::uint8_t> m_configuredMouse; // the memory of a mouse set up elsewhere, until asked
    int m_storesRunning = 0;
    std::vector<std::function<void()>> m_afterStores;
    bool m_closeRequested = false;
    bool m_firstUsesPrepared = false; // dialog images, busy cursor, hook library and menus, after the first paint
    bool m_closingAfterOk = false;
};

} // namespace k4812
