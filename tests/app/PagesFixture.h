#pragma once
// The three pages and the profile controls on one window, against an
// emulated mouse (kept in a state file, so k4812ctl can look at it), a
// profile manager in a temporary home, a recording sequence host and a
// pending-action timer that tests end by hand.

#include "app/pages/AdvancedPage.h"
#include "app/pages/ProfileControls.h"
#include "app/pages/SensitivityPage.h"
#include "app/pages/SystemSettingPage.h"
#include "i18n/Translation.h"
#include "platform/desktop/JournalPointerSettings.h"
#include "emulator/EmulatorHidBackend.h"

#include "RecordingHost.h"
#include "ManualActionTimer.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include <deque>

namespace k4812::test {

// File dialogs that hand out queued answers.
class QueuedFileDialogs final : public ProfileFileDialogs {
public:
    QString openProfileFile(QWidget*, const QString& folder) override { return next(folder); }
    QString saveProfileFile(QWidget*, const QString& folder) override { return next(folder); }

    std::deque<QString> answers;
    QStringList folders;

private:
    QString next(const QString& folder)
    {
        folders << folder;
        if (answers.empty())
            return {};
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

class PagesFixture : public ::testing::Test {
protected:
    PagesFixture()
        : host([this] { return logSize(); }, env.path("pointer.journal"))
    {
        // The texts compared below are English; a window test before may have left another language active.
        clearActiveTranslation();
        QString error;
        auto backend = EmulatorHidBackend::create(stateFile(), EmulatorFaults{}, error);
        EXPECT_TRUE(backend) << error.toStdString();
        emulator = backend.get();
        device = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});

        TDM::Options options;
        options.languageId = QStringLiteral("0409");
        options.configFile = env.path("program/config.ini");
        dm = std::make_unique<TDM>(options);
        state.SystemMouseParams = SystemMouseParamsOf(dm->FCurrentProfileInfo());
        preSavedLight = dm->FCurrentProfileInfo().ConfigInfo.LEDConfig;

        auto ownedTimer = std::make_unique<ManualActionTimer>();
        timer = ownedTimer.get();
        pending = std::make_unique<PendingSystemAction>(std::move(ownedTimer), [this](const QString& action) {
            ApplySystemAction(journal, action, dm->FCurrentProfileInfo(), state.SystemMouseParams);
        });

        PageContext context;
        context.dm = dm.get();
        context.state = &state;
        context.initializing = [this] { return initializing; };
        context.pendingAction = pending.get();
        context.preSavedLedConfig = [this] { return preSavedLight; };
        context.device = device.get();
        context.host = [this] { return &host; };
        context.runDeviceSequence = [this](const std::function<void()>& sequence) { return run(sequence); };
        sensitivity = new SensitivityPage(context, &window);
        advanced = new AdvancedPage(context, &window);
        system = new SystemSettingPage(context, &window);

        ProfileControls::Buttons buttons;
        for (int p = 0; p < kProfileCount; ++p)
            buttons.profiles[std::size_t(p)] = checkable(QStringLiteral("PROFILE%1").arg(p + 1));
        for (int g = 0; g < kModeCount; ++g)
            buttons.modes[std::size_t(g)] = checkable(QStringLiteral("Mode %1").arg(g + 1));
        buttons.preset = checkable(QStringLiteral("PRESET"));
        buttons.resetAll = checkable(QStringLiteral("Reset All"));
        ProfileControls::Context controlsContext;
        controlsContext.dm = dm.get();
        controlsContext.state = &state;
        controlsContext.device = device.get();
        controlsContext.host = &host;
        controlsContext.runDeviceSequence = context.runDeviceSequence;
        controlsContext.showMessage = [this](const QString& title, const QString& text, const QString& second) {
            questions << title + QLatin1Char('|') + text + QLatin1Char('|') + second;
            return answer;
        };
        controlsContext.refreshPages = [this] { refresh(); };
        controlsContext.setPreSavedLedConfig = [this](const TLEDCONFIG& light) { preSavedLight = light; };
        controlsContext.dialogs = &dialogs;
        controlsContext.programFolder = env.path("program");
        controlsContext.profileFolder = [this] { return dm->profilesFolder(); };
        controlsContext.window = &window;
        controls = new ProfileControls(controlsContext, buttons, &window);

        // Start-up: filled while initializing, then the window takes edits.
        initializing = true;
        refresh();
        initializing = false;
        state.SettingsChanged = false;
    }

    QString stateFile() const { return env.path("mouse.state"); }
    std::size_t logSize() { return emulator ? emulator->mouse().log().size() : 0; }

    // The window's page refresh: every page's fill command, in the registry's order.
    void refresh()
    {
        sensitivity->SetCPI();
        system->LoadSystemPage();
        advanced->LoadAdvancedPage();
    }

    bool run(const std::function<void()>& sequence)
    {
        if (busy)
            return false;
        busy = true;
        sequence();
        busy = false;
        ++sequences;
        return true;
    }

    template <class T>
    T* find(const QString& name)
    {
        T* child = window.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }

    TMOUSECONFIGINFO& config() { return dm->FCurrentProfileInfo().ConfigInfo; }

    QStringList journalLines() const
    {
        return QString::fromUtf8(readFile(env.path("actions.journal"))).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    TestEnvironment env;
    EmulatorHidBackend* emulator = nullptr;
    std::unique_ptr<TuiHIDData> device;
    RecordingHost host;
    std::unique_ptr<TDM> dm;
    MainWindowState state;
    TLEDCONFIG preSavedLight{};
    JournalPointerSettings journal{env.path("actions.journal")};
    ManualActionTimer* timer = nullptr;
    std::unique_ptr<PendingSystemAction> pending;
    bool initializing = false;
    bool busy = false;
    int sequences = 0;
    QStringList questions;
    int answer = 1;
    QueuedFileDialogs dialogs;

    QWidget window;
    SensitivityPage* sensitivity = nullptr;
    AdvancedPage* advanced = nullptr;
    SystemSettingPage* system = nullptr;
    ProfileControls* controls = nullptr;

private:
    QAbstractButton* checkable(const QString& name)
    {
        auto* b = new QPushButton(name, &window);
        b->setObjectName(name);
        b->setCheckable(true);
        return b;
    }
};

} // namespace k4812::test
