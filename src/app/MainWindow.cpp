#include "app/MainWindow.h"

#include "app/DialogSkins.h"
#include "app/MainWindowDialogs.h"
#include "app/MainWindowLayout.h"
#include "app/MainWindowSkin.h"
#include "app/WindowSequenceHost.h"
#include "app/buttons/ButtonAssignmentPanel.h"
#include "app/pages/AdvancedPage.h"
#include "app/pages/ProfileControls.h"
#include "app/pages/SensitivityPage.h"
#include "app/pages/SystemSettingPage.h"

#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/PointerSettingsFactory.h"
#include "platform/desktop/WindowEndpoint.h"
#include "wire/MouseAccessDiagnosis.h"
#include "platform/storage/ProgramFolder.h"
#include "platform/storage/StorageError.h"
#include "macros/HookLibrary.h"
#include "profiles/ButtonEntryTexts.h"
#include "profiles/ProfileManager.h"

#include "ui/controls/BusyCursorAhead.h"
#include "ui/controls/BusyIndicator.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/UiFont.h"
#include "ui/menu/TuiMenuEx.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace k4812 {

namespace {

// Button-set entries 1-7 and the two wheel entries, as the profile numbers them.
constexpr const char* kEntryNames[9] = {"BtnSet1", "BtnSet2", "BtnSet3", "BtnSet4", "BtnSet5",
                                        "BtnSet6", "BtnSet7", "BtnSet8", "Btnset9"};

} // namespace

TK4812CfgMain::TK4812CfgMain(TDM& dm, TuiHIDData& hid, Services services, QWidget* parent)
    : SkinWindow(parent, kTopBarHeight), m_dm(dm), m_hid(hid), m_services(std::move(services))
{
    prefetchMainWindowSkin();
    setObjectName(QLatin1String(kConfigWindowClass));
    setWindowTitle(QLatin1String(kConfigWindowCaption));
    setAccessibleName(QLatin1String(kConfigWindowCaption));
    setFixedSize(kWidth, kHeight);
    setFont(uiFont(9));
    if (m_services.programFolder.isEmpty())
        m_services.programFolder = programFolder();
    if (!m_services.wait)
        m_services.wait = &WindowSequenceHost::waitWithEventLoop;
    m_pointerSettings = m_services.pointerSettings ? m_services.pointerSettings() : createPointerSettings();
    EventScheduler& scheduler = m_services.scheduler ? *m_services.scheduler : defaultEventScheduler();

    m_gate = new DeviceActionGate(this);
    buildControls();
    buildCommands();

    // The button column's menus and what a choice in them stores.
    ButtonAssignmentPanel::Entries entries;
    std::copy_n(FConfigButtonSet.begin(), entries.buttons.size(), entries.buttons.begin());
    std::copy_n(FWheelConfigButtonSet.begin(), entries.wheels.size(), entries.wheels.begin());
    ButtonAssignmentPanel::Dialogs buttonDialogs;
    buttonDialogs.message = [this](const QString& title, const QString& text) { return messageDialog(title, text); };
    m_buttonAssignment = new ButtonAssignmentPanel(m_dm, m_state, entries, buttonDialogs, this);

    // The language component translates this window: after every switch it
    // shows its texts again in the new language.
    m_language = std::make_unique<TuiLanguage>(this, [this] { retranslateWindow(); });

    m_host = std::make_unique<WindowSequenceHost>(WindowSequenceHost::Operations{
        [this](bool visible) {
            m_indicator->setEnabled(visible);
            visible ? m_indicator->start() : m_indicator->stop();
        },
        m_services.wait,
        [this](const QString& title, const QString& text) { messageDialog(title, text); },
        [this](const TLEDCONFIG& light) { FPreSavedLedConfig = light; },
        [this] { FillPages(); },
        [this](const std::function<void()>& store) { runStore(store); },
        m_pointerSettings,
        [this](const SystemMouseParamsResult& result) { pointerSettingsDone(result); },
        this,
    });
    buildProfileControls();

    m_hidEvent = new TuiHIDEvent(this, m_services.hotplugSource ? m_services.hotplugSource() : nullptr, scheduler);
    m_hidEvent->setObjectName(QStringLiteral("uiHIDEvent1"));
    m_hidEvent->setOnDeviceArrival([this](TuiHIDEvent&) { uiHIDEvent1DeviceArrival(); });

    if (m_services.receiveMessages) {
        m_endpoint = new WindowEndpoint(QLatin1String(kConfigWindowClass), this);
        m_endpoint->setHandler([this](const WindowMessage& m) { return handleWindowMessage(m.message); });
        QString error;
        if (!m_endpoint->listen(&error))
            qWarning().noquote() << "k4812-config: the monitor program cannot reach this window:" << error;
    }

    connect(m_gate, &DeviceActionGate::busyChanged, this, [this](bool busy) {
        if (!busy && !m_pointerNotice.isEmpty())
            showPointerSettingsNotice();
        if (!busy && m_closeRequested)
            QTimer::singleShot(0, this, &TK4812CfgMain::close);
    });
}

