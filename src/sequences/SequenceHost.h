#pragma once
// What a device sequence that the window starts (the apply sequence, the
// profile and mode buttons) needs from the program around it, as injected
// operations: the window keeps repainting while it waits and shows its
// progress indicator and dialogs; the command line sleeps and prints; tests
// record everything and never sleep. Every program runs the same sequences.
//
// runStorage(store) runs a store of the profiles or settings database and
// returns when it has ended, throwing what it threw: the command line and the
// tests run it at once; the window runs it on its storage thread and repaints
// meanwhile. A sequence calls it for every store whose result decides what
// is sent next, so nothing reaches the mouse before the store it follows.
//
// pause(ms) is a pause in the sense of the sequences: first let the window
// process its pending messages, then wait. The monitor operations reach the
// companion monitor's window ("TK4812MonMain") through the window-messages
// layer unless a host replaces them.

#include "sequences/ApplySteps.h"
#include "sequences/Pauser.h"
#include "platform/desktop/PointerSettings.h"
#include "platform/desktop/WindowMessages.h"
#include "profiles/SystemMouseParams.h"
#include "records/Records.h"

#include <QString>

#include <functional>
#include <memory>

namespace k4812 {

class SequenceHost : public Pauser {
public:
    // Runs `store` (profile files, settings database) and waits for it.
    virtual void runStorage(const std::function<void()>& store) { store(); }
    // Lets the window handle its pending messages without waiting.
    virtual void processMessages() {}
    // Shows or hides the apply progress indicator (APPLYAniIndicator).
    virtual void showProgress(bool /*visible*/) {}
    // A step of the apply sequence has been sent, with its outcome.
    virtual void applyStepDone(const ApplyStepResult& /*result*/) {}
    // The warning dialog; both texts are already translated.
    virtual void showWarning(const QString& /*title*/, const QString& /*text*/) {}
    // Something the user should know that is not a failure (the mouse's active
    // CPI level could not be read back); the text is already translated.
    virtual void showNote(const QString& /*text*/) {}
    // FPreSavedLedConfig := light: the light "Restore light" puts back.
    virtual void setPreSavedLedConfig(const TLEDCONFIG& /*light*/) {}
    // The current profile changed (profile or mode button): the window
    // rebuilds its macro menu and refills its pages here.
    virtual void currentProfileChanged() {}

    // SendMessage / PostMessage to the monitor window; NoWindow when there is none.
    virtual SendResult sendToMonitor(const WindowMessage& message);
    virtual SendResult postToMonitor(const WindowMessage& message);

    // The desktop's pointer settings, for the apply sequence's worker:
    // the back end that K4812_POINTER_SETTINGS selects.
    virtual std::shared_ptr<PointerSettings> pointerSettings();
    // Where the apply's worker tells what became of the pointer settings,
    // on its own thread, possibly after the sequence and this host are gone;
    // empty (the default): nobody is told, the back end's log says it.
    virtual SystemMouseParamsReport pointerSettingsReport() { return {}; }
};

} // namespace k4812
