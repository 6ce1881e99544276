// KDE Plasma's back end against the real kwriteconfig/kreadconfig (Debian's
// libkf5config-bin) writing into the test's own XDG_CONFIG_HOME, and against
// a stand-in for KWin's input devices (k4812-fake-kwin) on a private session
// bus. Every value is checked where Plasma reads it: with kreadconfig5, and
// from the device's D-Bus property.

#include "platform/desktop/KWinInputDevices.h"
#include "platform/desktop/KdeConfigTools.h"
#include "platform/desktop/KdePointerSettings.h"
#include "platform/kwin/KWinBusDevices.h"

#include "FakeKWinProcess.h"
#include "PrivateBus.h"
#include "TestEnvironment.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <functional>

using namespace k4812;
using k4812::test::FakeKWinProcess;
using k4812::test::TestEnvironment;

namespace {

using Call = std::function<PointerSettingResult(PointerSettings&)>;
using Session = KdePointerSettings::Session;

const QString kMouse = QStringLiteral("event5|1241|63015|USB Gaming Mouse");
const QString kSecondMouse = QStringLiteral("event6|1133|16505|Logitech G Pro");
const QString kTouchpad = QStringLiteral("event9|1739|52934|SYNA801A:00 06CB:CEC6 Touchpad|touchpad");
const QString kKeyboard = QStringLiteral("event3|1|1|AT Translated Set 2 keyboard|keyboard");
const QString kStuckMouse = QStringLiteral("event7|1|2|Old Trackball|stuck");

// What kreadconfig5 prints for a key: the test's own look, independent of the back end.
QString kread(const QString& file, const QStringList& groups, const QString& key)
{
    QStringList args{QStringLiteral("--file"), file};
    for (const QString& group : groups)
        args << QStringLiteral("--group") << group;
    args << QStringLiteral("--key") << key;
    QProcess process;
    process.start(QStringLiteral("kreadconfig5"), args);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString kreadDevice(const QString& vendor, const QString& product, const QString& name, const QString& key)
{
    return kread(QStringLiteral("kcminputrc"), {QStringLiteral("Libinput"), vendor, product, name}, key);
}

class KdePointerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("kwriteconfig5")).isEmpty())
            << "kwriteconfig5 is missing (Debian libkf5config-bin; scripts/install-deps.sh installs it)";
        ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
        connection = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address, kConnection));
        kwin = std::make_shared<KWinBusDevices>(*connection);
    }
    void TearDown() override
    {
        connection.reset();
        QDBusConnection::disconnectFromBus(kConnection);
    }

    KdePointerSettings backEnd(Session session, std::function<PointerSettingResult(const MouseAcceleration&)> x11 = {})
    {
        KdePointerSettings::Options options;
        options.session = session;
        options.tools = KdeConfigTools::choose(
            [](const QString& p) { return p.endsWith(QLatin1Char('5')) && !QStandardPaths::findExecutable(p).isEmpty(); });
        options.kwin = kwin;
        options.x11Acceleration = x11 ? x11 : [](const MouseAcceleration&) { return PointerSettingResult::Failed; };
        return KdePointerSettings(std::move(options));
    }

    QVariant deviceProperty(const QString& sysName, const QString& property)
    {
        QString error;
        return kwin->property(sysName, property, error).value_or(QVariant());
    }

    static inline const QString kConnection = QStringLiteral("kde-pointer-settings-test");
    TestEnvironment env;
    test::PrivateBus bus;
    std::unique_ptr<QDBusConnection> connection;
    std::shared_ptr<KWinInputDevices> kwin;
};

} // namespace

