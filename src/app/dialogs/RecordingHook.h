#pragma once
// The keyboard capture of the recording windows (the single-key and
// combination dialogs and the macro manager), set up alike in one place: the
// hook library comes from the program folder (K4812_PROGRAM_DIR included),
// and a library that cannot be loaded is reported in the error box
// ("Error", the error icon, OK only) with the translated texts. Members the
// caller has set already (tests) are kept.

#include "macros/TuiHook.h"

class QEvent;
class QWidget;

namespace k4812 {

TuiHook::Environment recordingHookEnvironment(TuiHook::Environment hook, QWidget* owner);

// Whether `event` is a key event (press, release or shortcut check): while a
// recording runs, every key is there to be recorded and never works the
// window's controls.
bool isKeyEvent(const QEvent& event);

} // namespace k4812
