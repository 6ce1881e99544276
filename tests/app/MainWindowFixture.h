#pragma once
// The main window over an in-memory emulated mouse, in a home folder of its
// own, with its clock, its waits, its message dialog and the monitor program
// replaced by recorders: no sleeping, no processes, no person at the dialog.

#include "app/MainWindow.h"

#include "emulator/EmulatorFaults.h"
#include "emulator/EmulatorHidBackend.h"
#include "platform/desktop/TuiThread.h"
#include "profiles/ProfileManager.h"

#include "FakeEventScheduler.h"
#include "TestEnvironment.h"

#include <QAbstractButton>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <memory>

namespace k4812::test {

class QuietSource final : public HotplugSource {};

class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture()
    {
        env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR)); // the built ui.local
        // The desktop's own pointer settings stay untouched; a test that
        // looks at them chooses a back end.
        env.set("K4812_POINTER_SETTINGS", QStringLiteral("none"));
        dm = std::make_unique<TDM>();
        auto backend = std::make_unique<EmulatorHidBackend>();
        emulator = backend.get();
        hid = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
    }

    ~MainWindowFixture() override
    {
        window.reset();
        // An apply hands the pointer settings to a worker; it must end before
        // the environment it reads is put back.
        TuiThread::waitForAll();
        EXPECT_TRUE(answers.empty()) << "answers left for dialogs that were never shown";
    }

    void setFaults(const char* text)
    {
        QString error;
        emulator->mouse().setFaults(parseEmulatorFaults(QString::fromLatin1(text), error).value());
    }

    TK4812CfgMain::Services services()
    {
        TK4812CfgMain::Services s;
        s.scheduler = &clock;
        s.wait = [this](int ms) {
            waits.push_back(ms);
            if (duringWait)
                duringWait();
        };
        s.monitor = {[] { return false; }, [] {}, [this](const QString& program, const QString&) {
                         monitorStarts << program;
                         return true;
                     }};
        s.hotplugSource = [] { return std::make_unique<QuietSource>(); };
        s.messageDialog = [this](const QString& title, const QString& text, const QString& second) {
            dialogs << title + QLatin1Char('|') + text + QLatin1Char('|') + second;
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected dialog: " << dialogs.last().toStdString();
                return 2;
            }
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        };
        s.helpDialog = [this](TK4812CfgMain&) { ++helpShown; };
        return s;
    }

    // The window, made and started; FormCreate's result in `started`.
    TK4812CfgMain& open()
    {
        window = std::make_unique<TK4812CfgMain>(*dm, *hid, services());
        started = window->FormCreate();
        if (started)
            window->show();
        return *window;
    }

    template <typename T = QAbstractButton>
    T* control(const char* name)
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Reports the mouse was sent (set feature reports).
    std::size_t reportsSent()
    {
        std::size_t n = 0;
        for (const MouseEmulator::LogEntry& entry : emulator->mouse().log())
            n += entry.kind == MouseEmulator::LogEntry::Set ? 1 : 0;
        return n;
    }

    TestEnvironment env;
    std::unique_ptr<TDM> dm;
    EmulatorHidBackend* emulator = nullptr;
    std::unique_ptr<TuiHIDData> hid;
    FakeEventScheduler clock;
    std::vector<int> waits;
    std::function<void()> duringWait;
    QStringList monitorStarts;
    QStringList dialogs;
    std::deque<int> answers;
    int helpShown = 0;
    std::unique_ptr<TK4812CfgMain> window;
    bool started = false;
};

} // namespace k4812::test
