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

namespace {

constexpr int kTopBar = 46;
const QString kDialogGroup = QStringLiteral("dialog");

void setFaces(SkinButton* button, const char* normal, const char* hot, const char* pressed,
              const QString& group = kDialogGroup)
{
    TImageDataBase& images = imageDataBase();
    button->setFaces(images.image(QString::fromLatin1(normal), group), images.image(QString::fromLatin1(hot), group),
                     images.image(QString::fromLatin1(pressed), group));
}

QListWidgetItem* makeActionItem(const ActionRow& row)
{
    auto* item = new QListWidgetItem(row.text);
    item->setData(kRowKindRole, int(row.kind));
    item->setData(kRowActionRole, row.actionIndex);
    return item;
}

} // namespace

TFrmMacro::TFrmMacro(MacroManagerSession& session, TMACROKEYINFOLIST& list, int& index,
                     MacroManagerEnvironment environment, QWidget* parent)
    : SkinDialog(parent, kTopBar), m_session(session), m_callerList(list), m_callerIndex(index),
      m_environment(std::move(environment))
{
    setObjectName(QStringLiteral("TFrmMacro"));
    setSourceText(this, QStringLiteral("Macro Manager"));
    setBackground(imageDataBase().image(QStringLiteral("macrodialog.png"), kDialogGroup));
    setFixedSize(kWidth, kHeight);

    addLabel("LabelTitle", "Macro Manager", QRect(18, 10, 400, 26))->setFontSize(12, true);
    BTNMIN = addButton("BTNMIN", QRect(kWidth - 84, 6, 35, 35));
    setFaces(BTNMIN, "min-1.png", "min-2.png", "min-3.png", QString());
    setSourceAccessibleName(BTNMIN, QStringLiteral("Minimize"));
    BTNCLOSE = addButton("BTNCLOSE", QRect(kWidth - 45, 6, 35, 35));
    setFaces(BTNCLOSE, "close-1.png", "close-2.png", "close-3.png");
    setSourceAccessibleName(BTNCLOSE, QStringLiteral("Close"));

    // Left column: the macros.
    addLabel("LabelMacroName", "Macro Name:", QRect(20, 58, 170, 22));
    BTNUP = addButton("BTNUP", QRect(20, 84, 170, 16));
    BTNUP->setFaces(imageDataBase().image(QStringLiteral("arrow-up.png"), kDialogGroup), {}, {});
    setSourceAccessibleName(BTNUP, QStringLiteral("Scroll up"));
    ListBoxMacro = new ListBox(this);
    ListBoxMacro->setObjectName(QStringLiteral("ListBoxMacro"));
    ListBoxMacro->setGeometry(20, 102, 170, 300);
    ListBoxMacro->setItemDelegate(new MacroRowDelegate(MacroRowDelegate::List::Macros, ListBoxMacro));
    setSourceAccessibleName(ListBoxMacro, QStringLiteral("Macro Name:"));
    BTNDOWN = addButton("BTNDOWN", QRect(20, 404, 170, 16));
    BTNDOWN->setFaces(imageDataBase().image(QStringLiteral("arrow-down.png"), kDialogGroup), {}, {});
    setSourceAccessibleName(BTNDOWN, QStringLiteral("Scroll down"));
    BTNNEW = addButton("BTNNEW", QRect(20, 432, 80, 30));
    setSourceText(BTNNEW, QStringLiteral("New"));
    BTNDELETE = addButton("BTNDELETE", QRect(110, 432, 80, 30));
    setSourceText(BTNDELETE, QStringLiteral("Delete"));
    BTNDELETE->setEnabled(false);

    // Middle column: the action editor.
    addLabel("LabelActionEditor", "Macro Action Editor:", QRect(210, 58, 330, 22));
    const int listLeft = 210;
    addLabel("LabelStatus", "Status", QRect(listLeft + MacroRowDelegate::kStatusColumn, 80, 56, 20));
    addLabel("LabelButton", "Button", QRect(listLeft + MacroRowDelegate::kButtonColumn, 80, 120, 20));
    addLabel("LabelElapsed", "Elapsed time (ms)", QRect(listLeft + MacroRowDelegate::kElapsedColumn, 80, 120, 20));
    ListBoxAction = new ListBox(this);
    ListBoxAction->setObjectName(QStringLiteral("ListBoxAction"));
    ListBoxAction->setGeometry(listLeft, 102, 316, 300);
    ListBoxAction->setItemDelegate(new MacroRowDelegate(MacroRowDelegate::List::Actions, ListBoxAction));
    setSourceAccessibleName(ListBoxAction, QStringLiteral("Macro Action Editor:"));
    DELAYEDIT = new NumberBox(ListBoxAction->viewport());
    DELAYEDIT->setObjectName(QStringLiteral("DELAYEDIT"));
    DELAYEDIT->setRange(kMinDelayMs, kMaxDelayMs);
    DELAYEDIT->hide();
    DELAYEDIT->installEventFilter(this);
    setSourceAccessibleName(DELAYEDIT, QStringLiteral("Elapsed time (ms)"));

    addLabel("LabelTotalTimeCaption", "Total Elapsed Time", QRect(listLeft, 408, 130, 20));
    LabelTotalTime = addLabel("LabelTotalTime", "", QRect(listLeft + 132, 408, 60, 20));
    LabelTotalTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addLabel("LabelTotalTimeUnit", "ms", QRect(listLeft + 196, 408, 50, 20));
    addLabel("LabelTotalActionsCaption", "Total Actions", QRect(listLeft, 428, 130, 20));
    LabelTotalActions = addLabel("LabelTotalActions", "", QRect(listLeft + 132, 428, 60, 20));
    LabelTotalActions->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    addLabel("LabelTotalActionsUnit", "Entries", QRect(listLeft + 196, 428, 60, 20));
    LabelReachedMax = addLabel("LabelReachedMax", "Reached Max", QRect(listLeft, 452, 130, 20));
    LabelReachedMax->setTextColor(theme::warning());
    LabelReachedMax->hide();

    BTNSTARTRECORD = addButton("BTNSTARTRECORD", QRect(listLeft + 240, 410, 40, 40));
    setFaces(BTNSTARTRECORD, "startrecord-1.png", "startrecord-2.png", "startrecord-2.png");
    BTNSTARTRECORD->setStaysPressed(true);
    setSourceAccessibleName(BTNSTARTRECORD, QStringLiteral("Start recording"));
    BTNSTOPRECORD = addButton("BTNSTOPRECORD", QRect(listLeft + 286, 410, 40, 40));
    setFaces(BTNSTOPRECORD, "stoprecord-1.png", "stoprecord-2.png", "stoprecord-2.png");
    BTNSTOPRECORD->setStaysPressed(true);
    BTNSTOPRECORD->setEnabled(false);
    setSourceAccessibleName(BTNSTOPRECORD, QStringLiteral("Stop recording"));

    // Right column: the options.
    addLabel("LabelOption", "Option:", QRect(540, 58, 180, 22));
    OptionRecordDelay = addOption("OptionRecordDelay", "Record delays between action", QRect(540, 88, 216, 24));
    OptionRecordDelay->setChecked(true);
    OptionDefaultDelay = addOption("OptionDefaultDelay", "Insert default delay", QRect(540, 136, 216, 24));
    NumBoxDefaultDelay = new NumberBox(this);
    NumBoxDefaultDelay->setObjectName(QStringLiteral("NumBoxDefaultDelay"));
    NumBoxDefaultDelay->setRange(kMinDelayMs, kMaxDelayMs);
    NumBoxDefaultDelay->setValue(kMinDelayMs);
    NumBoxDefaultDelay->setGeometry(564, 164, 90, 26);
    NumBoxDefaultDelay->setEnabled(false);
    setSourceAccessibleName(NumBoxDefaultDelay, QStringLiteral("Insert default delay"));
    addLabel("LabelDefaultDelayUnit", "ms", QRect(660, 164, 40, 26));
    OptionLoop = addOption("OptionLoop", "Number of loops(1-255)", QRect(540, 204, 216, 24));
    NumBoxLoop = new NumberBox(this);
    NumBoxLoop->setObjectName(QStringLiteral("NumBoxLoop"));
    NumBoxLoop->setRange(0, kMaxLoopCount);
    NumBoxLoop->setValue(1);
    NumBoxLoop->setGeometry(564, 232, 90, 26);
    NumBoxLoop->setEnabled(false);
    setSourceAccessibleName(NumBoxLoop, QStringLiteral("Number of loops(1-255)"));

    BTNCANCEL = addButton("BTNCANCEL", QRect(kWidth - 224, kHeight - 48, 96, 30));
    setFaces(BTNCANCEL, "DLG-OK-1.png", "DLG-OK-2.png", "DLG-OK-3.png");
    setSourceText(BTNCANCEL, QStringLiteral("CANCEL"));
    BTNOK = addButton("BTNOK", QRect(kWidth - 118, kHeight - 48, 96, 30));
    setFaces(BTNOK, "DLG-OK-1.png", "DLG-OK-2.png", "DLG-OK-3.png");
    setSourceText(BTNOK, QStringLiteral("OK"));

    buildActionMenu();

    // Wiring.
    connect(BTNCLOSE, &QAbstractButton::clicked, this, [this] { done(kResultCancel); });
    connect(BTNMIN, &QAbstractButton::clicked, this, [this] {
        QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : this;
        main->showMinimized();
    });
    connect(BTNUP, &QAbstractButton::clicked, this, [this] {
        ListBoxMacro->verticalScrollBar()->setValue(ListBoxMacro->verticalScrollBar()->value() - 1);
    });
    connect(BTNDOWN, &QAbstractButton::clicked, this, [this] {
        ListBoxMacro->verticalScrollBar()->setValue(ListBoxMacro->verticalScrollBar()->value() + 1);
    });
    connect(BTNNEW, &QAbstractButton::clicked, this, &TFrmMacro::BTNNEWClick);
    connect(BTNDELETE, &QAbstractButton::clicked, this, &TFrmMacro::BTNDELETEClick);
    connect(BTNSTARTRECORD, &QAbstractButton::clicked, this, &TFrmMacro::BTNSTARTRECORDClick);
    connect(BTNSTOPRECORD, &QAbstractButton::clicked, this, &TFrmMacro::BTNSTOPRECORDClick);
    connect(BTNOK, &QAbstractButton::clicked, this, &TFrmMacro::BTNOKClick);
    connect(BTNCANCEL, &QAbstractButton::clicked, this, &TFrmMacro::BTNCANCELClick);
    connect(ListBoxMacro, &QListWidget::currentRowChanged, this, &TFrmMacro::macroRowChanged);
    connect(ListBoxMacro, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        // A click on the selected row shows it again, as a new selection would.
        if (!m_filling && item != nullptr && ListBoxMacro->row(item) == m_session.macros().MacroListIndex())
            macroRowChanged(ListBoxMacro->row(item));
    });
    connect(ListBoxAction, &QListWidget::currentRowChanged, this, &TFrmMacro::actionRowChanged);
    connect(ListBoxAction, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { editDelay(ListBoxAction->row(item)); });
    ListBoxAction->viewport()->installEventFilter(this);

    connect(OptionRecordDelay, &QAbstractButton::clicked, this, [this](bool pressed) {
        if (!pressed) {
            OptionDefaultDelay->setChecked(false);
            NumBoxDefaultDelay->setEnabled(false);
        }
    });
    connect(OptionDefaultDelay, &QAbstractButton::clicked, this, [this](bool pressed) {
        NumBoxDefaultDelay->setEnabled(pressed);
        if (pressed)
            OptionRecordDelay->setChecked(true);
    });
    connect(OptionLoop, &QAbstractButton::clicked, this, [this](bool pressed) {
        NumBoxLoop->setEnabled(pressed);
        NumBoxLoop->setMinimum(pressed ? 1 : 0);
        NumBoxLoop->setValue(pressed ? 1 : 0);
        storeLoopValue();
    });
    connect(NumBoxLoop, &NumberBox::valueChanged, this, [this] { storeLoopValue(); });

    // Recording.
    if (!m_environment.hook.showError && m_environment.message) {
        auto message = m_environment.message;
        m_environment.hook.showError = [message](const QString& caption, const QString& text) {
            message(translate(caption), translate(text), QString());
        };
    }
    m_hook = std::make_unique<TuiHook>(m_environment.hook);
    m_hook->OnRecordKeyboardMacroKeyEx = [this](int, int, int AState, int, double, std::uint32_t TotalTime,
                                                const QString& MacroKeyString, const QString&,
                                                const std::vector<TMACROKEYHOOK>&) {
        onMacroKey(AState, TotalTime, MacroKeyString);
    };
    m_hook->OnStopRecordKeyboardMacroKey = [this](const std::vector<TMACROKEYHOOK>& recording) {
        onRecordingStopped(recording);
    };

    FillMacroList();
}

