// The macro manager's controls: where each one stands, its skin faces and texts,
// and the signals it is connected to.

#include "app/macro/TFrmMacro.h"

#include "uiHook/ScopedKeyboardGrab.h"
#include "app/dialogs/RecordingHook.h"
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
    m_hook = std::make_unique<TuiHook>(recordingHookEnvironment(m_environment.hook, parent));
    m_hook->OnRecordKeyboardMacroKeyEx = [this](int, int, int AState, int, double, std::uint32_t TotalTime,
                                                const QString& MacroKeyString, const QString&,
                                                const std::vector<TMACROKEYHOOK>&) {
        onMacroKey(AState, TotalTime, MacroKeyString);
    };
    m_hook->OnStopRecordKeyboardMacroKey = [this](const std::vector<TMACROKEYHOOK>& recording) {
        onRecordingStopped(recording);
    };

    FillMacroList();

    // While a recording runs, no key works a control of the window (see eventFilter).
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
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

} // namespace k4812
