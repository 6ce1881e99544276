// The libraries k4812ctl loads when it starts: every one costs each run. The
// program needs neither QtNetwork (its sockets are plain Unix sockets) nor
// QtDBus, which only KDE's back end uses, through its module.

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

namespace {

QString librariesOf(const QString& file)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {file});
    if (!ldd.waitForFinished(30000) || ldd.exitCode() != 0)
        return QString();
    return QString::fromUtf8(ldd.readAllStandardOutput());
}

} // namespace

TEST(CliLibraries, K4812ctlLoadsNoQtNetworkAndNoQtDBusButKdesModuleDoes)
{
    const QString ctl = librariesOf(QStringLiteral(K4812_BIN_DIR "/k4812ctl"));
    ASSERT_TRUE(ctl.contains(QLatin1String("libQt6Core"))) << ctl.toStdString();
    EXPECT_FALSE(ctl.contains(QLatin1String("libQt6Network"))) << ctl.toStdString();
    EXPECT_FALSE(ctl.contains(QLatin1String("libQt6DBus"))) << ctl.toStdString();

    const QString module = librariesOf(QStringLiteral(K4812_BIN_DIR "/libk4812-kwin.so"));
    EXPECT_TRUE(module.contains(QLatin1String("libQt6DBus"))) << module.toStdString();
}