TFrmMacro::~TFrmMacro()
{
    m_grab.reset();
    // The recording's stop event must not reach a half-destroyed window.
    m_hook->OnStopRecordKeyboardMacroKey = nullptr;
    m_hook->OnRecordKeyboardMacroKeyEx = nullptr;
}

SkinLabel* TFrmMacro::addLabel(const char* objectName, const char* text, const QRect& geometry)
{
    auto* label = new SkinLabel(this);
    label->setObjectName(QString::fromLatin1(objectName));
    if (*text != '\0')
        setSourceText(label, QString::fromUtf8(text));
    label->setGeometry(geometry);
    return label;
}

SkinButton* TFrmMacro::addButton(const char* objectName, const QRect& geometry)
{
    auto* button = new SkinButton(this);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setGeometry(geometry);
    return button;
}

CheckBox* TFrmMacro::addOption(const char* objectName, const char* text, const QRect& geometry)
{
    auto* option = new CheckBox(this);
    option->setObjectName(QString::fromLatin1(objectName));
    option->setCheckable(true);
    TImageDataBase& images = imageDataBase();
    option->setBoxImages(images.image(QStringLiteral("radio-unchecked.png")),
                         images.image(QStringLiteral("radio-checked.png")));
    setSourceText(option, QString::fromUtf8(text));
    option->setGeometry(geometry);
    return option;
}

void TFrmMacro::buildActionMenu()
{
    m_actionMenu = new TuiMenuEx(this);
    m_actionMenu->setObjectName(QStringLiteral("ActionToolsMenu"));
    m_actionMenu->Title = QStringLiteral("Macro Action Editor:");
    for (const char* caption : {"Insert Actions", "Delete Action", "Move Action Up", "Move Action Down",
                                "Copy Action", "Cut Action", "Paste Action"})
        m_actionMenu->Items().Add(QString::fromLatin1(caption));
    connect(m_actionMenu, &TuiMenuEx::OnItemsClick, this,
            [this](TuiMenuItemEx*, const QString&, quint32 id) { ActionToolsClick(int(id)); });
}

int TFrmMacro::ask(const char* title, const char* text)
{
    if (!m_environment.message)
        return kResultCancel;
    return m_environment.message(translate(QString::fromUtf8(title)), translate(QString::fromUtf8(text)), QString());
}

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
