// The monitor following the focus on an emulated mouse: the mouse's
// selection byte follows the rules, an unchanged wish sends nothing, a second
// switch within a second waits for its turn, and only one monitor runs.

#include "monitor/MonitorService.h"

#include "emulator/EmulatorHidBackend.h"
#include "wire/MemoryMap.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

class NoPauses final : public SequenceHost {
public:
    void pause(int ms) override
    {
        if (onPause)
            onPause(ms);
    }
    std::function<void(int)> onPause;
    SendResult sendToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
    SendResult postToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
};

// A desktop whose focus the test moves.
class FakeFocus final : public FocusSource {
public:
    QString name() const override { return QStringLiteral("fake"); }
    bool start(QString&) override { return true; }
    void focus(const QString& app) { emit focusChanged(app); }
};

class MonitorServiceTest : public ::testing::Test {
protected:
    MonitorServiceTest()
    {
        QString error;
        auto backend = EmulatorHidBackend::create(env.path("emu/mouse.state"), EmulatorFaults{}, error);
        emulator = backend.get();
        device = std::make_unique<TuiHIDData>(std::move(backend), QStringList{});
        MonitorSettings settings;
        settings.rules = {{QStringLiteral("Game"), 1}};
        settings.returnMode = 0;
        settings.save(MonitorSettings::defaultPath());
    }

    std::unique_ptr<MonitorService> startService(FakeFocus*& focus)
    {
        auto service = std::make_unique<MonitorService>(*device, host, MonitorService::Options{});
        service->setClock([this] { return now; });
        service->core().setWindowNotifier([](const WindowMessage&) { return SendResult{SendStatus::NoWindow, 0, {}}; });
        QString error;
        EXPECT_TRUE(service->start(error)) << error.toStdString();
        auto source = std::make_unique<FakeFocus>();
        focus = source.get();
        service->setFocusSource(std::move(source), {});
        return service;
    }

    std::uint8_t selectionByte() { return emulator->mouse().state().memory.at(kActiveBankAddress); }
    std::size_t reports() { return emulator->mouse().log().size(); }

    TestEnvironment env;
    EmulatorHidBackend* emulator = nullptr;
    std::unique_ptr<TuiHIDData> device;
    NoPauses host;
    qint64 now = 100'000;
};

} // namespace

TEST_F(MonitorServiceTest, TheSelectionByteFollowsTheFocusedApplication)
{
    FakeFocus* focus = nullptr;
    const auto service = startService(focus);
    std::vector<int> switched;
    QObject::connect(service.get(), &MonitorService::modeSwitched, [&](int mode) { switched.push_back(mode); });

    focus->focus(QStringLiteral("Game"));
    EXPECT_EQ(selectionByte(), 1);
    const std::size_t afterFirst = reports();

    now += 5000;
    focus->focus(QStringLiteral("Game"));   // e.g. another window of the game
    EXPECT_EQ(reports(), afterFirst) << "no switch when nothing changes";

    focus->focus(QStringLiteral("Terminal"));
    EXPECT_EQ(selectionByte(), 0);
    const std::size_t afterSecond = reports();

    // Back to the game 300 ms later: held back, not sent.
    now += 300;
    focus->focus(QStringLiteral("Game"));
    EXPECT_EQ(reports(), afterSecond) << "never two switches in one second";
    now += 699;
    service->tick();
    EXPECT_EQ(reports(), afterSecond);
    now += 1;
    service->tick();
    EXPECT_EQ(selectionByte(), 1);
    EXPECT_EQ(switched, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(service->status().focusedApp, QStringLiteral("Game"));
}

TEST_F(MonitorServiceTest, RulesChangedByTheCommandLineCountFromTheNextFocus)
{
    FakeFocus* focus = nullptr;
    const auto service = startService(focus);
    EXPECT_TRUE(service->hasWork());
    MonitorSettings settings = service->settings();
    settings.rules[QStringLiteral("Editor")] = 1;
    settings.save(MonitorSettings::defaultPath());   // as k4812ctl does
    focus->focus(QStringLiteral("Editor"));
    EXPECT_EQ(selectionByte(), 1);
}

TEST_F(MonitorServiceTest, OneMonitorPerSession)
{
    FakeFocus* focus = nullptr;
    const auto first = startService(focus);
    MonitorService second(*device, host, MonitorService::Options{});
    QString error;
    EXPECT_FALSE(second.start(error));
    EXPECT_TRUE(error.contains(QLatin1String("runs already"))) << error.toStdString();
}

TEST_F(MonitorServiceTest, WithoutRulesOrTheDesktopItHasNoWorkOfItsOwn)
{
    MonitorSettings{}.save(MonitorSettings::defaultPath());
    for (const bool withDesktop : {false, true}) {
        MonitorService::Options options;
        options.startedWithDesktop = withDesktop;
        MonitorService service(*device, host, options);
        QString error;
        ASSERT_TRUE(service.start(error)) << error.toStdString();
        EXPECT_EQ(service.hasWork(), withDesktop);
    }
}

TEST_F(MonitorServiceTest, AFocusChangeDuringASwitchIsTakenUpAfterItNotInsideIt)
{
    FakeFocus* focus = nullptr;
    const auto service = startService(focus);
    std::vector<int> started;
    QObject::connect(service.get(), &MonitorService::switchStarting, [&](int mode) { started.push_back(mode); });
    // The switch's pauses run the event loop; the focus moves meanwhile.
    bool moved = false;
    host.onPause = [&](int) {
        if (!moved) {
            moved = true;
            focus->focus(QStringLiteral("Terminal"));
        }
    };
    focus->focus(QStringLiteral("Game"));
    EXPECT_EQ(started, std::vector<int>{1}) << "no second switch may start inside the first";
    EXPECT_EQ(selectionByte(), 1);
    EXPECT_EQ(service->status().focusedApp, QStringLiteral("Terminal"));

    // Terminal's wish came within the second: it is made when that is over.
    now += 1000;
    service->tick();
    EXPECT_EQ(started, (std::vector<int>{1, 0}));
    EXPECT_EQ(selectionByte(), 0);
}
