#pragma once
// The base of the single-key and combination dialogs: a key dialog that
// records the keyboard through its own TuiHook from being shown until it
// closes, whichever way it closes. While it records, its window takes the
// keyboard where the display server allows, and the keys do not work the
// dialog's own controls (Escape does not cancel, Space does not press the
// focused button): every key is there to be recorded, so OK and CANCEL are
// for the mouse. A key released here that went down before the dialog
// opened is not recorded. Without the hook library nothing is recorded and
// the keys work the dialog as usual.

#include "app/dialogs/KeyDialogFrame.h"
#include "macros/TuiHook.h"

#include <memory>
#include <set>
#include <utility>

namespace k4812 {

class ScopedKeyboardGrab;
class TextBox;

class KeyRecordingDialog : public KeyDialogFrame {
    Q_OBJECT
public:
    KeyRecordingDialog(const char* objectName, const char* title, const char* hint, const char* boxName,
                       TuiHook::Environment hook, QWidget* parent);
    ~KeyRecordingDialog() override;

    TuiHook& hook() { return *m_hook; }
    // The read-only box that shows the recorded key.
    TextBox* keyBox() const { return m_box; }
    bool isRecording() const { return m_recording; }

    void done(int result) override;

protected:
    // Notes a recorded key event (state 1 press, 0 release) and says whether
    // it belongs to this dialog: a release counts only when the dialog saw
    // its press. The Enter that chose the dialog in a menu goes down there
    // and comes up here, and must not be taken for a key the user gave.
    bool keySeenHere(int key, int extended, int state);

    virtual void startRecording() = 0;
    virtual void stopRecording() = 0;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<TuiHook> m_hook;
    TextBox* m_box = nullptr;
    std::unique_ptr<ScopedKeyboardGrab> m_grab;
    std::set<std::pair<int, int>> m_pressedHere;   // (virtual key, extended) pressed while recording
    bool m_recording = false;
};

} // namespace k4812
