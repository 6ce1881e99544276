#include "platform/desktop/SwayPointerSettings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

using namespace k4812;

namespace {

// Stands in for swaymsg and sway: pointer devices with their settings, which
// an input command changes (unless the device ignores it) and get_inputs
// reports; every command is recorded.
struct FakeSway {
    struct Device {
        QString type = QStringLiteral("pointer");
        bool libinput = true; // false: a virtual pointer, which has no libinput settings
        bool keepsValues = true;
        QString accelProfile = QStringLiteral("adaptive");
        double accelSpeed = 0;
        double scrollFactor = 1;
    };
    QList<Device> devices{Device{}};
    QList<QStringList> commands;
    bool commandFails = false;

    QString inputsJson() const
    {
        QJsonArray inputs;
        for (const Device& d : devices) {
            QJsonObject device{{"identifier", "1:2:Mouse"}, {"type", d.type}};
            if (d.type == QLatin1String("pointer"))
                device.insert(QStringLiteral("scroll_factor"), d.scrollFactor);
            if (d.libinput)
                device.insert(QStringLiteral("libinput"),
                              QJsonObject{{"accel_profile", d.accelProfile}, {"accel_speed", d.accelSpeed}});
            inputs.append(device);
        }
        return QString::fromUtf8(QJsonDocument(inputs).toJson());
    }

    DesktopCommandRunner runner()
    {
        return [this](const QStringList& args) {
            commands << args;
            DesktopCommandOutcome outcome;
            if (args == SwayPointerSettings::readArguments()) {
                outcome.ok = true;
                outcome.output = inputsJson();
                return outcome;
            }
            if (commandFails) {
                outcome.error = QStringLiteral("Error: unable to connect to sway");
                return outcome;
            }
            // sway takes the command even when no device matches.
            outcome.ok = true;
            outcome.output = QStringLiteral("[ { \"success\": true } ]");
            for (Device& d : devices) {
                if (d.type != QLatin1String("pointer") || !d.keepsValues)
                    continue;
                const QString setting = args.value(2);
                const QString value = args.value(3);
                if (setting == QLatin1String("accel_profile") && d.libinput)
                    d.accelProfile = value;
                else if (setting == QLatin1String("pointer_accel") && d.libinput)
                    d.accelSpeed = value.toDouble();
                else if (setting == QLatin1String("scroll_factor"))
                    d.scrollFactor = value.toDouble();
            }
            return outcome;
        };
    }
};

using Call = std::function<PointerSettingResult(PointerSettings&)>;

} // namespace

TEST(SwayPointerSettings, EachSettingBecomesAnInputCommandAndIsReadBackFromEveryPointer)
{
    struct Case {
        const char* what;
        Call call;
        QString setting;
        QString value;
    };
    const Case cases[] = {
        {"acceleration off", [](PointerSettings& p) { return p.setMouseAcceleration({0, 0, 0}); }, "accel_profile", "flat"},
        {"acceleration on", [](PointerSettings& p) { return p.setMouseAcceleration({6, 10, 1}); }, "accel_profile", "adaptive"},
        {"two stages", [](PointerSettings& p) { return p.setMouseAcceleration({4, 6, 2}); }, "accel_profile", "adaptive"},
        {"slowest", [](PointerSettings& p) { return p.setMouseSpeed(1); }, "pointer_accel", "-1"},
        {"slow", [](PointerSettings& p) { return p.setMouseSpeed(7); }, "pointer_accel", "-0.333333"},
        {"default", [](PointerSettings& p) { return p.setMouseSpeed(10); }, "pointer_accel", "0"},
        {"fast", [](PointerSettings& p) { return p.setMouseSpeed(15); }, "pointer_accel", "0.5"},
        {"fastest", [](PointerSettings& p) { return p.setMouseSpeed(20); }, "pointer_accel", "1"},
        {"no scrolling", [](PointerSettings& p) { return p.setWheelScrollLines(0); }, "scroll_factor", "0"},
        {"three lines", [](PointerSettings& p) { return p.setWheelScrollLines(3); }, "scroll_factor", "1"},
        {"nine lines", [](PointerSettings& p) { return p.setWheelScrollLines(9); }, "scroll_factor", "3"},
        {"one line", [](PointerSettings& p) { return p.setWheelScrollLines(1); }, "scroll_factor", "0.333333"},
        {"one page", [](PointerSettings& p) { return p.setWheelScrollLines(20); }, "scroll_factor", "6.66667"},
    };
    for (const Case& c : cases) {
        FakeSway fake;
        fake.devices.append(FakeSway::Device{}); // a second mouse
        fake.devices.append(FakeSway::Device{QStringLiteral("keyboard"), true, false});
        SwayPointerSettings sway(fake.runner());
        EXPECT_EQ(c.call(sway), PointerSettingResult::Applied) << c.what;
        const QList<QStringList> expected{SwayPointerSettings::inputArguments(c.setting, c.value),
                                          SwayPointerSettings::readArguments()};
        EXPECT_EQ(fake.commands, expected) << c.what;
    }
}

