// The macro manager window: its questions, and leaving it with or without the
// edited list.

#include "app/macro/TFrmMacro.h"

#include "uiHook/ScopedKeyboardGrab.h"
#include "i18n/Translation.h"
#include "ui/controls/ListBox.h"

#include <QKeyEvent>

namespace k4812 {

TFrmMacro::~TFrmMacro()
{
    m_grab.reset();
    // The recording's stop event must not reach a half-destroyed window.
    m_hook->OnStopRecordKeyboardMacroKey = nullptr;
    m_hook->OnRecordKeyboardMacroKeyEx = nullptr;
}

int TFrmMacro::ask(const char* title, const char* text)
{
    if (!m_environment.message)
        return kResultCancel;
    return m_environment.message(translate(QString::fromUtf8(title)), translate(QString::fromUtf8(text)), QString());
}

// --- Leaving

void TFrmMacro::BTNOKClick()
{
    if (m_recording)
        BTNSTOPRECORDClick();
    TuiMacroClass& macros = m_session.macros();
    if (ListBoxMacro->currentRow() >= 0 && ListBoxMacro->currentRow() != macros.MacroListIndex())
        macros.SetMacroListIndex(ListBoxMacro->currentRow());
    QString error;
    if (!m_session.commit(m_callerList, m_callerIndex, error)) {
        // Nothing went back to the caller; the edits stay here to try again or cancel.
        if (m_environment.message)
            m_environment.message(translate(QStringLiteral("Error")), error, QString());
        return;
    }
    done(kResultOk);
}

void TFrmMacro::BTNCANCELClick()
{
    if (m_recording)
        BTNSTOPRECORDClick();
    if (ask("Warning", "Do you want to leave macro manager without saving?") == kResultOk)
        done(kResultCancel);
}

void TFrmMacro::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        // Escape leaves as CANCEL does, with its question; while recording
        // it does nothing (only the stop button ends a recording).
        event->accept();
        if (!m_recording)
            BTNCANCELClick();
        return;
    }
    SkinDialog::keyPressEvent(event);
}

void TFrmMacro::reject()
{
    // The window system's close: as the close button, but never during a recording.
    if (m_recording)
        return;
    SkinDialog::reject();
}

void TFrmMacro::done(int result)
{
    if (m_recording) {
        m_live.stop();
        m_grab.reset();
        m_hook->StopRecordKeyboardMacroKeyEx();
        m_recording = false;
        setRecordingControls(false);
    }
    SkinDialog::done(result);
}

} // namespace k4812
