#pragma once
// The profile and mode controls of the main window: "PROFILE1" ... "PROFILE5",
// "Mode 1" / "Mode 2", "Reset All" and the "PRESET" menu (three preset
// profiles, "Load from file", "Save to file"). The switches are the core's
// sequences (ProfileSwitch.h) run the window's way; the profile files go
// through ProfileFileActions.h. The window refreshes its pages when the
// current profile changes; these controls add nothing of their own to what
// is stored. An action whose storing fails changes nothing: the profile
// manager puts its memory back, and the buttons show the old selection.

#include "app/pages/ProfileFileDialogs.h"
#include "wire/HidData.h"
#include "sequences/MainWindowState.h"
#include "sequences/SequenceHost.h"
#include "profiles/ProfileManager.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class QAbstractButton;
class QWidget;

namespace k4812 {

class TuiMenuEx;

class ProfileControls final : public QObject {
    Q_OBJECT
public:
    struct Context {
        TDM* dm = nullptr;
        MainWindowState* state = nullptr;
        TuiHIDData* device = nullptr;
        SequenceHost* host = nullptr;
        // Runs a device sequence unless one runs already (then false).
        std::function<bool(const std::function<void()>& sequence)> runDeviceSequence;
        // The message dialog with texts already translated: 1 for OK, 2 for Cancel.
        std::function<int(const QString& title, const QString& text, const QString& second)> showMessage;
        // RebuildMacroMenu and the command registry's set-data run.
        std::function<void()> refreshPages;
        // FPreSavedLedConfig := light.
        std::function<void(const TLEDCONFIG& light)> setPreSavedLedConfig;
        ProfileFileDialogs* dialogs = nullptr;
        // The preset files' folder (the program's) and the dialogs' folder
        // (FProfilePath, which the window sets when it starts).
        QString programFolder;
        std::function<QString()> profileFolder;
        // The window the dialogs and the menu belong to.
        QWidget* window = nullptr;
    };

    struct Buttons {
        std::array<QAbstractButton*, kProfileCount> profiles{};
        std::array<QAbstractButton*, kModeCount> modes{};
        QAbstractButton* preset = nullptr;
        QAbstractButton* resetAll = nullptr;
    };

    // The preset menu's items, in order (identifiers 1 to 6).
    enum PresetItem { ShortGame = 1, RealTimeStrategy, RolePlaying, ReadFromMouse, LoadFromFile, SaveToFile };

    ProfileControls(Context context, Buttons buttons, QObject* parent = nullptr);
    ~ProfileControls() override;

    // The "PRESET" menu (uiMenuEx3).
    TuiMenuEx& presetMenu() { return *m_presetMenu; }

    // What the controls do, also for the window's keyboard and tests.
    void ProfileButtonClick(int profileIndex);
    void ModeButtonClick(int modeIndex);
    void ResetAllClick();
    void PresetItemClick(int item);

private:
    void loadPreset(int n);
    void loadFromFile();
    // The active mode's bank into the working copy; stored with OK or Apply.
    void readFromMouse();
    void saveToFile();
    void afterLoad();
    QString profileFolder() const;
    // Presses the buttons of the current mode and profile, releases the others.
    void showSelection();
    void showProblem(const QString& text, const QString& second);
    // Runs a store where the host runs them (the window: its storage thread).
    void store(const std::function<void()>& work);

    Context m_ctx;
    Buttons m_buttons;
    TuiMenuEx* m_presetMenu = nullptr;
};

} // namespace k4812
