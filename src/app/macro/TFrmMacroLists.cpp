// The macro manager's two lists: choosing a macro, showing and selecting its
// actions, New and Delete, the action tools menu and the inline delay editor.

#include "app/macro/TFrmMacro.h"

#include "app/dialogs/RecordingHook.h"
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

// --- The macro list

void TFrmMacro::FillMacroList()
{
    TuiMacroClass& macros = m_session.macros();
    m_filling = true;
    ListBoxMacro->clear();
    ListBoxMacro->setEnabled(false);
    m_filling = false;
    if (macros.IsEmpty()) {
        ListBoxAction->clear();
        BTNDELETE->setEnabled(false);
        showTotals();
        return;
    }
    ListBoxMacro->setEnabled(true);
    m_filling = true;
    for (int i = 0; i < macros.MacroListCount(); ++i)
        ListBoxMacro->addItem(macroNameOf(*macros.MacroAt(i)));
    m_filling = false;
    ListBoxMacro->setFocus();
    const int selected = macros.MacroListIndex();
    ListBoxMacro->setCurrentRow(selected);   // the selection handling below runs
    if (selected >= 0 && macros.CurrentMacroAction() == nullptr)
        macroRowChanged(selected);
    setErrorIcons();
}

void TFrmMacro::macroRowChanged(int row)
{
    if (m_filling)
        return;
    if (row < 0) {
        BTNDELETE->setEnabled(false);
        return;
    }
    BTNDELETE->setEnabled(true);
    m_session.macros().SetMacroListIndex(row);
    ShowMacroActions();
}

void TFrmMacro::setErrorIcons()
{
    for (int row = 0; row < ListBoxMacro->count(); ++row) {
        const TMACROKEYINFO* macro = m_session.macros().MacroAt(row);
        ListBoxMacro->item(row)->setData(kRowErrorIconRole, macro != nullptr && macro->HaveErrors >= 1);
    }
}

// --- The action list

void TFrmMacro::ShowMacroActions()
{
    TuiMacroClass& macros = m_session.macros();
    const TMACROKEYINFO* macro = macros.CurrentMacroKeyInfo();
    TuiActionsClass* editor = macros.CurrentMacroAction();
    ListBoxMacro->setEnabled(false);
    m_filling = true;
    ListBoxAction->clear();
    m_filling = false;
    if (macro == nullptr || editor == nullptr) {
        ListBoxMacro->setEnabled(!macros.IsEmpty());
        showTotals();
        return;
    }
    const bool loop = macro->nLoopCount > 0;
    OptionLoop->setChecked(loop);
    NumBoxLoop->setEnabled(loop);
    NumBoxLoop->setMinimum(loop ? 1 : 0);
    NumBoxLoop->setValue(loop ? macro->nLoopCount : 0);

    m_filling = true;
    for (const ActionRow& row : actionRowsOf(editor->Actions(), macro->nAutoAddDelay == 1))
        ListBoxAction->addItem(makeActionItem(row));
    m_filling = false;
    ListBoxMacro->setEnabled(true);
    OptionRecordDelay->setChecked(macro->nAutoAddDelay == 1);
    if (macro->nAutoAddDelay != 1) {
        OptionDefaultDelay->setChecked(false);
        NumBoxDefaultDelay->setEnabled(false);
    }
    selectActionRow(editor->ActionIndex());
    showTotals();
}

void TFrmMacro::selectActionRow(int actionIndex)
{
    for (int row = 0; row < ListBoxAction->count(); ++row) {
        if (ListBoxAction->item(row)->data(kRowActionRole).toInt() == actionIndex) {
            ListBoxAction->setCurrentRow(row);
            return;
        }
    }
}

void TFrmMacro::actionRowChanged(int row)
{
    if (m_filling || m_recording || row < 0)
        return;
    if (TuiActionsClass* editor = m_session.macros().CurrentMacroAction())
        editor->SetActionIndex(ListBoxAction->item(row)->data(kRowActionRole).toInt());
    m_live.selectRow(row);
}

void TFrmMacro::syncActionIndex()
{
    const int row = ListBoxAction->currentRow();
    TuiActionsClass* editor = m_session.macros().CurrentMacroAction();
    if (editor != nullptr && row >= 0)
        editor->SetActionIndex(ListBoxAction->item(row)->data(kRowActionRole).toInt());
}

void TFrmMacro::showTotals()
{
    const TuiActionsClass* editor = m_session.macros().CurrentMacroAction();
    LabelTotalTime->setText(QString::number(editor != nullptr && !m_session.macros().IsEmpty() ? editor->TotalDelay()
                                                                                               : 0));
    LabelTotalActions->setText(QString::number(ListBoxAction->count()));
}

void TFrmMacro::storeLoopValue()
{
    TuiMacroClass& macros = m_session.macros();
    const int value = OptionLoop->isChecked() ? NumBoxLoop->value() : 0;
    if (macros.SetMacroLoopValue(macros.MacroListIndex(), std::uint16_t(value)))
        syncActionIndex();
}

// --- New and Delete

