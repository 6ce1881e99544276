// The KWin focus source against a fake KWin on a private bus: it loads its
// script under its plugin name, runs it, and reports each class the script
// calls back with once; a KWin that refuses the script leaves no source.

#include "monitor/KWinFocusSource.h"

#include "PrivateBus.h"
#include "QtEventLoop.h"
#include "TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>

#include <gtest/gtest.h>

using namespace k4812;

namespace {

// org.kde.kwin.Scripting at /Scripting, as far as the source uses it.
class FakeScripting final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Scripting")
public:
    int answer = 7;
    QString loadedFile;
    QString loadedPlugin;
    QByteArray loadedText;
    QStringList unloaded;

public slots:
    int loadScript(const QString& file, const QString& plugin)
    {
        loadedFile = file;
        loadedPlugin = plugin;
        QFile script(file);
        if (script.open(QIODevice::ReadOnly))
            loadedText = script.readAll();
        return answer;
    }
    bool unloadScript(const QString& plugin)
    {
        unloaded << plugin;
        return true;
    }
};

// The loaded script's object (KWin 6 path): run() starts it.
class FakeScript final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.kwin.Script")
public:
    int runs = 0;
public slots:
    void run() { ++runs; }
};

class KWinFocusSourceTest : public ::testing::Test {
protected:
    KWinFocusSourceTest()
    {
        kwin = QDBusConnection::connectToBus(bus.address, QStringLiteral("kwin"));
        kwin.registerObject(QStringLiteral("/Scripting"), &scripting, QDBusConnection::ExportAllSlots);
        kwin.registerObject(QStringLiteral("/Scripting/Script7"), &script, QDBusConnection::ExportAllSlots);
        kwin.registerService(QStringLiteral("org.kde.KWin"));
    }
    ~KWinFocusSourceTest() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("kwin"));
        QDBusConnection::disconnectFromBus(QStringLiteral("monitor"));
    }

    // What the script's callDBus does inside KWin.
    void scriptReports(const QString& resourceClass)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            QLatin1String(KWinFocusSource::kService), QLatin1String(KWinFocusSource::kPath),
            QStringLiteral("org.k4812.FocusSource"), QStringLiteral("SetFocusedWindowClass"));
        call << resourceClass;
        kwin.send(call);
    }

    test::TestEnvironment env;
    test::PrivateBus bus;
    QDBusConnection kwin{QString()};
    FakeScripting scripting;
    FakeScript script;
};

} // namespace

TEST_F(KWinFocusSourceTest, LoadsAndRunsItsScriptAndReportsEachClassOnce)
{
    ASSERT_FALSE(bus.address.isEmpty());
    std::vector<QString> seen;
    QString error;
    {
        KWinFocusSource source(QDBusConnection::connectToBus(bus.address, QStringLiteral("monitor")));
        QObject::connect(&source, &FocusSource::focusChanged, [&](const QString& app) { seen.push_back(app); });
        ASSERT_TRUE(source.start(error)) << error.toStdString();
        EXPECT_EQ(scripting.loadedPlugin, QStringLiteral("k4812-focus"));
        EXPECT_TRUE(scripting.loadedFile.startsWith(env.home())) << "in the private runtime folder";
        EXPECT_TRUE(scripting.loadedText.contains("callDBus(\"org.k4812.Monitor\", \"/FocusSource\""));
        EXPECT_TRUE(scripting.loadedText.contains("resourceClass"));
        EXPECT_EQ(script.runs, 1);

        for (const char* app : {"org.kde.konsole", "org.kde.konsole", "steam", ""})
            scriptReports(QString::fromLatin1(app));
        ASSERT_TRUE(test::runEventsUntil([&] { return seen.size() >= 3; }, 10000));
        EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("org.kde.konsole"), QStringLiteral("steam"), QString()}));
    }
    // The ended source takes its script away (an old copy is also unloaded before loading).
    EXPECT_EQ(scripting.unloaded, (QStringList{QStringLiteral("k4812-focus"), QStringLiteral("k4812-focus")}));
}

TEST_F(KWinFocusSourceTest, AScriptKWinRefusesLeavesNoSource)
{
    ASSERT_FALSE(bus.address.isEmpty());
    scripting.answer = -1;
    KWinFocusSource source(QDBusConnection::connectToBus(bus.address, QStringLiteral("monitor")));
    QString error;
    EXPECT_FALSE(source.start(error));
    EXPECT_TRUE(error.contains(QLatin1String("refused"))) << error.toStdString();
}

TEST(KWinFocusSource, WithoutKWinTheReasonIsGiven)
{
    test::TestEnvironment env;
    test::PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    KWinFocusSource source(QDBusConnection::connectToBus(bus.address, QStringLiteral("lonely")));
    QString error;
    EXPECT_FALSE(source.start(error));
    EXPECT_TRUE(error.contains(QLatin1String("KWin does not load scripts"))) << error.toStdString();
    QDBusConnection::disconnectFromBus(QStringLiteral("lonely"));
}

#include "KWinFocusSourceTest.moc"
