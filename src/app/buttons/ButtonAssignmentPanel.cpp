#include "app/buttons/ButtonAssignmentPanel.h"

#include "app/buttons/ButtonMenus.h"
#include "app/dialogs/KeyDialogs.h"
#include "app/macro/ShowMacroManager.h"
#include "wire/KeyCodeTable.h"
#include "sequences/MainWindowState.h"
#include "i18n/Translation.h"
#include "macros/MacroName.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonEntryTexts.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/MacroButtonSweep.h"
#include "profiles/ProfileManager.h"
#include "ui/controls/GlyphWarmer.h"
#include "ui/dialogs/MessagePrompter.h"
#include "ui/menu/TuiMenuEx.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPointer>

#include <algorithm>

namespace k4812 {

namespace {

QString shown(const char* text)
{
    return translate(QString::fromUtf8(text));
}

bool isMacroChoice(int id)
{
    return id >= kMenuFirstMacro && id < (kMenuMacro + 1) * 100;
}

} // namespace

ButtonAssignmentPanel::ButtonAssignmentPanel(TDM& dm, MainWindowState& state, Entries entries, Dialogs dialogs,
                                             QWidget* window)
    : QObject(window), m_dm(dm), m_state(state), m_entries(entries), m_dialogs(std::move(dialogs))
{
    const QPointer<QWidget> parent(window);
    if (!m_dialogs.singleKey)
        m_dialogs.singleKey = [parent](TSINGLEKEYINFO& key) { return ShowSingleKeyDialog(key, parent); };
    if (!m_dialogs.comboKey)
        m_dialogs.comboKey = [parent](TCOMBOKEYINFO& combo) { return ShowComboKeyDialog(combo, parent); };
    if (!m_dialogs.fire)
        m_dialogs.fire = [parent](TFIREKEYINFO& fire) { return ShowFireDialog(fire, parent); };
    if (!m_dialogs.macroManager)
        m_dialogs.macroManager = [parent](TMACROKEYINFOLIST& list, int& current, const QString& path) {
            return ShowMacroManager(list, current, path, parent);
        };
    if (!m_dialogs.message)
        m_dialogs.message = [parent](const QString& title, const QString& text) {
            return ShowMessageDialog(title, text, {}, parent);
        };

    m_menu1 = new TuiMenuEx(this);
    m_menu1->setObjectName(QStringLiteral("uiMenuEx1"));
    m_menuLR = new TuiMenuEx(this);
    m_menuLR->setObjectName(QStringLiteral("uiMenuExLRBUTTON"));
    m_menu2 = new TuiMenuEx(this);
    m_menu2->setObjectName(QStringLiteral("uiMenuEx2"));
    BuildButtonMenu(*m_menu1);
    BuildPrimaryButtonMenu(*m_menuLR);
    BuildWheelMenu(*m_menu2);
    // uiMenuEx1ItemsClick serves both button menus.
    for (TuiMenuEx* menu : {m_menu1, m_menuLR})
        connect(menu, &TuiMenuEx::OnItemsClick, this,
                [this](TuiMenuItemEx*, const QString&, quint32 id) { uiMenuEx1ItemsClick(id); });
    connect(m_menu2, &TuiMenuEx::OnItemsClick, this,
            [this](TuiMenuItemEx*, const QString&, quint32 id) { uiMenuEx2ItemsClick(id); });

    for (int tag = 0; tag < kButtonEntries; ++tag) {
        QAbstractButton* entry = m_entries.buttons[std::size_t(tag)];
        if (entry == nullptr)
            continue;
        connect(entry, &QAbstractButton::clicked, this, [this, tag] {
            if (tag < 2)
                BtnSet1Click(tag);
            else
                BtnSet3Click(tag);
        });
        entry->installEventFilter(this);
    }
    for (int tag = 0; tag < kWheelEntries; ++tag) {
        if (QAbstractButton* entry = m_entries.wheels[std::size_t(tag)])
            connect(entry, &QAbstractButton::clicked, this, [this, tag] { BtnSet8Click(tag); });
    }
}

ButtonAssignmentPanel::~ButtonAssignmentPanel() = default;

void ButtonAssignmentPanel::prepareMenus()
{
    if (!m_menuWarmer)
        m_menuWarmer = std::make_unique<GlyphWarmer>();
    for (const TuiMenuEx* menu : {m_menu1, m_menuLR, m_menu2})
        menu->forEachShownText([this](const QFont& font, const QString& text) { m_menuWarmer->add(font, text); });
    m_menuWarmer->start();
}

TMOUSEPROFILEINFO& ButtonAssignmentPanel::profile()
{
    return m_dm.FCurrentProfileInfo();
}

void ButtonAssignmentPanel::BtnSet1Click(int tag)
{
    FPlaceButtonTag = tag;
    const int menuId = profile().ConfigInfo.ButtonFuncInfo[tag].MenuID;
    m_menuLR->ShowMainMenu(std::uint64_t(std::uint32_t(menuId)), m_entries.buttons[std::size_t(tag)],
                           TPlacement::vgPlacementRightCenter);
}

void ButtonAssignmentPanel::BtnSet3Click(int tag)
{
    FPlaceButtonTag = tag;
    const int menuId = profile().ConfigInfo.ButtonFuncInfo[tag].MenuID;
    m_menu1->ShowMainMenu(std::uint64_t(std::uint32_t(menuId)), m_entries.buttons[std::size_t(tag)],
                          TPlacement::vgPlacementRightCenter);
}

void ButtonAssignmentPanel::BtnSet8Click(int tag)
{
    FPlaceWheelButtonTag = tag;
    const int menuId = profile().ConfigInfo.VWheelButtonFuncInfo[tag].MenuID;
    m_menu2->ShowMainMenu(std::uint64_t(std::uint32_t(menuId)), m_entries.wheels[std::size_t(tag)],
                          TPlacement::vgPlacementRightCenter);
}

void ButtonAssignmentPanel::uiMenuEx1ItemsClick(quint32 AMenuItemID)
{
    AssignButtonFunction(FPlaceButtonTag, int(AMenuItemID));
    // Also after a cancelled dialog or a refused macro: the user acted.
    m_state.SettingsChanged = true;
}

void ButtonAssignmentPanel::uiMenuEx2ItemsClick(quint32 AMenuItemID)
{
    AssignWheelFunction(int(AMenuItemID));
}

void ButtonAssignmentPanel::store(int tag, int id)
{
    m_dm.SaveBackToCurrentProfileInfo();
    SetButtonText(tag, id);
}

void ButtonAssignmentPanel::AssignButtonFunction(int tag, int id)
{
    if (tag < 0 || tag >= kButtonEntryCapacity)
        return;
    if (id == kMenuSingleKey)
        return assignSingleKey(tag);
    if (id == kMenuComboKey)
        return assignComboKey(tag);
    if (id == kMenuFireKey)
        return assignFireKey(tag);
    if (id == kMenuMacroManager)
        return runMacroManager(tag);
    if (isMacroChoice(id))
        return assignMacro(tag, id);
    const AssignmentOutcome outcome = k4812::AssignButtonFunction(profile(), tag, id);
    if (!outcome.assigned())
        return;
    if (outcome.alsoChanged >= 0)
        SetButtonText(outcome.alsoChanged, kMenuClick);
    store(tag, id);
}

void ButtonAssignmentPanel::assignSingleKey(int tag)
{
    TSINGLEKEYINFO key = profile().ConfigInfo.ButtonFuncInfo[tag].SingleKeyInfo;
    if (m_dialogs.singleKey(key) != 1 || key.nKeyValue1 == 0)
        return;   // cancelled, or OK with no key recorded
    const AssignmentOutcome outcome = AssignSingleKey(profile(), tag, key);
    if (outcome.result == AssignmentResult::KeyNotSendable)
        return warnKeyNotSendable(KeyNameOf(key.nKeyValue1, key.nKey1Extended));
    if (outcome.assigned())
        store(tag, kMenuSingleKey);
}

void ButtonAssignmentPanel::assignComboKey(int tag)
{
    TCOMBOKEYINFO combo = profile().ConfigInfo.ButtonFuncInfo[tag].ComboKeyInfo;
    if (m_dialogs.comboKey(combo) != 1 || combo.nKeyValue1 == 0)
        return;
    const AssignmentOutcome outcome = AssignComboKey(profile(), tag, combo);
    if (outcome.result == AssignmentResult::KeyNotSendable) {
        QString keys = KeyNameOf(combo.nKeyValue1, combo.nKey1Extended);
        if (combo.nKeyValue2 != 0)
            keys += QLatin1Char('+') + KeyNameOf(combo.nKeyValue2, combo.nKey2Extended);
        return warnKeyNotSendable(keys);
    }
    if (outcome.assigned())
        store(tag, kMenuComboKey);
}

void ButtonAssignmentPanel::assignFireKey(int tag)
{
    TFIREKEYINFO fire = FireKeyDialogInput(profile(), tag);
    if (m_dialogs.fire(fire) != 1)
        return;
    if (AssignFireKey(profile(), tag, fire).assigned())
        store(tag, kMenuFireKey);
}

void ButtonAssignmentPanel::assignMacro(int tag, int id)
{
    const int k = id % 100 - 2;
    if (k < 0 || k > kMaxMacroMenuIndex)
        return;
    FCurrentMacro = k;
    const AssignmentOutcome outcome = AssignMacro(profile(), tag, k);
    if (outcome.result == AssignmentResult::TooManyMacros)
        return warnTooManyMacros();
    if (outcome.assigned())
        store(tag, id);
}

QString ButtonAssignmentPanel::currentMacroPath()
{
    const int index = std::clamp(m_dm.FProfileIndex(), 0, kProfileCount - 1);
    const TProfileSetting setting = m_dm.FProfileSettingGroup().ProfileSettingList[index];
    return setting.MacroPath.toString();
}

void ButtonAssignmentPanel::runMacroManager(int tag)
{
    TMOUSEPROFILEINFO& p = profile();
    const TMACROKEYINFO held = p.ConfigInfo.ButtonFuncInfo[tag].MacroKeyInfo;
    FCurrentMacro = FindMacroByName(p, macroNameOf(held));
    TMACROKEYINFOLIST list = p.MacroKeyInfoList;
    FMacroPath = currentMacroPath();
    if (m_dialogs.macroManager(list, FCurrentMacro, FMacroPath) != 1)
        return;
    p.MacroKeyInfoList = list;

    if (FCurrentMacro < 0) {
        TBUTTONFUNCINFO element = p.ConfigInfo.ButtonFuncInfo[tag];
        DisableMacroButton(element);
        p.ConfigInfo.ButtonFuncInfo[tag] = element;
    } else if (AssignMacro(p, tag, FCurrentMacro).result == AssignmentResult::TooManyMacros) {
        // The button keeps its function; the edited list was accepted with
        // OK all the same, so it is kept and the other buttons follow it.
        warnTooManyMacros();
    }
    m_dm.SaveBackToCurrentProfileInfo();
    RebuildMacroMenu();
    SweepMacroButtons();
}

void ButtonAssignmentPanel::warnTooManyMacros()
{
    m_dialogs.message(shown("Warning!"), shown("You can assign macros to buttons shall not exceed 5 ."));
}

void ButtonAssignmentPanel::warnKeyNotSendable(const QString& keyText)
{
    m_dialogs.message(shown("Warning!"), shown("The mouse cannot send this key: %1").arg(keyText));
}

void ButtonAssignmentPanel::AssignWheelFunction(int id)
{
    if (WheelMenuCaption(id) == nullptr)
        return;
    const int tag = std::clamp(FPlaceWheelButtonTag, 0, kWheelEntries - 1);
    TBUTTONFUNCINFO element = profile().ConfigInfo.VWheelButtonFuncInfo[tag];
    element.FunctionIndex = std::uint16_t(id - 1);
    element.FunctionClass = kFunctionClassMouse;
    element.MenuID = id;
    profile().ConfigInfo.VWheelButtonFuncInfo[tag] = element;
    m_dm.SaveBackToCurrentProfileInfo();
    SetWheelButtonText(tag, id);
}

void ButtonAssignmentPanel::SetButtonText(int index, int id)
{
    if (index < 0 || index >= kButtonEntries)
        return;   // a profile may declare more buttons than the column shows
    if (QAbstractButton* entry = m_entries.buttons[std::size_t(index)])
        entry->setText(ButtonEntryText(profile(), index, id));
}

void ButtonAssignmentPanel::SetWheelButtonText(int index, int id)
{
    if (index < 0 || index >= kWheelEntries)
        return;
    if (QAbstractButton* entry = m_entries.wheels[std::size_t(index)])
        entry->setText(WheelEntryText(index, id));
}

void ButtonAssignmentPanel::UpdateButtonHint(int tag)
{
    if (tag < 0 || tag >= kButtonEntries)
        return;
    if (QAbstractButton* entry = m_entries.buttons[std::size_t(tag)])
        entry->setToolTip(ButtonEntryHint(profile(), tag));
}

void ButtonAssignmentPanel::UpdateMenuStates()
{
    for (TuiMenuEx* menu : {m_menu1, m_menuLR, m_menu2})
        menu->UpdateMenuState();
}

void ButtonAssignmentPanel::RebuildMacroMenu()
{
    k4812::RebuildMacroMenu(*m_menu1, profile().MacroKeyInfoList);
}

void ButtonAssignmentPanel::SweepMacroButtons()
{
    k4812::SweepMacroButtons(profile());
    m_dm.SaveBackToCurrentProfileInfo();
    RefreshButtonTexts();
}

void ButtonAssignmentPanel::RefreshButtonTexts()
{
    RebuildMacroMenu();
    const TMOUSEPROFILEINFO& p = profile();
    const int buttons = std::clamp<int>(p.ConfigInfo.ButtonCount, 0, kButtonEntries);
    for (int i = 0; i < buttons; ++i)
        SetButtonText(i, ShownMenuId(p.ConfigInfo.ButtonFuncInfo[i]));
    for (int i = 0; i < kWheelEntries; ++i) {
        if (QAbstractButton* entry = m_entries.wheels[std::size_t(i)])
            entry->setText(WheelEntryText(p, i));
    }
}

bool ButtonAssignmentPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter) {
        for (int tag = 0; tag < kButtonEntries; ++tag) {
            if (watched == m_entries.buttons[std::size_t(tag)])
                UpdateButtonHint(tag);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace k4812
