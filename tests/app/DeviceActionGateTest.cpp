// One device sequence at a time: the controls that start one are disabled
// while one runs and get their own state back; a second start is refused.

#include "app/DeviceActionGate.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

TEST(DeviceActionGate, DisablesItsControlsAndRestoresTheirState)
{
    QWidget window;
    auto* apply = new QPushButton(&window);
    auto* profile = new QPushButton(&window);
    profile->setEnabled(false); // disabled for a reason of its own
    DeviceActionGate gate;
    gate.addControl(apply);
    gate.addControl(profile);
    {
        DeviceActionGate::Run run = gate.begin();
        ASSERT_TRUE(run);
        EXPECT_TRUE(gate.busy());
        EXPECT_FALSE(apply->isEnabled());
        EXPECT_FALSE(profile->isEnabled());
    }
    EXPECT_FALSE(gate.busy());
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_FALSE(profile->isEnabled());
}

TEST(DeviceActionGate, RefusesASecondSequenceWhileOneRuns)
{
    DeviceActionGate gate;
    int changes = 0;
    QObject::connect(&gate, &DeviceActionGate::busyChanged, [&] { ++changes; });
    DeviceActionGate::Run first = gate.begin();
    ASSERT_TRUE(first);
    {
        DeviceActionGate::Run second = gate.begin();
        EXPECT_FALSE(second);
    }
    EXPECT_TRUE(gate.busy()) << "ending the refused run must not end the running one";
    DeviceActionGate::Run moved(std::move(first));
    EXPECT_TRUE(gate.busy());
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace k4812
