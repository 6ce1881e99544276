#include "platform/desktop/GnomePointerSettings.h"
#include "platform/desktop/JournalPointerSettings.h"
#include "platform/desktop/NoPointerSettings.h"
#include "platform/desktop/PointerSettingsFactory.h"
#include "platform/desktop/WarnOnce.h"
#include "platform/desktop/X11PointerSettings.h"

#include "TestEnvironment.h"

#include <QMap>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

using namespace k4812;
using k4812::test::TestEnvironment;

namespace {

QStringList journalLines(const QString& file)
{
    return QString::fromUtf8(k4812::test::readFile(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Stands in for gsettings and one settings service: remembers what was set,
// answers `get` with it, and records every command.
struct FakeGsettings {
    QMap<QString, QString> store;
    QList<QStringList> commands;
    bool keepsValues = true; // false: like gsettings without a session bus
    bool setFails = false;

    GnomePointerSettings::CommandRunner runner()
    {
        return [this](const QStringList& args) {
            commands << args;
            GnomePointerSettings::CommandOutcome outcome;
            if (args.value(0) == QLatin1String("set")) {
                outcome.ok = !setFails;
                if (setFails)
                    outcome.error = QStringLiteral("No such schema");
                else if (keepsValues)
                    store[args.value(2)] = args.value(3);
            } else if (args.value(0) == QLatin1String("get")) {
                outcome.ok = true;
                outcome.output = store.value(args.value(2), QStringLiteral("400"));
            }
            return outcome;
        };
    }
};

} // namespace

// --- the common range checks, seen through the journal -----------------------

TEST(PointerSettings, ValuesWindowsRefusesAreRejectedAndNotPassedOn)
{
    TestEnvironment env;
    const QString file = env.path(QStringLiteral("journal.txt"));
    JournalPointerSettings journal(file);

    struct Case {
        const char* what;
        std::function<PointerSettingResult()> call;
        PointerSettingResult expected;
    };
    const Case cases[] = {
        {"speed 0", [&] { return journal.setMouseSpeed(0); }, PointerSettingResult::Rejected},
        {"speed 21", [&] { return journal.setMouseSpeed(21); }, PointerSettingResult::Rejected},
        {"lines -1", [&] { return journal.setWheelScrollLines(-1); }, PointerSettingResult::Rejected},
        {"double-click 0", [&] { return journal.setDoubleClickTime(0); }, PointerSettingResult::Rejected},
        {"double-click 5001", [&] { return journal.setDoubleClickTime(5001); }, PointerSettingResult::Rejected},
        {"acceleration 3", [&] { return journal.setMouseAcceleration({4, 6, 3}); }, PointerSettingResult::Rejected},
        {"negative threshold", [&] { return journal.setMouseAcceleration({-1, 0, 1}); }, PointerSettingResult::Rejected},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.call(), c.expected) << c.what;
    EXPECT_TRUE(journalLines(file).isEmpty());
}

TEST(PointerSettings, JournalWritesEverySettingInWindowsTerms)
{
    TestEnvironment env;
    const QString file = env.path(QStringLiteral("journal.txt"));
    JournalPointerSettings journal(file);

    EXPECT_EQ(journal.setMouseAcceleration({4, 6, 2}), PointerSettingResult::Applied);
    EXPECT_EQ(journal.setMouseSpeed(1), PointerSettingResult::Applied);
    EXPECT_EQ(journal.setMouseSpeed(20), PointerSettingResult::Applied);
    EXPECT_EQ(journal.setWheelScrollLines(0), PointerSettingResult::Applied);
    EXPECT_EQ(journal.setWheelScrollLines(20), PointerSettingResult::Applied);
    EXPECT_EQ(journal.setDoubleClickTime(200), PointerSettingResult::Applied);
    EXPECT_EQ(journal.setDoubleClickTime(5000), PointerSettingResult::Applied);

    EXPECT_EQ(journalLines(file), (QStringList{
                                      "SPI_SETMOUSE 4 6 2",
                                      "SPI_SETMOUSESPEED 1",
                                      "SPI_SETMOUSESPEED 20",
                                      "SPI_SETWHEELSCROLLLINES 0",
                                      "SPI_SETWHEELSCROLLLINES 20",
                                      "SPI_SETDOUBLECLICKTIME 200",
                                      "SPI_SETDOUBLECLICKTIME 5000",
                                  }));
}

TEST(PointerSettings, UnwritableJournalIsAFailureNotASuccess)
{
    TestEnvironment env;
    JournalPointerSettings journal(env.path(QStringLiteral("no/such/folder/journal.txt")));
    EXPECT_EQ(journal.setMouseSpeed(10), PointerSettingResult::Failed);
}

TEST(PointerSettings, DesktopWithoutSupportAppliesNothing)
{
    NoPointerSettings none;
    EXPECT_EQ(none.setMouseAcceleration({7, 0, 1}), PointerSettingResult::NotSupported);
    EXPECT_EQ(none.setMouseSpeed(10), PointerSettingResult::NotSupported);
    EXPECT_EQ(none.setWheelScrollLines(3), PointerSettingResult::NotSupported);
    EXPECT_EQ(none.setDoubleClickTime(500), PointerSettingResult::NotSupported);
    EXPECT_FALSE(isApplied(PointerSettingResult::NotSupported));
}

TEST(PointerSettings, WarnOnceLogsAKeyOnlyTheFirstTime)
{
    const QString key = QStringLiteral("test/warn-once/%1").arg(reinterpret_cast<quintptr>(&key));
    EXPECT_TRUE(warnOnce(key, QStringLiteral("first")));
    EXPECT_FALSE(warnOnce(key, QStringLiteral("again")));
    EXPECT_TRUE(warnOnce(key + QStringLiteral("/other"), QStringLiteral("another key")));
}

// --- GNOME ---------------------------------------------------------------------

TEST(GnomePointerSettings, SpeedMapsBothEndsAndTheDefaultsAndRisesInBetween)
{
    struct Case {
        int windows;
        double gnome;
    };
    const Case cases[] = {{1, -1.0}, {4, -2.0 / 3.0}, {10, 0.0}, {11, 0.1}, {15, 0.5}, {20, 1.0}};
    for (const Case& c : cases)
        EXPECT_NEAR(GnomePointerSettings::speedFor(c.windows), c.gnome, 1e-9) << c.windows;
    for (int s = 2; s <= 20; ++s)
        EXPECT_LT(GnomePointerSettings::speedFor(s - 1), GnomePointerSettings::speedFor(s)) << s;
}

TEST(GnomePointerSettings, EachSettingBecomesItsKeyAndIsReadBack)
{
    const QString schema = QStringLiteral("org.gnome.desktop.peripherals.mouse");
    struct Case {
        const char* what;
        std::function<PointerSettingResult(PointerSettings&)> call;
        QString key;
        QString value;
    };
    const Case cases[] = {
        {"acceleration off", [](PointerSettings& p) { return p.setMouseAcceleration({0, 0, 0}); }, "accel-profile", "'flat'"},
        {"acceleration on", [](PointerSettings& p) { return p.setMouseAcceleration({7, 0, 1}); }, "accel-profile", "'adaptive'"},
        {"two stages", [](PointerSettings& p) { return p.setMouseAcceleration({4, 6, 2}); }, "accel-profile", "'adaptive'"},
        {"slowest", [](PointerSettings& p) { return p.setMouseSpeed(1); }, "speed", "-1"},
        {"slow", [](PointerSettings& p) { return p.setMouseSpeed(7); }, "speed", "-0.333333"},
        {"default", [](PointerSettings& p) { return p.setMouseSpeed(10); }, "speed", "0"},
        {"fastest", [](PointerSettings& p) { return p.setMouseSpeed(20); }, "speed", "1"},
        {"double-click", [](PointerSettings& p) { return p.setDoubleClickTime(550); }, "double-click", "550"},
    };
    for (const Case& c : cases) {
        FakeGsettings fake;
        GnomePointerSettings gnome(fake.runner());
        EXPECT_EQ(c.call(gnome), PointerSettingResult::Applied) << c.what;
        const QList<QStringList> expected{{"set", schema, c.key, c.value}, {"get", schema, c.key}};
        EXPECT_EQ(fake.commands, expected) << c.what;
    }
}

TEST(GnomePointerSettings, WheelLinesHaveNoKeyAndRunNoCommand)
{
    FakeGsettings fake;
    GnomePointerSettings gnome(fake.runner());
    EXPECT_EQ(gnome.setWheelScrollLines(3), PointerSettingResult::NotSupported);
    EXPECT_TRUE(fake.commands.isEmpty());
}

TEST(GnomePointerSettings, AValueThatDoesNotStickOrAFailingCommandIsFailed)
{
    FakeGsettings forgetful;
    forgetful.keepsValues = false; // gsettings says yes, but nothing keeps the value
    GnomePointerSettings gnome(forgetful.runner());
    EXPECT_EQ(gnome.setDoubleClickTime(550), PointerSettingResult::Failed);

    FakeGsettings broken;
    broken.setFails = true;
    GnomePointerSettings gnome2(broken.runner());
    EXPECT_EQ(gnome2.setMouseSpeed(12), PointerSettingResult::Failed);
    EXPECT_EQ(broken.commands.size(), 1); // nothing read back after a failed set
}

TEST(GnomePointerSettings, ReadBackComparesValuesNotSpelling)
{
    EXPECT_TRUE(GnomePointerSettings::sameValue("'flat'", "'flat'"));
    EXPECT_TRUE(GnomePointerSettings::sameValue("-0.333333", "-0.33333299999999999"));
    EXPECT_TRUE(GnomePointerSettings::sameValue("1", "1.0"));
    EXPECT_TRUE(GnomePointerSettings::sameValue("550", "550\n"));
    EXPECT_FALSE(GnomePointerSettings::sameValue("'flat'", "'adaptive'"));
    EXPECT_FALSE(GnomePointerSettings::sameValue("550", "400"));
    EXPECT_FALSE(GnomePointerSettings::sameValue("0.5", "0.25"));
}

// --- X11 -----------------------------------------------------------------------

TEST(X11PointerSettings, AccelerationRowsBecomePointerControl)
{
    using PC = X11PointerSettings::PointerControl;
    struct Case {
        MouseAcceleration row;
        PC expected;
    };
    const Case cases[] = {
        {{0, 0, 0}, PC{1, 1, 0, false, false}},
        {{7, 0, 1}, PC{2, 1, 7, true, false}},
        {{4, 6, 2}, PC{2, 1, 4, true, true}}, // X has one stage only
        {{4, 0, 1}, PC{2, 1, 4, true, false}},
        {{0, 0, 1}, PC{2, 1, 1, true, false}}, // X's threshold 0 means another curve
    };
    for (const Case& c : cases)
        EXPECT_EQ(X11PointerSettings::pointerControlFor(c.row), c.expected) << c.row.firstThreshold << "," << c.row.acceleration;
}

TEST(X11PointerSettings, SettingsXLacksAreNotSupported)
{
    X11PointerSettings x11;
    EXPECT_EQ(x11.setMouseSpeed(10), PointerSettingResult::NotSupported);
    EXPECT_EQ(x11.setWheelScrollLines(3), PointerSettingResult::NotSupported);
    EXPECT_EQ(x11.setDoubleClickTime(500), PointerSettingResult::NotSupported);
}

// Each back end says beforehand which settings its desktop has, with a reason
// for each it lacks; what it calls supported is what it applies.
TEST(PointerSettings, EachBackEndSaysWhatItsDesktopCanTake)
{
    TestEnvironment env;
    FakeGsettings fake;
    GnomePointerSettings gnome(fake.runner());
    X11PointerSettings x11;
    JournalPointerSettings journal(env.path("journal"));
    NoPointerSettings none;
    using S = PointerSetting;
    const S all[] = {S::Acceleration, S::PointerSpeed, S::WheelScrollLines, S::DoubleClickTime};
    const struct {
        const PointerSettings* backEnd;
        std::vector<S> lacking;
    } cases[] = {
        {&gnome, {S::WheelScrollLines}},
        {&x11, {S::PointerSpeed, S::WheelScrollLines, S::DoubleClickTime}},
        {&journal, {}},
        {&none, {S::Acceleration, S::PointerSpeed, S::WheelScrollLines, S::DoubleClickTime}},
    };
    for (const auto& c : cases) {
        for (S setting : all) {
            const PointerSettingSupport support = c.backEnd->support(setting);
            const bool lacks = std::find(c.lacking.begin(), c.lacking.end(), setting) != c.lacking.end();
            const std::string what = (c.backEnd->name() + QLatin1Char(' ') + pointerSettingName(setting)).toStdString();
            EXPECT_EQ(support.supported, !lacks) << what;
            EXPECT_EQ(support.reason.isEmpty(), !lacks) << what << ": a reason exactly when lacking";
        }
    }
    // Asked to set what it lacks, a back end reports so and touches nothing.
    EXPECT_EQ(gnome.setWheelScrollLines(3), PointerSettingResult::NotSupported);
    EXPECT_TRUE(fake.commands.isEmpty());
    EXPECT_EQ(journal.setWheelScrollLines(3), PointerSettingResult::Applied);
}

// --- choosing the back end -----------------------------------------------------

TEST(PointerSettingsFactory, SelectionFromVariableAndDesktop)
{
    DesktopFacts gnome;
    gnome.currentDesktop = QStringLiteral("ubuntu:GNOME");
    gnome.sessionType = QStringLiteral("wayland");
    gnome.waylandDisplay = true;
    gnome.gsettingsInstalled = true;
    DesktopFacts gnomeWithoutGsettings = gnome;
    gnomeWithoutGsettings.gsettingsInstalled = false;
    DesktopFacts xfce;
    xfce.currentDesktop = QStringLiteral("XFCE");
    xfce.sessionType = QStringLiteral("x11");
    xfce.x11Display = true;
    xfce.gsettingsInstalled = true;
    DesktopFacts kdeWayland;
    kdeWayland.currentDesktop = QStringLiteral("KDE");
    kdeWayland.waylandDisplay = true;
    kdeWayland.x11Display = true; // XWayland's
    DesktopFacts kdeX11;
    kdeX11.currentDesktop = QStringLiteral("KDE");
    kdeX11.sessionType = QStringLiteral("x11");
    kdeX11.x11Display = true;
    kdeX11.gsettingsInstalled = true; // Plasma installs GNOME's settings tool for GTK programs
    DesktopFacts sway = kdeWayland;
    sway.currentDesktop = QStringLiteral("sway");
    sway.swaySocket = true;
    DesktopFacts swayOnGnomeVariables = gnome; // a user who starts sway from a GNOME login keeps its variables
    swayOnGnomeVariables.swaySocket = true;
    const DesktopFacts nothing;

    struct Case {
        const char* text;
        const DesktopFacts& facts;
        PointerSettingsKind kind;
        bool error;
    };
    const Case cases[] = {
        {"", gnome, PointerSettingsKind::Gnome, false},
        {"auto", gnomeWithoutGsettings, PointerSettingsKind::None, false},
        {"", xfce, PointerSettingsKind::X11, false},
        {"", kdeWayland, PointerSettingsKind::Kde, false},
        {"auto", kdeX11, PointerSettingsKind::Kde, false},
        {"", nothing, PointerSettingsKind::None, false},
        {"", sway, PointerSettingsKind::Sway, false},
        {"auto", swayOnGnomeVariables, PointerSettingsKind::Sway, false},
        {"sway", nothing, PointerSettingsKind::Sway, false},
        {"gnome", nothing, PointerSettingsKind::Gnome, false},
        {"X11", nothing, PointerSettingsKind::X11, false},
        {"none", gnome, PointerSettingsKind::None, false},
        {"journal:/tmp/j.txt", gnome, PointerSettingsKind::Journal, false},
        {"journal:", gnome, PointerSettingsKind::None, true},
        {"kde", gnome, PointerSettingsKind::Kde, false},
        {"plasma", gnome, PointerSettingsKind::None, true},
    };
    for (const Case& c : cases) {
        const PointerSettingsSelection s = selectPointerSettings(QString::fromUtf8(c.text), c.facts);
        EXPECT_EQ(s.kind, c.kind) << c.text;
        EXPECT_EQ(!s.error.isEmpty(), c.error) << c.text;
    }
    EXPECT_EQ(selectPointerSettings(QStringLiteral("journal:/tmp/j.txt"), nothing).journalFile, "/tmp/j.txt");
    // KDE's back end talks to KWin on Wayland and to the X server on X11.
    EXPECT_TRUE(selectPointerSettings(QString(), kdeWayland).wayland);
    EXPECT_FALSE(selectPointerSettings(QString(), kdeX11).wayland);
}

TEST(PointerSettingsFactory, VariableSelectsTheJournal)
{
    TestEnvironment env;
    const QString file = env.path(QStringLiteral("journal.txt"));
    env.set(kPointerSettingsVariable, QStringLiteral("journal:") + file);
    const auto settings = createPointerSettings();
    ASSERT_EQ(settings->name(), "journal");
    settings->setMouseSpeed(12);
    EXPECT_EQ(journalLines(file), QStringList{"SPI_SETMOUSESPEED 12"});
}
