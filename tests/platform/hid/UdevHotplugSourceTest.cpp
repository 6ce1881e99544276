// Which udev events count, and which monitor source is chosen.

#include "platform/hid/UdevHotplugSource.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace k4812 {
namespace {

TEST(UdevHotplugSource, CountsAddRemoveAndChangeOnly)
{
    const struct {
        const char* action;
        std::optional<HotplugAction> expected;
    } cases[] = {
        {"add", HotplugAction::Add},
        {"remove", HotplugAction::Remove},
        {"change", HotplugAction::Change},
        {"bind", std::nullopt},
        {"unbind", std::nullopt},
        {"move", std::nullopt},
        {"ADD", std::nullopt},
        {"", std::nullopt},
        {nullptr, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hotplugActionOf(c.action), c.expected) << (c.action ? c.action : "(null)");
}

TEST(UdevHotplugSource, ListensToUdevOnlyWhenItsDaemonRuns)
{
    QTemporaryDir dir;
    const QString control = dir.filePath(QStringLiteral("control"));
    EXPECT_STREQ(udevMonitorSourceName(control), "kernel");
    QFile file(control);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_STREQ(udevMonitorSourceName(control), "udev");
}

} // namespace
} // namespace k4812
