#include "app/pages/ProfileControls.h"

#include "records/RecordBytes.h"
#include "sequences/MouseReadBack.h"

#include "sequences/ProfileSwitch.h"
#include "sequences/SequenceHost.h"
#include "i18n/Translation.h"
#include "platform/storage/StorageError.h"
#include "profiles/ProfileFileActions.h"
#include "ui/menu/TuiMenuEx.h"

#include <QAbstractButton>

namespace k4812 {

namespace {

QString shownText(const char* english)
{
    return translate(QString::fromLatin1(english));
}

} // namespace

ProfileControls::ProfileControls(Context context, Buttons buttons, QObject* parent)
    : QObject(parent), m_ctx(std::move(context)), m_buttons(buttons), m_presetMenu(new TuiMenuEx(this))
{
    m_presetMenu->setObjectName(QStringLiteral("uiMenuEx3"));
    m_presetMenu->Title = QStringLiteral("PRESET");
    for (const char* caption :
         {"Short Game Profile", "Real-Time Strategy", "Role Playing Game", "Read from mouse", "Load from file",
          "Save to file"})
        m_presetMenu->Items().Add(QString::fromLatin1(caption)).Caption = QString::fromLatin1(caption);
    connect(m_presetMenu, &TuiMenuEx::OnItemsClick, this,
            [this](TuiMenuItemEx*, const QString&, quint32 id) { PresetItemClick(int(id)); });

    for (int p = 0; p < kProfileCount; ++p) {
        if (QAbstractButton* b = m_buttons.profiles[std::size_t(p)])
            connect(b, &QAbstractButton::clicked, this, [this, p] { ProfileButtonClick(p); });
    }
    for (int g = 0; g < kModeCount; ++g) {
        if (QAbstractButton* b = m_buttons.modes[std::size_t(g)])
            connect(b, &QAbstractButton::clicked, this, [this, g] { ModeButtonClick(g); });
    }
    if (m_buttons.preset) {
        connect(m_buttons.preset, &QAbstractButton::clicked, this, [this] {
            m_presetMenu->ShowMainMenu(m_buttons.preset, TPlacement::vgPlacementRightCenter);
        });
    }
    if (m_buttons.resetAll)
        connect(m_buttons.resetAll, &QAbstractButton::clicked, this, [this] { ResetAllClick(); });
}

ProfileControls::~ProfileControls() = default;

void ProfileControls::ProfileButtonClick(int profileIndex)
{
    QAbstractButton* button = m_buttons.profiles[std::size_t(profileIndex)];
    if (button)
        button->setEnabled(false);
    SwitchReport report;
    try {
        if (!m_ctx.runDeviceSequence([&] {
                SwitchProfile(*m_ctx.dm, *m_ctx.device, *m_ctx.state, *m_ctx.host, profileIndex, &report);
            }))
            showSelection(); // another sequence runs: nothing was switched
    } catch (const StorageError& error) {
        // Nothing was switched; the clicked button must not look pressed.
        showSelection();
        showProblem(shownText("The profile could not be stored."), error.message());
    }
    if (!report.profileIdError.isEmpty()) {
        // The switch stands (stored, and the mouse was told); only other
        // programs reading "ProfileID" still see the old profile.
        showProblem(shownText("The current profile number could not be recorded for the monitor program."),
                    report.profileIdError);
    }
    if (button)
        button->setEnabled(true);
}

void ProfileControls::ModeButtonClick(int modeIndex)
{
    QAbstractButton* button = m_buttons.modes[std::size_t(modeIndex)];
    if (button)
        button->setEnabled(false);
    for (int g = 0; g < kModeCount; ++g) {
        if (QAbstractButton* b = m_buttons.modes[std::size_t(g)])
            b->setChecked(g == modeIndex);
    }
    if (modeIndex != m_ctx.dm->FProfileGroupIndex()) {
        try {
            if (!m_ctx.runDeviceSequence([&] {
                    SwitchMode(*m_ctx.dm, *m_ctx.device, *m_ctx.state, *m_ctx.host, modeIndex);
                }))
                showSelection(); // another sequence runs: nothing was switched
        } catch (const StorageError& error) {
            showSelection();
            showProblem(shownText("The profile could not be stored."), error.message());
        }
        // The buttons show the mode in force: the old one when the switch
        // was refused (another program holds the mouse) or failed to store.
        for (int g = 0; g < kModeCount; ++g) {
            if (QAbstractButton* b = m_buttons.modes[std::size_t(g)])
                b->setChecked(g == m_ctx.dm->FProfileGroupIndex());
        }
    }
    if (button)
        button->setEnabled(true);
}

void ProfileControls::ResetAllClick()
{
    const int answer = m_ctx.showMessage(shownText("Reset This Profile"), shownText("Are you sure you want to reset this profile ?"),
                                         shownText("Reset the current profile back to factory setting."));
    if (answer != 1)
        return;
    m_ctx.dm->RestoreCurrentProfileInfoToDefault();
    if (m_ctx.setPreSavedLedConfig)
        m_ctx.setPreSavedLedConfig(m_ctx.dm->FCurrentProfileInfo().ConfigInfo.LEDConfig);
    if (m_ctx.refreshPages)
        m_ctx.refreshPages();
    m_ctx.state->SettingsChanged = true;
}

void ProfileControls::PresetItemClick(int item)
{
    try {
        switch (item) {
        case ShortGame:
        case RealTimeStrategy:
        case RolePlaying:
            loadPreset(item);
            break;
        case ReadFromMouse:
            readFromMouse();
            break;
        case LoadFromFile:
            loadFromFile();
            break;
        case SaveToFile:
            saveToFile();
            break;
        default:
            break;
        }
    } catch (const StorageError& error) {
        showProblem(shownText("The profile could not be stored."), error.message());
    }
}

void ProfileControls::loadPreset(int n)
{
    ProfileFileResult result;
    store([&] { result = LoadPresetProfile(*m_ctx.dm, PresetProfileFile(m_ctx.programFolder, n)); });
    if (result.status == ProfileFileStatus::Missing)
        showProblem(shownText("The preset profile is missing."), PresetProfileFile(m_ctx.programFolder, n));
    else if (!result.done())
        showProblem(shownText("This file is not a profile of this program."), PresetProfileFile(m_ctx.programFolder, n));
    else
        afterLoad();
}

void ProfileControls::readFromMouse()
{
    if (!m_ctx.device || !m_ctx.host)
        return;
    TDM& dm = *m_ctx.dm;
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    *profile = dm.FCurrentProfileInfo();
    QString problem;
    const bool ran = m_ctx.runDeviceSequence(
        [&] { problem = ReadMouseBank(*m_ctx.device, *m_ctx.host, dm.FProfileGroupIndex(), *profile); });
    if (!ran)
        return;
    if (!problem.isEmpty()) {
        showProblem(shownText("The settings could not be read from the mouse."), problem);
        return;
    }
    dm.FCurrentProfileInfo() = *profile;
    m_ctx.state->SettingsChanged = true;
    afterLoad();
}

void ProfileControls::loadFromFile()
{
    if (!m_ctx.dialogs)
        return;
    const QString file = m_ctx.dialogs->openProfileFile(m_ctx.window, profileFolder());
    if (file.isEmpty())
        return;
    ProfileFileResult result;
    store([&] { result = ImportProfileFile(*m_ctx.dm, file); });
    if (result.status == ProfileFileStatus::NotAProfile || result.status == ProfileFileStatus::Missing)
        showProblem(shownText("This file is not a profile of this program."), file);
    else if (!result.done())
        showProblem(shownText("The profile could not be stored."), result.problem);
    else
        afterLoad();
}

void ProfileControls::saveToFile()
{
    if (!m_ctx.dialogs)
        return;
    const QString file = WithProfileFileSuffix(m_ctx.dialogs->saveProfileFile(m_ctx.window, profileFolder()));
    if (file.isEmpty())
        return;
    ProfileFileResult result;
    store([&] { result = ExportProfileFile(*m_ctx.dm, file); });
    if (!result.done())
        showProblem(shownText("No permission to save file!please change directory!"), file);
}

QString ProfileControls::profileFolder() const
{
    return m_ctx.profileFolder ? m_ctx.profileFolder() : QString();
}

void ProfileControls::afterLoad()
{
    if (m_ctx.refreshPages)
        m_ctx.refreshPages();
}

void ProfileControls::showSelection()
{
    for (int g = 0; g < kModeCount; ++g) {
        if (QAbstractButton* b = m_buttons.modes[std::size_t(g)])
            b->setChecked(g == m_ctx.dm->FProfileGroupIndex());
    }
    for (int p = 0; p < kProfileCount; ++p) {
        if (QAbstractButton* b = m_buttons.profiles[std::size_t(p)])
            b->setChecked(p == m_ctx.dm->FProfileIndex());
    }
}

void ProfileControls::store(const std::function<void()>& work)
{
    if (m_ctx.host)
        m_ctx.host->runStorage(work);
    else
        work();
}

void ProfileControls::showProblem(const QString& text, const QString& second)
{
    if (m_ctx.showMessage)
        m_ctx.showMessage(shownText("Warning"), text, second);
}

} // namespace k4812
