// The monitor's tray menu, driven by its actions' object names: the mode
// and profile entries switch the emulated mouse and follow its state, "Use
// Mode N for <app>" stores a rule, "Start with the desktop" writes and
// removes the autostart entry, and the texts follow the language, the
// reasons given for not switching included.

#include "app/MonitorTray.h"

#include "emulator/EmulatorHidBackend.h"
#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"
#include "monitor/Autostart.h"
#include "profiles/ProfileManager.h"
#include "platform/desktop/DeviceSequenceLock.h"
#include "platform/desktop/RuntimeFolder.h"
#include "wire/MemoryMap.h"

#include "TestEnvironment.h"

#include <QAction>
#include <QFile>
#include <QMenu>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::readFile;
using k4812::test::TestEnvironment;

namespace {

class NoPauses final : public SequenceHost {
public:
    void pause(int) override {}
    SendResult sendToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
    SendResult postToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
};

class MonitorTrayTest : public ::testing::Test {
protected:
    MonitorTrayTest()
    {
        // Another test of this program may have left its language active.
        clearActiveTranslation();
        env.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR)); // the built ui.local
        QString error;
        auto backend = EmulatorHidBackend::create(env.path("emu/mouse.state"), EmulatorFaults{}, error);
        emulator = backend.get();
        device = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
        MonitorService::Options options;
        options.deviceWaitMs = 0;   // a mouse held elsewhere refuses at once
        service = std::make_unique<MonitorService>(*device, host, options);
        service->core().setWindowNotifier([](const WindowMessage&) { return SendResult{SendStatus::NoWindow, 0, {}}; });
        EXPECT_TRUE(service->start(error)) << error.toStdString();
        MonitorTray::Actions actions;
        actions.quit = [this] { ++quits; };
        actions.openSettings = [this] {
            ++settingsOpened;
            return openProblem;
        };
        actions.monitorProgram = QStringLiteral("/usr/bin/REvo2");
        tray = std::make_unique<MonitorTray>(*service, actions);
    }
    ~MonitorTrayTest() override { clearActiveTranslation(); }

    QAction* action(const char* name)
    {
        QAction* found = tray->menu()->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TestEnvironment env;
    EmulatorHidBackend* emulator = nullptr;
    NoPauses host;
    std::unique_ptr<TuiHIDData> device;
    std::unique_ptr<MonitorService> service;
    std::unique_ptr<MonitorTray> tray;
    int quits = 0;
    int settingsOpened = 0;
    QString openProblem;   // why "Open settings" could not open the window
};

} // namespace

TEST_F(MonitorTrayTest, ModeAndProfileEntriesSwitchTheMouseAndShowItsState)
{
    EXPECT_TRUE(action("mode1")->isChecked());
    EXPECT_TRUE(action("profile1")->isChecked());
    const QImage mode1Icon = tray->icon().pixmap(32).toImage();

    action("mode2")->trigger();
    EXPECT_EQ(emulator->mouse().state().memory.at(kActiveBankAddress), 1);
    EXPECT_TRUE(action("mode2")->isChecked());
    EXPECT_TRUE(action("profile2")->isChecked()) << "the profiles are those of the active mode";
    EXPECT_NE(tray->icon().pixmap(32).toImage(), mode1Icon) << "the icon shows the active mode";

    action("profile4")->trigger();
    EXPECT_EQ(TDM().FProfileSettingGroup().ProfileIndexOfProfileGroup[1], 3);
    EXPECT_TRUE(action("profile4")->isChecked());
    EXPECT_TRUE(tray->toolTip().contains(QLatin1String("Mode 1: profile 1\nMode 2: profile 4 *")))
        << tray->toolTip().toStdString();
    EXPECT_TRUE(tray->toolTip().contains(QLatin1String("Mouse: connected")));

    action("openSettings")->trigger();
    action("quit")->trigger();
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(quits, 1);
}