TEST(SwayPointerSettings, TheDoubleClickTimeIsNotApplicableAndSendsNothing)
{
    FakeSway fake;
    SwayPointerSettings sway(fake.runner());
    EXPECT_FALSE(sway.support(PointerSetting::DoubleClickTime).supported);
    EXPECT_FALSE(sway.support(PointerSetting::DoubleClickTime).reason.isEmpty());
    for (const PointerSetting s : {PointerSetting::Acceleration, PointerSetting::PointerSpeed,
                                   PointerSetting::WheelScrollLines})
        EXPECT_TRUE(sway.support(s).supported);
    EXPECT_EQ(sway.setDoubleClickTime(500), PointerSettingResult::NotSupported);
    EXPECT_TRUE(fake.commands.isEmpty());
}

TEST(SwayPointerSettings, ASettingThatNoPointerKeepsIsFailedNotApplied)
{
    struct Case {
        const char* what;
        std::function<void(FakeSway&)> arrange;
        Call call;
    };
    const Case cases[] = {
        {"no pointer device at all", [](FakeSway& f) { f.devices.clear(); },
         [](PointerSettings& p) { return p.setMouseSpeed(14); }},
        {"only a keyboard", [](FakeSway& f) { f.devices = {FakeSway::Device{QStringLiteral("keyboard")}}; },
         [](PointerSettings& p) { return p.setWheelScrollLines(5); }},
        {"a virtual pointer has no acceleration", [](FakeSway& f) { f.devices[0].libinput = false; },
         [](PointerSettings& p) { return p.setMouseAcceleration({0, 0, 0}); }},
        {"one of two mice kept its old speed",
         [](FakeSway& f) {
             f.devices.append(FakeSway::Device{});
             f.devices[1].keepsValues = false;
         },
         [](PointerSettings& p) { return p.setMouseSpeed(3); }},
        {"swaymsg cannot reach sway", [](FakeSway& f) { f.commandFails = true; },
         [](PointerSettings& p) { return p.setMouseSpeed(3); }},
    };
    for (const Case& c : cases) {
        FakeSway fake;
        c.arrange(fake);
        SwayPointerSettings sway(fake.runner());
        EXPECT_EQ(c.call(sway), PointerSettingResult::Failed) << c.what;
    }
}

TEST(SwayPointerSettings, AVirtualPointerStillReportsItsScrollFactor)
{
    FakeSway fake;
    fake.devices[0].libinput = false;
    SwayPointerSettings sway(fake.runner());
    EXPECT_EQ(sway.setWheelScrollLines(6), PointerSettingResult::Applied);
    EXPECT_EQ(SwayPointerSettings::pointerValues(fake.inputsJson(), QStringLiteral("scroll_factor")), QStringList{"2"});
}
