// Which focus source a session gets (and why none), and the sway IPC stream:
// framing across partial reads, a lost stream, and which events move the focus,
// against a sway of the test's own on a Unix socket.

#include "monitor/FocusSource.h"
#include "monitor/SwayFocusSource.h"
#include "platform/desktop/UnixSocket.h"

#include "QtEventLoop.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

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

namespace {

QByteArray focusEvent(const char* app)
{
    return encodeSwayMessage(SwayFocusSource::kWindowEvent,
                             QByteArray(R"({"change":"focus","container":{"app_id":")") + app + "\"}}");
}

// sway's side of the IPC socket, and a source that has subscribed on it.
class SwayIpcSource : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = dir.filePath(QStringLiteral("sway.sock"));
        QString error;
        listener = UnixSocket::listenAt(path, error);
        ASSERT_TRUE(listener.isOpen()) << error.toStdString();
        source = std::make_unique<SwayFocusSource>(path);
        QObject::connect(source.get(), &FocusSource::focusChanged, [this](const QString& app) { seen.push_back(app); });
        ASSERT_TRUE(source->start(error)) << error.toStdString();
        SocketResult accepted;
        sway = listener.accept(QDeadlineTimer(5000), accepted);
        ASSERT_TRUE(sway.isOpen()) << accepted.error.toStdString();

        QByteArray received;
        ASSERT_TRUE(sway.readAtLeast(received, 14 + 10, QDeadlineTimer(5000)).ok());
        const auto subscribe = takeSwayMessages(received);
        ASSERT_TRUE(subscribe && subscribe->size() == 1);
        EXPECT_EQ((*subscribe)[0].type, SwayFocusSource::kSubscribe);
        EXPECT_EQ((*subscribe)[0].payload, "[\"window\"]");
    }

    void send(const QByteArray& bytes) { ASSERT_TRUE(sway.writeAll(bytes, QDeadlineTimer(5000)).ok()); }

    // Whether the source has hung up on sway.
    bool sourceHungUp()
    {
        QByteArray ignored;
        return !sway.readAvailable(ignored).ok();
    }

    QTemporaryDir dir;
    UnixSocket listener;
    UnixSocket sway;
    std::unique_ptr<SwayFocusSource> source;
    std::vector<QString> seen;
};

} // namespace

TEST_F(SwayIpcSource, ReportsEachNewFocusOnce)
{
    send(encodeSwayMessage(SwayFocusSource::kSubscribe, "{\"success\":true}") + focusEvent("foot")
         + focusEvent("foot") + focusEvent("firefox"));
    test::runEventsUntil([&] { return seen.size() >= 2; }, 10000);
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("foot"), QStringLiteral("firefox")}));
}

TEST_F(SwayIpcSource, AnEventSplitAcrossWritesIsReportedWhenWhole)
{
    const QByteArray event = focusEvent("foot");
    send(event.left(9)); // inside the header
    test::runEventsUntil([] { return false; }, 50);
    send(event.mid(9, 20));
    test::runEventsUntil([] { return false; }, 50);
    EXPECT_TRUE(seen.empty());
    send(event.mid(29));
    EXPECT_TRUE(test::runEventsUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, std::vector<QString>{QStringLiteral("foot")});
}

TEST_F(SwayIpcSource, ALostStreamOrAnOversizeFrameMakesTheSourceHangUp)
{
    QByteArray oversize = encodeSwayMessage(SwayFocusSource::kWindowEvent, "{}");
    const std::uint32_t length = 64 * 1024 * 1024 + 1;
    std::memcpy(oversize.data() + 6, &length, 4);
    // Nothing after the bad frame is believed, not even a well-formed event.
    send(oversize + focusEvent("foot"));
    EXPECT_TRUE(test::runEventsUntil([&] { return sourceHungUp(); }));
    EXPECT_TRUE(seen.empty());
}

TEST_F(SwayIpcSource, WhenSwayHangsUpTheWholeEventsBeforeCountAndAPartialOneIsDropped)
{
    send(focusEvent("foot") + focusEvent("firefox").left(20));
    sway.close();
    test::runEventsUntil([] { return false; }, 100);
    EXPECT_EQ(seen, std::vector<QString>{QStringLiteral("foot")});
}
