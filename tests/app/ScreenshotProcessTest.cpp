// `k4812-config --screenshot` runs without a person: with no mouse it renders
// the dialog it would have shown and ends with a failure status.

#include "TestEnvironment.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using k4812::test::TestEnvironment;

TEST(ScreenshotProcess, WithoutAMouseTheDialogIsRenderedAndTheProgramFails)
{
    TestEnvironment env;
    env.set("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    env.set("K4812_EMULATOR_FAULTS", QStringLiteral("absent"));
    const QString shot = env.path("shot.png");

    QProcess process;
    process.start(QStringLiteral(K4812_BIN_DIR "/k4812-config"),
                  {QStringLiteral("--device=emulator:") + env.path("m.state"), QStringLiteral("--screenshot"), shot});
    // Only a guard against the old wait for a click; it ends at once.
    const bool ended = process.waitForFinished(30000);
    if (!ended) {
        process.kill();
        process.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the program waited for the dialog to be answered";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    const QByteArray err = process.readAllStandardError();
    EXPECT_TRUE(err.contains("No Device Found!")) << err.toStdString();
    EXPECT_TRUE(err.contains(shot.toUtf8())) << err.toStdString();
    const QImage image(shot);
    ASSERT_FALSE(image.isNull()) << "no screenshot was written";
    EXPECT_EQ(image.size(), QSize(458, 246)) << "the message dialog's size";
}
