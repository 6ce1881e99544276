#include "platform/hid/TracingHidBackend.h"

#include "FakeHidBackend.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace k4812;
using k4812::test::FakeHidBackend;
using k4812::test::TestEnvironment;

TEST(TracingHidBackend, TheTraceGoesOnlyToARegularFileOrATerminal)
{
    TestEnvironment env;
    ASSERT_EQ(::mkfifo(QFile::encodeName(env.path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(env.path("folder")));
    struct Case {
        QString path;
        const char* problem;   // "" = usable
    };
    const Case cases[] = {
        {env.path("trace.txt"), ""},
        {env.path("fifo"), "is a FIFO, neither a regular file nor a terminal"},
        {QStringLiteral("/dev/full"), "is a device, neither a regular file nor a terminal"},
        {env.path("folder"), "is a folder, neither a regular file nor a terminal"},
        {env.path("missing/trace.txt"), "cannot be opened: No such file or directory"},
    };
    for (const Case& c : cases) {
        const QString problem = TracingHidBackend::traceFileProblem(c.path);
        if (QLatin1String(c.problem).isEmpty()) {
            EXPECT_EQ(problem, QString()) << c.path.toStdString();
        } else {
            EXPECT_TRUE(problem.contains(QLatin1String(c.problem))) << problem.toStdString();
        }
    }
}

TEST(TracingHidBackend, AWriteThatFailsIsReportedOnce)
{
    TestEnvironment env;
    const QString trace = env.path("trace.txt");
    auto fake = std::make_unique<FakeHidBackend>();
    fake->collections.push_back(FakeHidBackend::mouseCollection("/dev/hidraw0"));
    QStringList reports;
    TracingHidBackend backend(std::move(fake), trace, [&](const QString& text) { reports << text; });
    const HidCollection mouse = backend.enumerate().front();
    int error = 0;
    std::unique_ptr<HidDeviceHandle> handle = backend.open(mouse, error);
    ASSERT_TRUE(handle);
    std::uint8_t report[16] = {2, 1};

    ASSERT_EQ(handle->setFeature(report, sizeof report), 0);
    EXPECT_TRUE(reports.isEmpty());
    // The trace file turns into something that takes no lines.
    ASSERT_TRUE(QFile::remove(trace));
    ASSERT_TRUE(QDir().mkpath(trace));
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(handle->setFeature(report, sizeof report), 0) << "the exchange itself is not affected";

    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(trace)) << reports[0].toStdString();
}
