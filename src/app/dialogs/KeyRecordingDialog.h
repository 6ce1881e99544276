#pragma once
// The base of the single-key and combination dialogs: a key dialog that
// records the keyboard through its own TuiHook from being shown until it
// closes, whichever way it closes. While it records, its window takes the
// keyboard where the display server allows, and the keys do not work the
// dialog's own controls (Escape does not cancel, Space does not press the
// focused button): every key is there to be recorded, so OK and CANCEL are
// for the mouse. Without the hook library nothing is recorded and the keys
// work the dialog as usual.

#include "app/dialogs/KeyDialogFrame.h"
#include "macros/TuiHook.h"

#include <functional>
#include <memory>

namespace k4812 {

class ScopedKeyboardGrab;
class TextBox;

class KeyRecordingDialog : public KeyDialogFrame {
    Q_OBJECT
public:
    // Shows a message (title, text; both translated); 1 for OK.
    using MessageSink = std::function<int(const QString&, const QString&)>;

    KeyRecordingDialog(const char* objectName, const char* title, const char* hint, const char* boxName,
                       TuiHook::Environment hook, MessageSink message, QWidget* parent);
    ~KeyRecordingDialog() override;

    TuiHook& hook() { return *m_hook; }
    // The read-only box that shows the recorded key.
    TextBox* keyBox() const { return m_box; }
    bool isRecording() const { return m_recording; }

    void done(int result) override;

protected:
    virtual void startRecording() = 0;
    virtual void stopRecording() = 0;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<TuiHook> m_hook;
    TextBox* m_box = nullptr;
    std::unique_ptr<ScopedKeyboardGrab> m_grab;
    bool m_recording = false;
};

} // namespace k4812