TEST_F(MonitorTrayTest, UseModeForTheFocusedApplicationStoresARule)
{
    EXPECT_FALSE(action("useModeForApp")->isEnabled()) << "no application has the focus yet";
    action("mode2")->trigger();
    service->focusChanged(QStringLiteral("Steam"));
    ASSERT_TRUE(action("useModeForApp")->isEnabled());
    EXPECT_EQ(action("useModeForApp")->text(), QStringLiteral("Use Mode 2 for Steam"));
    action("useModeForApp")->trigger();
    QString error;
    const auto settings = MonitorSettings::load(MonitorSettings::defaultPath(), error);
    ASSERT_TRUE(settings) << error.toStdString();
    EXPECT_EQ(settings->rules, (std::map<QString, int>{{QStringLiteral("Steam"), 1}}));
    EXPECT_TRUE(service->hasWork()) << "with a rule the monitor stays";
}

TEST_F(MonitorTrayTest, StartWithTheDesktopWritesAndRemovesTheAutostartEntry)
{
    ASSERT_TRUE(autostartEntryPath().startsWith(env.home()));
    EXPECT_FALSE(action("startWithDesktop")->isChecked());
    action("startWithDesktop")->trigger();
    EXPECT_TRUE(action("startWithDesktop")->isChecked());
    const QByteArray entry = readFile(autostartEntryPath());
    EXPECT_TRUE(entry.contains("\nExec=\"/usr/bin/REvo2\" --with-desktop\n")) << entry.toStdString();
    EXPECT_TRUE(entry.contains("\nTryExec=/usr/bin/REvo2\n")) << "inert once the program is uninstalled";
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    action("startWithDesktop")->trigger();
    EXPECT_FALSE(action("startWithDesktop")->isChecked());
    EXPECT_FALSE(autostartEnabled());
}

TEST_F(MonitorTrayTest, TextsFollowTheLanguage)
{
    struct Case {
        const char* language;
        const char* quit;
        const char* start;
    };
    for (const Case& c : {Case{"0804", "退出", "随桌面启动"}, Case{"0404", "結束", "隨桌面啟動"},
                          Case{"0409", "Quit", "Start with the desktop"}}) {
        TuiLanguage language;
        language.SetLang(QString::fromLatin1(c.language));
        tray->retranslate();
        EXPECT_EQ(action("quit")->text(), QString::fromUtf8(c.quit)) << c.language;
        EXPECT_EQ(action("startWithDesktop")->text(), QString::fromUtf8(c.start)) << c.language;
    }
}

TEST_F(MonitorTrayTest, WhyNothingSwitchesIsToldInTheLanguage)
{
    TuiLanguage language;
    language.SetLang(QStringLiteral("0804"));
    service->setFocusSource(nullptr,
                            QStringLiteral("GNOME on Wayland does not let programs learn which window has the focus"));
    tray->refresh();
    EXPECT_TRUE(tray->toolTip().contains(QStringLiteral("不自动切换：Wayland 下的 GNOME 不允许程序得知哪个窗口拥有焦点")))
        << tray->toolTip().toStdString();

    // Another program holds the mouse (as the window does while it applies).
    QStringList problems;
    QObject::connect(tray.get(), &MonitorTray::problemShown, [&problems](const QString& text) { problems << text; });
    // Another program holds the mouse, as the window does while it applies
    // (its own lock file, open apart from this process's).
    std::vector<int> held;
    for (const QString& key : device->lockIdentities()) {
        const QByteArray path =
            QFile::encodeName(runtimeFolder() + QLatin1Char('/') + DeviceSequenceLock::lockFileName(key));
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0) << path.constData();
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        ASSERT_GT(::pwrite(fd, "4711 k4812-config\n", 18, 0), 0);
        held.push_back(fd);
    }
    ASSERT_FALSE(held.empty());
    action("mode2")->trigger();
    EXPECT_EQ(emulator->mouse().state().memory.at(kActiveBankAddress), 0);
    EXPECT_TRUE(action("mode1")->isChecked()) << "the menu shows the mode the mouse is in";
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems[0], QStringLiteral("模式未切换：鼠标正被 k4812-config（进程 4711）使用；请在其完成后重试"));

    for (const int fd : held)
        ::close(fd);
    action("mode1")->trigger();
    EXPECT_EQ(problems.size(), 1) << "the mode that is active already is no switch and no problem";

    openProblem = QStringLiteral("this Wayland desktop does not let programs bring another program's window forward");
    action("openSettings")->trigger();
    ASSERT_EQ(problems.size(), 2);
    EXPECT_EQ(problems[1], QStringLiteral("此 Wayland 桌面不允许程序将其他程序的窗口调到前台"));
}