TEST_F(KdePointerSettingsTest, OnWaylandEachSettingReachesEveryMouseAndItsKcminputrcGroup)
{
    struct Case {
        const char* what;
        Call call;
        QString property;
        QVariant value;    // what KWin's property reads afterwards
        QString configKey; // in [Libinput][vendor][product][name]
        QString config;    // what kreadconfig5 prints
    };
    const Case cases[] = {
        {"acceleration off", [](PointerSettings& p) { return p.setMouseAcceleration({0, 0, 0}); },
         "pointerAccelerationProfileFlat", true, "PointerAccelerationProfile", "1"},
        {"acceleration on", [](PointerSettings& p) { return p.setMouseAcceleration({6, 10, 1}); },
         "pointerAccelerationProfileAdaptive", true, "PointerAccelerationProfile", "2"},
        {"two stages", [](PointerSettings& p) { return p.setMouseAcceleration({4, 6, 2}); },
         "pointerAccelerationProfileAdaptive", true, "PointerAccelerationProfile", "2"},
        {"slowest", [](PointerSettings& p) { return p.setMouseSpeed(1); }, "pointerAcceleration", -1.0,
         "PointerAcceleration", "-1.000"},
        {"slow", [](PointerSettings& p) { return p.setMouseSpeed(7); }, "pointerAcceleration", -1.0 / 3,
         "PointerAcceleration", "-0.333"},
        {"default", [](PointerSettings& p) { return p.setMouseSpeed(10); }, "pointerAcceleration", 0.0,
         "PointerAcceleration", "0.000"},
        {"fast", [](PointerSettings& p) { return p.setMouseSpeed(15); }, "pointerAcceleration", 0.5,
         "PointerAcceleration", "0.500"},
        {"fastest", [](PointerSettings& p) { return p.setMouseSpeed(20); }, "pointerAcceleration", 1.0,
         "PointerAcceleration", "1.000"},
        {"no scrolling", [](PointerSettings& p) { return p.setWheelScrollLines(0); }, "scrollFactor", 0.0,
         "ScrollFactor", "0"},
        {"one line", [](PointerSettings& p) { return p.setWheelScrollLines(1); }, "scrollFactor", 1.0 / 3,
         "ScrollFactor", "0.333333"},
        {"three lines", [](PointerSettings& p) { return p.setWheelScrollLines(3); }, "scrollFactor", 1.0,
         "ScrollFactor", "1"},
        {"one page", [](PointerSettings& p) { return p.setWheelScrollLines(20); }, "scrollFactor", 20.0 / 3,
         "ScrollFactor", "6.66667"},
    };
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {kMouse, kSecondMouse, kTouchpad, kKeyboard}));
    for (const Case& c : cases) {
        KdePointerSettings kde = backEnd(Session::Wayland);
        EXPECT_EQ(c.call(kde), PointerSettingResult::Applied) << c.what;
        for (const QString& sys : {QStringLiteral("event5"), QStringLiteral("event6")}) {
            const QVariant kept = deviceProperty(sys, c.property);
            if (c.value.typeId() == QMetaType::Bool)
                EXPECT_EQ(kept.toBool(), c.value.toBool()) << c.what << " on " << sys.toStdString();
            else
                EXPECT_NEAR(kept.toDouble(), c.value.toDouble(), 1e-6) << c.what << " on " << sys.toStdString();
        }
        EXPECT_EQ(kreadDevice("1241", "63015", "USB Gaming Mouse", c.configKey), c.config) << c.what;
        EXPECT_EQ(kreadDevice("1133", "16505", "Logitech G Pro", c.configKey), c.config) << c.what;
    }
    // The touchpad and the keyboard were left alone, in KWin and in the file.
    for (const QString& line : fake.lines())
        EXPECT_FALSE(line.startsWith(QLatin1String("set event9")) || line.startsWith(QLatin1String("set event3")))
            << line.toStdString();
    EXPECT_FALSE(QFile::exists(env.path(".config/kdeglobals")));
    EXPECT_FALSE(QString::fromUtf8(test::readFile(env.path(".config/kcminputrc"))).contains("Touchpad"));
}

TEST_F(KdePointerSettingsTest, TheDoubleClickTimeGoesToKdeglobalsAndTheRunningProgramsAreTold)
{
    for (const Session session : {Session::Wayland, Session::X11}) {
        FakeKWinProcess fake;
        ASSERT_TRUE(fake.start(bus.address, {kMouse}));
        KdePointerSettings kde = backEnd(session);
        EXPECT_EQ(kde.setDoubleClickTime(650), PointerSettingResult::Applied);
        EXPECT_EQ(kread("kdeglobals", {"KDE"}, "DoubleClickInterval"), "650");
        // KGlobalSettings.notifyChange(SettingsChanged, SETTINGS_MOUSE).
        EXPECT_TRUE(fake.waitForLine(QStringLiteral("notifyChange 3 0")));
    }
}

