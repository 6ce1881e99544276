// Which focus source a session gets (and why none), and the sway IPC stream:
// framing across partial reads, a lost stream, and which events move the focus.

#include "monitor/FocusSource.h"
#include "monitor/SwayFocusSource.h"

#include "QtEventLoop.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace k4812;

namespace {

QProcessEnvironment sessionOf(std::initializer_list<std::pair<const char*, const char*>> vars)
{
    QProcessEnvironment env;
    for (const auto& [name, value] : vars)
        env.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    return env;
}

} // namespace

TEST(FocusSourceChoice, EachSessionGetsItsSourceOrTheReasonForNone)
{
    struct Case {
        QProcessEnvironment env;
        FocusSourceKind kind;
        const char* reasonPart;
    };
    const std::vector<Case> cases = {
        {sessionOf({{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}}), FocusSourceKind::X11, ""},
        {sessionOf({{"SWAYSOCK", "/run/user/1/sway.sock"}, {"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":0"}}),
         FocusSourceKind::Sway, ""},
        // Xwayland's DISPLAY must not be taken for the whole desktop.
        {sessionOf({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}}),
         FocusSourceKind::None, "GNOME"},
        {sessionOf({{"XDG_SESSION_TYPE", "wayland"}, {"XDG_CURRENT_DESKTOP", "KDE"}}), FocusSourceKind::KWin, ""},
        {sessionOf({{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_CURRENT_DESKTOP", "Hyprland"}}), FocusSourceKind::None,
         "Wayland"},
        {sessionOf({}), FocusSourceKind::None, "DISPLAY"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const FocusSourceChoice choice = chooseFocusSource(cases[i].env);
        EXPECT_EQ(choice.kind, cases[i].kind) << "case " << i;
        EXPECT_EQ(choice.unavailable.isEmpty(), cases[i].kind != FocusSourceKind::None) << "case " << i;
        EXPECT_TRUE(choice.unavailable.contains(QLatin1String(cases[i].reasonPart))) << "case " << i;
    }
}

TEST(SwayIpc, MessagesAreTakenWholeAcrossPartialReads)
{
    const QByteArray stream = encodeSwayMessage(2, "{\"success\":true}") + encodeSwayMessage(0x80000003, "{}");
    // Fed one byte at a time, the two messages come out once each, whole.
    QByteArray buffer;
    std::vector<SwayMessage> taken;
    for (char byte : stream) {
        buffer.append(byte);
        const auto messages = takeSwayMessages(buffer);
        ASSERT_TRUE(messages);
        taken.insert(taken.end(), messages->begin(), messages->end());
    }
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].type, 2u);
    EXPECT_EQ(taken[0].payload, "{\"success\":true}");
    EXPECT_EQ(taken[1].type, 0x80000003u);
    EXPECT_TRUE(buffer.isEmpty());

    QByteArray garbage = "HTTP/1.1 200 OK\r\n";
    EXPECT_FALSE(takeSwayMessages(garbage)) << "a stream out of step is lost, not read on";
}

TEST(SwayIpc, OnlyFocusEventsNameTheApplication)
{
    const std::vector<std::pair<const char*, std::optional<QString>>> cases = {
        {R"({"change":"focus","container":{"app_id":"firefox"}})", QStringLiteral("firefox")},
        {R"({"change":"focus","container":{"app_id":null,"window_properties":{"class":"Steam"}}})",
         QStringLiteral("Steam")},
        {R"({"change":"title","container":{"app_id":"firefox"}})", std::nullopt},
        {R"({"change":"close","container":{"app_id":"foot"}})", std::nullopt},
        {"not json", std::nullopt},
    };
    for (const auto& [payload, app] : cases)
        EXPECT_EQ(focusedAppOfWindowEvent(payload), app) << payload;
}

TEST(SwayIpc, TheSourceSubscribesAndReportsEachNewFocusOnce)
{
    QTemporaryDir dir;
    QLocalServer server;
    ASSERT_TRUE(server.listen(dir.filePath(QStringLiteral("sway.sock"))));
    SwayFocusSource source(server.fullServerName());
    std::vector<QString> seen;
    QObject::connect(&source, &FocusSource::focusChanged, [&](const QString& app) { seen.push_back(app); });
    QString error;
    ASSERT_TRUE(source.start(error)) << error.toStdString();
    ASSERT_TRUE(server.waitForNewConnection(5000));
    QLocalSocket* sway = server.nextPendingConnection();

    QByteArray received;
    while (received.size() < 14 + 10 && sway->waitForReadyRead(5000))
        received += sway->readAll();
    QByteArray copy = received;
    const auto subscribe = takeSwayMessages(copy);
    ASSERT_TRUE(subscribe && subscribe->size() == 1);
    EXPECT_EQ((*subscribe)[0].type, SwayFocusSource::kSubscribe);
    EXPECT_EQ((*subscribe)[0].payload, "[\"window\"]");

    const auto focus = [](const char* app) {
        return encodeSwayMessage(SwayFocusSource::kWindowEvent,
                                 QByteArray(R"({"change":"focus","container":{"app_id":")") + app + "\"}}");
    };
    sway->write(encodeSwayMessage(SwayFocusSource::kSubscribe, "{\"success\":true}") + focus("foot") + focus("foot")
                + focus("firefox"));
    sway->flush();
    test::runEventsUntil([&] { return seen.size() >= 2; }, 10000);
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("foot"), QStringLiteral("firefox")}));
}
