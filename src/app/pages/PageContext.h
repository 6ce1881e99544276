#pragma once
// What the pages of the main window's tab control need from the window: the
// profile manager whose working copy they edit, the window state they share
// (SettingsChanged, SystemMouseParams, the activation bytes), whether the
// window is still filling its controls (FInitlizing), the pending desktop
// action and the desktop it reaches, the light for "Restore light", the mouse and the way the window
// runs a device sequence, and the skin images.

#include "wire/HidData.h"
#include "sequences/MainWindowState.h"
#include "sequences/SequenceHost.h"
#include "profiles/PendingSystemAction.h"
#include "profiles/ProfileManager.h"
#include "ui/skin/SkinImage.h"

#include <QString>

#include <functional>
#include <memory>

namespace k4812 {

class PointerSettings;

struct PageContext {
    TDM* dm = nullptr;
    MainWindowState* state = nullptr;
    // FInitlizing: while true, every change handler of the pages returns at once.
    std::function<bool()> initializing;
    // TimerDoAction: the one pending desktop action and its name.
    PendingSystemAction* pendingAction = nullptr;
    // The desktop's pointer-settings back end the pending action applies
    // through; the System Setting page shows what it cannot take as not
    // applicable. Null: nothing is marked.
    std::shared_ptr<PointerSettings> pointerSettings;
    // FPreSavedLedConfig: the light "Restore light" puts back.
    std::function<TLEDCONFIG()> preSavedLedConfig;
    // The mouse and the host that paces a sequence on it (asked for when a
    // sequence starts: the window makes its host after its pages).
    TuiHIDData* device = nullptr;
    std::function<SequenceHost*()> host;
    // Runs a device sequence unless one runs already (then nothing happens
    // and the answer is false): the window's busy rule.
    std::function<bool(const std::function<void()>& sequence)> runDeviceSequence;
    // A skin image by file name ("c1.png"); an empty image when the skin lacks it.
    std::function<SkinImage(const QString& name)> image;
};

} // namespace k4812