TK4812CfgMain::~TK4812CfgMain() = default;

SequenceHost& TK4812CfgMain::sequenceHost()
{
    return *m_host;
}

void TK4812CfgMain::buildControls()
{
    using namespace layout;
    auto button = [this](const char* name, const QRect& rect) {
        auto* b = new SkinButton(this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(rect);
        return b;
    };

    // Top bar: help, minimise, close (image-only: their names are spoken).
    m_help = button("BSBTNHELP", kHelpButton);
    m_min = button("BSBTNMIN", kMinButton);
    m_close = button("BSBTNCLOSE", kCloseButton);
    setSourceAccessibleName(m_help, QStringLiteral("Help"));
    setSourceAccessibleName(m_min, QStringLiteral("Minimise"));
    setSourceAccessibleName(m_close, QStringLiteral("Close"));
    connect(m_help, &QAbstractButton::clicked, this, &TK4812CfgMain::BSBTNHELPClick);
    connect(m_min, &QAbstractButton::clicked, this, &TK4812CfgMain::BSBTNMINClick);
    connect(m_close, &QAbstractButton::clicked, this, &TK4812CfgMain::BSBTNCLOSEClick);

    // Left area: the caption, the nine entries, the mode buttons, the profile strip.
    m_caption = new SkinLabel(this);
    m_caption->setObjectName(QStringLiteral("LabelButtonAssignment"));
    m_caption->setGeometry(kCaption);
    m_caption->setFontSize(14, true);
    setSourceText(m_caption, QStringLiteral("Button Assignment"));

    for (int i = 0; i < 9; ++i) {
        SkinButton* entry = button(kEntryNames[i], entryRect(i));
        entry->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        entry->setProperty("Tag", i < kButtonEntryCount ? i : i - kButtonEntryCount);
        if (i < kButtonEntryCount)
            FConfigButtonSet[std::size_t(i)] = entry;
        else
            FWheelConfigButtonSet[std::size_t(i - kButtonEntryCount)] = entry;
    }

    static constexpr const char* kModeNames[2] = {"BSBTNMODE1", "BSBTNMODE2"};
    for (int g = 0; g < 2; ++g) {
        SkinButton* mode = button(kModeNames[g], modeRect(g));
        mode->setStaysPressed(true);
        mode->setProperty("Tag", g);
        setSourceText(mode, QStringLiteral("Mode %1").arg(g + 1));
        m_modeButtons[std::size_t(g)] = mode;
        m_gate->addControl(mode);
    }
    m_preset = button("BSBTNPRESET", presetRect());
    setSourceText(m_preset, QStringLiteral("PRESET"));
    for (int p = 0; p < 5; ++p) {
        SkinButton* profile = button(QStringLiteral("BSBTNPROFILE%1").arg(p + 1).toLatin1().constData(),
                                     profileRect(p));
        profile->setStaysPressed(true);
        profile->setProperty("Tag", p);
        setSourceText(profile, QStringLiteral("PROFILE%1").arg(p + 1));
        m_profileButtons[std::size_t(p)] = profile;
        // The profile buttons' captions are a size larger in Chinese.
        setLanguageFonts(profile, uiFont(10), uiFont(11));
        m_gate->addControl(profile);
    }

    // Right area: the three pages.
    m_tabs = new TabControl(this);
    m_tabs->setObjectName(QStringLiteral("TabControlMain"));
    m_tabs->setGeometry(kTabs);
    const PageContext pages = pageContext();
    m_sensitivity = new SensitivityPage(pages);
    m_advanced = new AdvancedPage(pages);
    m_system = new SystemSettingPage(pages);
    m_tabs->addPage(m_sensitivity, QLatin1String(SensitivityPage::kTitle));
    m_tabs->addPage(m_advanced, QLatin1String(AdvancedPage::kTitle));
    m_tabs->addPage(m_system, QLatin1String(SystemSettingPage::kTitle));

    // Bottom bar.
    m_ok = button("BSBTNOK", kOkButton);
    m_apply = button("BSBTNAPPLY", kApplyButton);
    m_cancel = button("BSBTNCANCEL", kCancelButton);
    m_resetAll = button("BSBTNRESETALL", kResetAllButton);
    setSourceText(m_ok, QStringLiteral("OK"));
    setSourceText(m_apply, QStringLiteral("Apply"));
    setSourceText(m_cancel, QStringLiteral("Cancel"));
    setSourceText(m_resetAll, QStringLiteral("Reset All"));
    connect(m_ok, &QAbstractButton::clicked, this, &TK4812CfgMain::BSBTNOKClick);
    connect(m_apply, &QAbstractButton::clicked, this, &TK4812CfgMain::BSBTNAPPLYClick);
    connect(m_cancel, &QAbstractButton::clicked, this, &TK4812CfgMain::BSBTNCANCELClick);
    // A sequence writing the mouse must end before anything else starts or the window goes.
    for (QWidget* w : {static_cast<QWidget*>(m_ok), static_cast<QWidget*>(m_apply),
                       static_cast<QWidget*>(m_cancel), static_cast<QWidget*>(m_resetAll),
                       static_cast<QWidget*>(m_preset)})
        m_gate->addControl(w);

    m_indicator = new BusyIndicator(this);
    m_indicator->setObjectName(QStringLiteral("APPLYAniIndicator"));
    m_indicator->setGeometry(kIndicator);
    m_indicator->setEnabled(false);
    setSourceAccessibleName(m_indicator, QStringLiteral("Writing the settings to the mouse"));

    setTabOrderChain();
}

void TK4812CfgMain::setTabOrderChain()
{
    // Top to bottom, left to right, as the eye reads the window; the frame's
    // own buttons last.
    QList<QWidget*> chain;
    for (SkinButton* b : FConfigButtonSet)
        if (b)
            chain << b;
    for (SkinButton* b : FWheelConfigButtonSet)
        if (b)
            chain << b;
    chain << m_modeButtons[0] << m_modeButtons[1] << m_preset;
    for (SkinButton* b : m_profileButtons)
        chain << b;
    chain << m_tabs << m_ok << m_apply << m_cancel << m_resetAll << m_help << m_min << m_close;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void TK4812CfgMain::buildCommands()
{
    auto add = [this](const char* name, std::function<void()> handler) {
        TuiCommand& command = m_commands.Add(QLatin1String(name));
        if (handler)
            command.OnExecute = [handler](TuiGetSet, void*, std::uint32_t) { handler(); };
    };
    add("SetButton", [this] { RefreshButtonTexts(); });
    add("SetCPI", [this] { m_sensitivity->SetCPI(); });
    add("SetMouseParam", [this] { m_system->LoadSystemPage(); });
    add("SetProfileBtn", [this] { RefreshProfileButtons(); });
    add("SetReport", [this] { m_advanced->LoadAdvancedPage(); });
    add("SetLED", nullptr);
}

void TK4812CfgMain::BindControls()
{
    // The entries and pages are made with the window; what binding is left
    // is the entries' hints, which follow their functions.
    for (SkinButton* b : FConfigButtonSet)
        if (b)
            b->setToolTipDuration(-1);
}

bool TK4812CfgMain::FormCreate()
{
    FInitlizing = true;
    BindControls();
    SetupLanguage();

    THIDDataParam param;
    param.UsageAndPage = m_dm.FUsageAndPage();
    if (!m_hid.IsDeviceExist(param)) {
        messageDialog(translated("No Device Found!"), translated("Please connect your mouse device!"), explainMissingMouse(m_hid));
        FInitlizing = false;
        return false;
    }

    LoadSkin();
    FCurrentMacro = 0;
    m_tabs->setCurrentIndex(0);
    TMOUSEPROFILEINFO& current = m_dm.FCurrentProfileInfo();
    m_state.SystemMouseParams = SystemMouseParamsOf(current);
    const TProfileSettingGroup& group = m_dm.FProfileSettingGroup();
    const int profile = m_dm.FProfileIndex();
    if (TDM::IsProfileIndexInRange(profile)) {
        FProfilePath = group.ProfileSettingList[profile].FilePath.toString();
    }
    FillPages();
    m_state.SettingsChanged = false;
    FPreSavedLedConfig = current.ConfigInfo.LEDConfig;
    FInitlizing = false;
    checkConfiguredMouse();
    collectStartupRepairs();
    StartMonitor();
    return true;
}

QStringList TK4812CfgMain::commandNames()
{
    QStringList names;
    for (int i = 0; i < m_commands.Count(); ++i)
        names << m_commands.Commands(i).Name;
    return names;
}

void TK4812CfgMain::FillPages()
{
    // The buffer is handed on as the registry takes it; every handler reads
    // the current profile from the profile manager.
    TALLGAMESINFO& all = m_dm.FAllProfileSettingInfo();
    m_commands.SetData(&all, sizeof all);
}

void TK4812CfgMain::SetupLanguage()
{
    const int stored = m_dm.FAllProfileSettingInfo().CurrentLanguage;
    if (m_language->activeLanguageIndex() != stored) {
        const QString id = m_language->GetLanguageShortIDByIndex(stored);
        if (!id.isEmpty())
            m_language->SetLang(id);
    }
    for (SkinButton* b : m_profileButtons)
        applyLanguageFont(b, m_language->LanguageName());
    QGuiApplication::setApplicationDisplayName(translated(kApplicationTitle));
    RefreshButtonTexts();
}

void TK4812CfgMain::retranslateWindow()
{
    // The fonts with the texts, so that no frame shows the one without the other.
    for (SkinButton* b : m_profileButtons) {
        if (b)
            applyLanguageFont(b, m_language->LanguageName());
    }
    retranslateTexts(this);
    RefreshButtonTexts();
    // A menu left open (the monitor program can switch the language at any
    // time) takes the new language too.
    m_buttonAssignment->UpdateMenuStates();
    if (m_profileControls)
        m_profileControls->presetMenu().UpdateMenuState();
}

void TK4812CfgMain::RefreshButtonTexts()
{
    m_buttonAssignment->RebuildMacroMenu();
    const TMOUSEPROFILEINFO& profile = m_dm.FCurrentProfileInfo();
    for (int i = 0; i < kButtonEntryCount; ++i) {
        if (SkinButton* entry = FConfigButtonSet[std::size_t(i)]) {
            entry->setText(ButtonEntryText(profile, i));
            entry->setToolTip(ButtonEntryHint(profile, i));
        }
    }
    for (int i = 0; i < kWheelEntryCount; ++i) {
        if (SkinButton* entry = FWheelConfigButtonSet[std::size_t(i)])
            entry->setText(WheelEntryText(profile, i));
    }
}

void TK4812CfgMain::RefreshProfileButtons()
{
    for (int g = 0; g < 2; ++g)
        m_modeButtons[std::size_t(g)]->setChecked(g == m_dm.FProfileGroupIndex());
    for (int p = 0; p < 5; ++p)
        m_profileButtons[std::size_t(p)]->setChecked(p == m_dm.FProfileIndex());
}

void TK4812CfgMain::LoadSkin()
{
    applyMainWindowSkin(*this, m_services.programFolder);
}

void TK4812CfgMain::StartMonitor()
{
    if (!m_services.startMonitor)
        return;
    MonitorLauncher launcher(m_services.monitor);
    launcher.StartMonitor(m_services.programFolder);
}

void TK4812CfgMain::BSBTNCLOSEClick()
{
    close();
}

void TK4812CfgMain::BSBTNMINClick()
{
    showMinimized();
}

void TK4812CfgMain::BSBTNHELPClick()
{
    if (m_services.helpDialog)
        m_services.helpDialog(*this);
    else
        showToolkitHelpDialog(*this);
    SetupLanguage();
}

void TK4812CfgMain::uiHIDEvent1DeviceArrival()
{
    if (!m_gate->busy())
        m_apply->setEnabled(true);
}

std::int32_t TK4812CfgMain::handleWindowMessage(std::int32_t message)
{
    if (storing()) {
        // Each of them reads or changes the profile manager, which the
        // storage thread holds now; the answer is 0 either way.
        whenNotStoring([this, message] { handleWindowMessage(message); });
        return 0;
    }
    switch (message) {
    case UM_CLOSE_CONFIG:
        // From the event loop, not from inside the message's own handling.
        QTimer::singleShot(0, this, [this] { closeWhenIdle(); });
        break;
    case UM_LANGUAGE_CHANGED:
        SetupLanguage();
        break;
    case UM_RELOAD_PROFILE:
        try {
            // The monitor switched the mode or profile: the window takes the
            // new one as its own switch would, or its next save would put the
            // old one back. Otherwise only the current profile is reloaded.
            if (m_dm.LoadSelectionFromRegistry())
                takeStoredSelection();
            else
                m_dm.LoadCurrentProfileInfoFromRegistry();
        } catch (const StorageError& error) {
            qWarning().noquote() << "k4812-config: the current profile could not be reloaded:" << error.message();
        }
        break;
    default:
        break;
    }
    return 0;
}

void TK4812CfgMain::takeStoredSelection()
{
    const TMOUSEPROFILEINFO& current = m_dm.FCurrentProfileInfo();
    m_state.SystemMouseParams = SystemMouseParamsOf(current);
    FPreSavedLedConfig = current.ConfigInfo.LEDConfig;
    FProfilePath = m_dm.FProfileSettingGroup().ProfileSettingList[m_dm.FProfileIndex()].FilePath.toString();
    FillPages();
}

void TK4812CfgMain::closeWhenIdle()
{
    close();
}

int TK4812CfgMain::messageDialog(const QString& title, const QString& text, const QString& secondLine)
{
    if (m_services.messageDialog)
        return m_services.messageDialog(title, text, secondLine);
    return showToolkitMessageDialog(this, title, text, secondLine);
}

void TK4812CfgMain::closeEvent(QCloseEvent* event)
{
    // A device sequence pauses with the event loop running, and a store
    // waits with it turning; the window must outlive both. The close happens
    // as soon as they end.
    if (m_gate->busy() || storing()) {
        m_closeRequested = true;
        event->ignore();
        return;
    }
    if (m_endpoint)
        m_endpoint->close();
    event->accept();
}

void TK4812CfgMain::changeEvent(QEvent* event)
{
    SkinWindow::changeEvent(event);
}

void TK4812CfgMain::paintEvent(QPaintEvent* event)
{
    if (!m_firstUsesPrepared) {
        // Once the first frame is out, what the first dialogs, the busy cursor
        // and the recording windows would read on this thread is read ahead,
        // and the menus' font and glyphs are prepared in small steps; none of
        // it takes anything from the start.
        m_firstUsesPrepared = true;
        QTimer::singleShot(0, this, [this] {
            prefetchDialogSkins();
            prepareBusyCursor();
            loadHookLibraryAhead();
            m_buttonAssignment->prepareMenus();
        });
    }
    if (!background().isNull()) {
        SkinWindow::paintEvent(event);
        return;
    }
    QPainter painter(this);
    paintMainWindowBackground(painter, *this);
}

} // namespace k4812
