#include "app/dialogs/KeyRecordingDialog.h"

#include "app/dialogs/RecordingHook.h"
#include "i18n/Translation.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextBox.h"

#include "uiHook/ScopedKeyboardGrab.h"

#include <QEvent>

namespace k4812 {

KeyRecordingDialog::KeyRecordingDialog(const char* objectName, const char* title, const char* hint,
                                       const char* boxName, TuiHook::Environment hook, QWidget* parent)
    : KeyDialogFrame(objectName, title, parent)
{
    addLabel("LabelHint", hint, QRect(30, 58, kWidth - 60, 28))->setWordWrap(true);
    m_box = new TextBox(this);
    m_box->setObjectName(QString::fromLatin1(boxName));
    m_box->setReadOnly(true);
    m_box->setKeysEditText(false);
    m_box->setGeometry(30, 96, kWidth - 60, 32);
    m_box->setAccessibleName(translate(QString::fromUtf8(hint)));

    m_hook = std::make_unique<TuiHook>(recordingHookEnvironment(std::move(hook), parent));
}

// A dialog destroyed while it records: its TuiHook stops the recording and
// the grab ends with it. A key event the library still hands over then
// finds no handler of a half-destroyed dialog.
KeyRecordingDialog::~KeyRecordingDialog()
{
    m_grab.reset();
    m_hook->OnRecordKeyboardSingleKey = nullptr;
    m_hook->OnRecordKeyboardComboKey = nullptr;
}

void KeyRecordingDialog::showEvent(QShowEvent* event)
{
    KeyDialogFrame::showEvent(event);
    if (m_recording || !m_hook->DLLLoaded())
        return;
    m_recording = true;
    m_pressedHere.clear();
    startRecording();
    // Keys typed into the dialog stop here, after the hook has seen them.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    if (windowHandle() != nullptr)
        m_grab = std::make_unique<ScopedKeyboardGrab>(windowHandle());
}

void KeyRecordingDialog::done(int result)
{
    if (m_recording) {
        m_recording = false;
        m_grab.reset();
        stopRecording();
        removeEventFilter(this);
        for (QWidget* child : findChildren<QWidget*>())
            child->removeEventFilter(this);
    }
    KeyDialogFrame::done(result);
}

bool KeyRecordingDialog::keySeenHere(int key, int extended, int state)
{
    if (state == 1) {
        m_pressedHere.emplace(key, extended);
        return true;
    }
    return m_pressedHere.erase({key, extended}) > 0;
}

bool KeyRecordingDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (m_recording && isKeyEvent(*event))
        return true;
    return KeyDialogFrame::eventFilter(watched, event);
}

} // namespace k4812
