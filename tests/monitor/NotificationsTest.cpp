// Notifications: the D-Bus call reaches a notification service (a recorder
// on a private session bus), each bubble replaces the one before, and the
// monitor notifies of its own switches and of the mouse coming and going,
// each only while switched on in its settings.

#include "monitor/DesktopNotifier.h"
#include "monitor/MonitorService.h"

#include "emulator/EmulatorHidBackend.h"
#include "platform/hid/HotplugSource.h"

#include "PrivateBus.h"
#include "QtEventLoop.h"
#include "TestEnvironment.h"

#include <QDBusConnection>
#include <QProcess>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

class NotificationRecorder final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString app;
        uint replaces;
        QString summary;
        QString body;
    };
    std::vector<Call> calls;

public slots:
    uint Notify(const QString& app, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int)
    {
        calls.push_back({app, replaces, summary, body});
        return 40 + uint(calls.size());
    }
};

class FakeHotplug final : public HotplugSource {
public:
    void event() { emit deviceEvent(HotplugAction::Add); }
};

class NoPauses final : public SequenceHost {
public:
    void pause(int) override {}
    SendResult sendToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
    SendResult postToMonitor(const WindowMessage&) override { return {SendStatus::Answered, 0, {}}; }
};

} // namespace

TEST(DesktopNotifier, BubblesReachTheServiceAndReplaceEachOther)
{
    test::PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    QDBusConnection service = QDBusConnection::connectToBus(bus.address, QStringLiteral("recorder"));
    NotificationRecorder recorder;
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder,
                                       QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));

    DesktopNotifier notifier(QDBusConnection::connectToBus(bus.address, QStringLiteral("notifier")));
    ASSERT_TRUE(notifier.notify(QStringLiteral("Switched to Mode 2"), QStringLiteral("Mode 2: profile 4")));
    ASSERT_TRUE(test::runEventsUntil([&] { return recorder.calls.size() == 1; }, 10000));
    // The answer (the id) must arrive before the next call can replace it.
    ASSERT_TRUE(test::runEventsUntil([&] { return notifier.lastId() == 41; }, 10000));
    ASSERT_TRUE(notifier.notify(QStringLiteral("Mouse disconnected"), QString()));
    ASSERT_TRUE(test::runEventsUntil([&] { return recorder.calls.size() == 2; }, 10000));

    EXPECT_EQ(recorder.calls[0].app, QStringLiteral("Gaming Mouse Driver"));
    EXPECT_EQ(recorder.calls[0].summary, QStringLiteral("Switched to Mode 2"));
    EXPECT_EQ(recorder.calls[0].body, QStringLiteral("Mode 2: profile 4"));
    EXPECT_EQ(recorder.calls[0].replaces, 0u);
    EXPECT_EQ(recorder.calls[1].replaces, 41u);
    QDBusConnection::disconnectFromBus(QStringLiteral("recorder"));
    QDBusConnection::disconnectFromBus(QStringLiteral("notifier"));
}

TEST(DesktopNotifier, WithoutABusNothingIsSentAndTheCallerIsTold)
{
    DesktopNotifier notifier(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                           QStringLiteral("nowhere")));
    EXPECT_FALSE(notifier.notify(QStringLiteral("Mouse connected"), QString()));
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

TEST(MonitorNotifications, SwitchesAndPlugEventsNotifyWhileSwitchedOn)
{
    TestEnvironment env;
    QString error;
    auto backend = EmulatorHidBackend::create(env.path("emu/mouse.state"), EmulatorFaults{}, error);
    EmulatorHidBackend* emulator = backend.get();
    TuiHIDData device(std::move(backend), QStringList{});
    NoPauses host;
    FakeHotplug hotplug;

    for (const bool on : {true, false}) {
        MonitorSettings settings;
        settings.notifySwitch = on;
        settings.notifyPlug = on;
        settings.save(MonitorSettings::defaultPath());
        MonitorService service(device, host, MonitorService::Options{});
        service.core().setWindowNotifier([](const WindowMessage&) { return SendResult{SendStatus::NoWindow, 0, {}}; });
        std::vector<std::pair<QString, QString>> shown;
        service.setNotifier([&](const QString& summary, const QString& body) { shown.emplace_back(summary, body); });
        ASSERT_TRUE(service.start(error)) << error.toStdString();
        service.watchHotplug(hotplug);

        const int mode = on ? 1 : 0;
        ASSERT_TRUE(service.switchMode(mode).switched);
        hotplug.event();   // the mouse still there: no news
        EmulatorFaults unplugged;
        unplugged.absent = true;
        emulator->mouse().setFaults(unplugged);
        hotplug.event();
        emulator->mouse().setFaults({});
        hotplug.event();

        if (!on) {
            EXPECT_TRUE(shown.empty());
            continue;
        }
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_EQ(shown[0].first, QStringLiteral("Switched to Mode 2"));
        EXPECT_EQ(shown[0].second, QStringLiteral("Mode 2: profile 2"));
        EXPECT_EQ(shown[1].first, QStringLiteral("Mouse disconnected"));
        EXPECT_EQ(shown[2].first, QStringLiteral("Mouse connected"));
    }
}

#include "NotificationsTest.moc"