TEST_F(KdePointerSettingsTest, OnX11TheXServerTakesTheAccelerationAndKdeglobalsTheWheel)
{
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {kMouse}));
    struct Case {
        const char* what;
        MouseAcceleration value;
        PointerSettingResult x11;
        PointerSettingResult result;
        QString acceleration; // kcminputrc [Mouse], as Plasma's X11 mouse module keeps it
        QString threshold;
        QString flat;
    };
    const Case cases[] = {
        {"on", {6, 10, 1}, PointerSettingResult::Applied, PointerSettingResult::Applied, "2", "6", "false"},
        {"two stages, X has one", {4, 6, 2}, PointerSettingResult::Approximated, PointerSettingResult::Approximated,
         "2", "4", "false"},
        {"off keeps the threshold", {0, 0, 0}, PointerSettingResult::Applied, PointerSettingResult::Applied, "1", "4",
         "true"},
    };
    for (const Case& c : cases) {
        std::vector<MouseAcceleration> asked;
        KdePointerSettings kde = backEnd(Session::X11, [&](const MouseAcceleration& v) {
            asked.push_back(v);
            return c.x11;
        });
        EXPECT_EQ(kde.setMouseAcceleration(c.value), c.result) << c.what;
        EXPECT_EQ(asked, std::vector<MouseAcceleration>{c.value}) << c.what;
        EXPECT_EQ(kread("kcminputrc", {"Mouse"}, "Acceleration"), c.acceleration) << c.what;
        EXPECT_EQ(kread("kcminputrc", {"Mouse"}, "Threshold"), c.threshold) << c.what;
        EXPECT_EQ(kread("kcminputrc", {"Mouse"}, "XLbInptAccelProfileFlat"), c.flat) << c.what;
    }
    // What the X server did not keep is not saved either.
    const QByteArray saved = test::readFile(env.path(".config/kcminputrc"));
    KdePointerSettings refused = backEnd(Session::X11, [](const MouseAcceleration&) { return PointerSettingResult::Failed; });
    EXPECT_EQ(refused.setMouseAcceleration({9, 12, 1}), PointerSettingResult::Failed);
    EXPECT_EQ(test::readFile(env.path(".config/kcminputrc")), saved);

    KdePointerSettings kde = backEnd(Session::X11);
    EXPECT_EQ(kde.setWheelScrollLines(5), PointerSettingResult::Applied);
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "WheelScrollLines"), "5");
    EXPECT_TRUE(fake.waitForLine(QStringLiteral("notifyChange 3 0")));
    // The pointer speed is the X input driver's: not applicable, and nothing is written.
    EXPECT_FALSE(kde.support(PointerSetting::PointerSpeed).supported);
    EXPECT_FALSE(kde.support(PointerSetting::PointerSpeed).reason.isEmpty());
    EXPECT_EQ(kde.setMouseSpeed(15), PointerSettingResult::NotSupported);
    for (const QString& line : fake.lines())
        EXPECT_FALSE(line.startsWith(QLatin1String("set "))) << "KWin is not asked on X11: " << line.toStdString();
}

TEST_F(KdePointerSettingsTest, AValueThatDoesNotStickIsFailedAndLeavesNoFileEntry)
{
    struct Case {
        const char* what;
        QStringList devices; // empty: no KWin on the bus
        Call call;
    };
    const Case cases[] = {
        {"a trackball without acceleration settings keeps its speed", {kMouse, kStuckMouse},
         [](PointerSettings& p) { return p.setMouseSpeed(15); }},
        {"... and its profile", {kMouse, kStuckMouse}, [](PointerSettings& p) { return p.setMouseAcceleration({0, 0, 0}); }},
        {"... and its scroll factor", {kStuckMouse}, [](PointerSettings& p) { return p.setWheelScrollLines(9); }},
        {"no pointer device, only a touchpad and a keyboard", {kTouchpad, kKeyboard},
         [](PointerSettings& p) { return p.setMouseSpeed(15); }},
        {"no KWin on the bus", {}, [](PointerSettings& p) { return p.setWheelScrollLines(5); }},
    };
    for (const Case& c : cases) {
        FakeKWinProcess fake;
        if (!c.devices.isEmpty()) {
            ASSERT_TRUE(fake.start(bus.address, c.devices)) << c.what;
        }
        KdePointerSettings kde = backEnd(Session::Wayland);
        EXPECT_EQ(c.call(kde), PointerSettingResult::Failed) << c.what;
        EXPECT_FALSE(QFile::exists(env.path(".config/kcminputrc"))) << c.what << ": a refused value was saved";
    }
}

TEST_F(KdePointerSettingsTest, ALockedKdeglobalsKeyIsFailedAndKeepsItsValue)
{
    // An administrator's lock ([$i]): kwriteconfig5 changes nothing.
    ASSERT_TRUE(test::writeFile(env.path(".config/kdeglobals"), "[KDE][$i]\nDoubleClickInterval=400\nWheelScrollLines=3\n"));
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {kMouse}));
    KdePointerSettings kde = backEnd(Session::X11);
    EXPECT_EQ(kde.setDoubleClickTime(900), PointerSettingResult::Failed);
    EXPECT_EQ(kde.setWheelScrollLines(7), PointerSettingResult::Failed);
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "DoubleClickInterval"), "400");
    EXPECT_EQ(kread("kdeglobals", {"KDE"}, "WheelScrollLines"), "3");
}

