// The macro manager's recording: starting and stopping the recorder, the rows
// shown while it runs, and the recorded actions taken into the macro.

#include "app/macro/TFrmMacro.h"

#include "uiHook/ScopedKeyboardGrab.h"
#include "app/macro/ActionRows.h"
#include "app/macro/MacroRowDelegate.h"
#include "app/macro/RecordingConversion.h"
#include "i18n/Translation.h"
#include "macros/MacroName.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/ListBox.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextSource.h"
#include "ui/menu/TuiMenuEx.h"
#include "ui/skin/ImageDataBase.h"
#include "ui/skin/Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace k4812 {

// --- Recording

RecordingOptions TFrmMacro::recordingOptions() const
{
    RecordingOptions options;
    options.recordDelays = OptionRecordDelay->isChecked();
    options.insertDefaultDelay = OptionDefaultDelay->isChecked();
    options.defaultDelay = NumBoxDefaultDelay->value();
    options.loop = OptionLoop->isChecked();
    options.loopCount = NumBoxLoop->value();
    return options;
}

void TFrmMacro::BTNSTARTRECORDClick()
{
    startRecording(LiveRecordingRows::Mode::Replace);
}

void TFrmMacro::startRecording(LiveRecordingRows::Mode mode)
{
    if (m_recording)
        return;
    if (ListBoxMacro->count() == 0 || ListBoxMacro->currentRow() < 0) {
        BTNSTARTRECORD->setChecked(false);
        return;
    }
    LabelReachedMax->hide();
    if (mode == LiveRecordingRows::Mode::Replace) {
        m_filling = true;
        ListBoxAction->clear();
        m_filling = false;
    } else {
        m_live.selectRow(ListBoxAction->currentRow());
    }
    m_live.start(mode, ListBoxAction->count());
    m_recording = true;
    m_hook->RecordKeyboardMacroKeyEx();
    setRecordingControls(true);
    if (windowHandle() != nullptr)
        m_grab = std::make_unique<ScopedKeyboardGrab>(windowHandle());
}

void TFrmMacro::setRecordingControls(bool recording)
{
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        button->setEnabled(!recording);
    ListBoxMacro->setEnabled(!recording);
    ListBoxAction->setEnabled(!recording);
    BTNSTARTRECORD->setChecked(recording);
    BTNSTOPRECORD->setChecked(recording);
    BTNSTOPRECORD->setEnabled(recording);
    if (!recording) {
        BTNDELETE->setEnabled(ListBoxMacro->currentRow() >= 0);
        NumBoxDefaultDelay->setEnabled(OptionDefaultDelay->isChecked());
        NumBoxLoop->setEnabled(OptionLoop->isChecked());
    } else {
        NumBoxDefaultDelay->setEnabled(false);
        NumBoxLoop->setEnabled(false);
    }
}

void TFrmMacro::onMacroKey(int state, std::uint32_t totalTime, const QString& keyName)
{
    if (!m_recording)
        return;
    LabelReachedMax->hide();
    const LiveRecordingRows::Step step = m_live.keyEvent(state, totalTime, keyName, recordingOptions());
    if (step.reachedMax) {
        LabelReachedMax->show();
        return;
    }
    m_filling = true;
    for (const auto& [position, row] : step.inserts) {
        ListBoxAction->insertItem(position, makeActionItem(row));
        ListBoxAction->scrollToItem(ListBoxAction->item(position));
    }
    m_filling = false;
    LabelTotalActions->setText(QString::number(ListBoxAction->count()));
}

void TFrmMacro::BTNSTOPRECORDClick()
{
    if (!m_recording)
        return;
    m_live.stop();
    m_grab.reset();
    // The conversion runs in the stop event, while the mode is still known.
    m_hook->StopRecordKeyboardMacroKeyEx();
    m_recording = false;
    setRecordingControls(false);
    ShowMacroActions();
}

void TFrmMacro::onRecordingStopped(const std::vector<TMACROKEYHOOK>& recording)
{
    TuiMacroClass& macros = m_session.macros();
    const TMACROKEYINFO* selected = macros.CurrentMacroKeyInfo();
    TuiActionsClass* editor = macros.CurrentMacroAction();
    if (selected == nullptr || editor == nullptr)
        return;
    const TMACROKEYINFO record = convertRecording(*selected, recording, recordingOptions());
    QString error;
    if (m_live.mode() == LiveRecordingRows::Mode::Replace)
        editor->SetMacroKeyInfo(record, error);
    else
        macros.InsertMacroAfter(record, editor->ActionIndex(), error);
    if (TuiActionsClass* current = macros.CurrentMacroAction())
        current->CheckErrors();
    setErrorIcons();
}

} // namespace k4812