void TFrmMacro::BTNNEWClick()
{
    if (!m_session.canCreate()) {
        ask("Warning", "You can create macros shall not exceed 20 .");
        return;
    }
    if (!m_environment.createMacro)
        return;
    QStringList names;
    for (int i = 0; i < m_session.macros().MacroListCount(); ++i)
        names.append(macroNameOf(*m_session.macros().MacroAt(i)));
    QString name;
    if (m_environment.createMacro(m_session.macroPath(), name, names) != kResultOk)
        return;
    int existing = -1;
    switch (m_session.addNamed(name, existing)) {
    case MacroManagerSession::NewOutcome::Ignored:
        break;
    case MacroManagerSession::NewOutcome::SelectedExisting:
        ListBoxMacro->setFocus();
        ListBoxMacro->setCurrentRow(existing);
        break;
    case MacroManagerSession::NewOutcome::Created:
        FillMacroList();
        break;
    }
}

void TFrmMacro::BTNDELETEClick()
{
    const int row = ListBoxMacro->currentRow();
    if (row < 0)
        return;
    if (ask("Delete", "Are your sure you want to delete this macro?") == kResultCancel)
        return;
    m_session.deleteMacro(row);
    FillMacroList();
}

// --- The action tools menu

void TFrmMacro::ActionToolsClick(int item)
{
    TuiActionsClass* editor = m_session.macros().CurrentMacroAction();
    if (editor == nullptr || m_recording)
        return;
    const int index = editor->ActionIndex();
    switch (item) {
    case kInsertActions:
        startRecording(LiveRecordingRows::Mode::InsertAfter);
        return;
    case kDeleteAction:
        editor->DeleteAction(index);
        break;
    case kMoveActionUp:
        editor->MoveUpAction(index);
        break;
    case kMoveActionDown:
        editor->MoveDownAction(index);
        break;
    case kCopyAction:
        editor->CopyAction(index);
        break;
    case kCutAction:
        editor->CutAction(index);
        break;
    case kPasteAction:
        editor->PasteAction(index);
        break;
    default:
        return;
    }
    afterActionEdit();
}

void TFrmMacro::afterActionEdit()
{
    if (TuiActionsClass* editor = m_session.macros().CurrentMacroAction())
        editor->CheckErrors();
    ShowMacroActions();
    setErrorIcons();
}

// --- The inline delay editor

void TFrmMacro::editDelay(int row)
{
    QListWidgetItem* item = ListBoxAction->item(row);
    TuiActionsClass* editor = m_session.macros().CurrentMacroAction();
    if (m_recording || item == nullptr || editor == nullptr
        || ActionRow::Kind(item->data(kRowKindRole).toInt()) != ActionRow::Kind::Delay)
        return;
    m_delayEditRow = row;
    const QRect rowRect = ListBoxAction->visualItemRect(item);
    DELAYEDIT->setGeometry(MacroRowDelegate::kElapsedColumn - 4, rowRect.top(), 96, rowRect.height());
    DELAYEDIT->setValue(editor->GetDelayValue(item->data(kRowActionRole).toInt()));
    DELAYEDIT->show();
    DELAYEDIT->setFocus();
}

void TFrmMacro::commitDelayEdit()
{
    QListWidgetItem* item = ListBoxAction->item(m_delayEditRow);
    TuiActionsClass* editor = m_session.macros().CurrentMacroAction();
    m_delayEditRow = -1;
    DELAYEDIT->hide();
    if (item == nullptr || editor == nullptr)
        return;
    bool typed = false;
    const long long value = DELAYEDIT->text().trimmed().toLongLong(&typed);
    const int action = item->data(kRowActionRole).toInt();
    editor->SetActionIndex(action);
    editor->SetDelayValue(action, clampDelayMs(typed ? value : DELAYEDIT->value()));
    ShowMacroActions();
    ListBoxAction->setFocus();
}

bool TFrmMacro::eventFilter(QObject* watched, QEvent* event)
{
    // Every key is there to be recorded: the hook has had it at the window
    // already, and past the recorder's limit it lets keys through, which then
    // stop here instead of working the focused control.
    if (m_recording && isKeyEvent(*event))
        return true;
    if (watched == DELAYEDIT) {
        if (event->type() == QEvent::KeyRelease && !DELAYEDIT->isHidden()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                commitDelayEdit();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && m_delayEditRow >= 0) {
            // Leaving the editor discards what was typed.
            m_delayEditRow = -1;
            DELAYEDIT->hide();
        }
    } else if (watched == ListBoxAction->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        QListWidgetItem* current = ListBoxAction->currentItem();
        if (mouse->button() == Qt::RightButton && current != nullptr && !m_recording) {
            const QRect rowRect = ListBoxAction->visualItemRect(current);
            m_actionMenu->ShowMainMenu(0, ListBoxAction->viewport(), TPlacement::vgPlacementRight,
                                       QRect(QPoint(mouse->position().toPoint().x(), rowRect.top()),
                                             QSize(1, rowRect.height())));
            return true;
        }
    }
    return SkinDialog::eventFilter(watched, event);
}

} // namespace k4812