TEST(KdePointerSettings, WithoutKdesConfigurationToolsNothingIsApplicable)
{
    KdePointerSettings::Options options;
    options.tools = KdeConfigTools();
    options.kwin = std::make_shared<KWinBusDevices>(QDBusConnection(QStringLiteral("nowhere")));
    KdePointerSettings kde(std::move(options));
    for (const PointerSetting s : {PointerSetting::Acceleration, PointerSetting::PointerSpeed,
                                   PointerSetting::WheelScrollLines, PointerSetting::DoubleClickTime}) {
        EXPECT_FALSE(kde.support(s).supported);
        EXPECT_TRUE(kde.support(s).reason.contains("kwriteconfig"));
    }
    EXPECT_EQ(kde.setDoubleClickTime(500), PointerSettingResult::NotSupported);
}

TEST(KdeConfigTools, Plasma6ToolsAreChosenFirstAndOnlyAsAPair)
{
    const struct {
        QStringList installed;
        QString writer;
    } cases[] = {
        {{"kwriteconfig6", "kreadconfig6", "kwriteconfig5", "kreadconfig5"}, "kwriteconfig6"},
        {{"kwriteconfig5", "kreadconfig5"}, "kwriteconfig5"},
        {{"kwriteconfig6", "kreadconfig5", "kwriteconfig5"}, "kwriteconfig5"},
        {{"kwriteconfig6"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        const KdeConfigTools tools = KdeConfigTools::choose([&](const QString& p) { return c.installed.contains(p); });
        EXPECT_EQ(tools.writer(), c.writer) << c.installed.join(' ').toStdString();
        EXPECT_EQ(tools.found(), !c.writer.isEmpty());
        if (tools.found()) {
            EXPECT_EQ(tools.reader().back(), tools.writer().back());
        }
    }
}

TEST(KWinModule, AModuleThatCannotBeUsedFailsEverySettingAndSaysWhy)
{
    TestEnvironment env;
    const QString folder = env.path("programs");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString module = folder + QStringLiteral("/libk4812-kwin.so");
    const struct {
        const char* what;
        std::function<bool()> place; // puts the case's file in place
        const char* reason;
    } cases[] = {
        {"missing", [] { return true; }, "No such file"},
        {"not a library", [&] { return test::writeFile(module, "#!/bin/sh\n"); }, "libk4812-kwin.so"},
        // A library of the program's, but not this one.
        {"another library", [&] { return QFile::remove(module) && QFile::copy(K4812_BIN_DIR "/libuiHook.so", module); },
         "lacks k4812_kwin_input_devices"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.place()) << c.what;
        const std::shared_ptr<KWinInputDevices> kwin = loadKWinInputDevices(folder);
        QString error;
        EXPECT_FALSE(kwin->pointerDevices(error)) << c.what;
        EXPECT_TRUE(error.contains(c.reason)) << c.what << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(module)) << c.what << ": " << error.toStdString();

        KdePointerSettings::Options options;
        options.tools = KdeConfigTools(QStringLiteral("true"), QStringLiteral("true"));
        options.kwin = kwin;
        KdePointerSettings kde(std::move(options));
        EXPECT_EQ(kde.setMouseSpeed(15), PointerSettingResult::Failed) << c.what;
        EXPECT_TRUE(kde.failureReason(PointerSetting::PointerSpeed).contains(module)) << c.what;
        EXPECT_FALSE(kwin->notifyMouseSettingsChanged(error)) << c.what;
    }
}

TEST(KWinModule, TheBuiltModuleFindsKWinsDevicesOnTheSessionBus)
{
    // The module as built, on a session bus where KWin's stand-in runs.
    TestEnvironment env;
    test::PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    env.set("DBUS_SESSION_BUS_ADDRESS", bus.address);
    FakeKWinProcess fake;
    ASSERT_TRUE(fake.start(bus.address, {kMouse, kTouchpad}));

    const std::shared_ptr<KWinInputDevices> kwin = loadKWinInputDevices(QStringLiteral(K4812_BIN_DIR));
    QString error;
    const auto devices = kwin->pointerDevices(error);
    ASSERT_TRUE(devices) << error.toStdString();
    QStringList names;
    for (const KWinPointerDevice& device : *devices)
        names << device.sysName;
    EXPECT_TRUE(names.contains(QStringLiteral("event5"))) << names.join(' ').toStdString();
}
