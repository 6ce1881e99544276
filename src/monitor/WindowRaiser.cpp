#include "monitor/WindowRaiser.h"

#include "monitor/SwayFocusSource.h"
#include "platform/desktop/UnixSocket.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace k4812 {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

constexpr std::uint32_t kSwayRunCommand = 0;
constexpr int kSwayTimeoutMs = 2000;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The 32-bit values of a property (windows, cardinals); empty when it is not set.
std::vector<std::uint32_t> values(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                                  xcb_atom_t type)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 4096), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

bool raiseOnX11(qint64 pid, const QString& display, QString& error)
{
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, Disconnect> connection(
        xcb_connect(display.toLocal8Bit().constData(), &screenNumber));
    if (xcb_connection_has_error(connection.get()) != 0) {
        error = QStringLiteral("cannot open the X display \"%1\"").arg(display);
        return false;
    }
    xcb_connection_t* c = connection.get();
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");
    const xcb_atom_t activeAtom = atom(c, "_NET_ACTIVE_WINDOW");
    const bool managed = !values(c, root, atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty();

    // The window manager's list of the windows it manages; without one, the top-level windows shown.
    std::vector<std::uint32_t> windows = values(c, root, atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
    if (windows.empty()) {
        const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
                const Reply<xcb_get_window_attributes_reply_t> attributes(
                    xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
                if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                    windows.push_back(children[i]);
            }
        }
    }
    for (const std::uint32_t window : windows) {
        const std::vector<std::uint32_t> owner = values(c, window, pidAtom, XCB_ATOM_CARDINAL);
        if (owner.empty() || qint64(owner.front()) != pid)
            continue;
        if (managed) {
            // As a pager asks it (source 2): window managers grant it over
            // their focus-stealing rules, and bring a minimised window back.
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window;
            event.type = activeAtom;
            event.data.data32[0] = 2;
            event.data.data32[1] = XCB_CURRENT_TIME;
            xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                           reinterpret_cast<const char*>(&event));
        } else {
            const std::uint32_t above = XCB_STACK_MODE_ABOVE;
            xcb_map_window(c, window);
            xcb_configure_window(c, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        }
        // Round trip: the request has reached the server before the connection goes.
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
        return true;
    }
    error = QStringLiteral("no window of process %1 on the X display \"%2\"").arg(pid).arg(display);
    return false;
}

bool raiseOnSway(qint64 pid, const QString& socketPath, QString& error)
{
    SocketResult reached;
    UnixSocket socket = UnixSocket::connectTo(socketPath, QDeadlineTimer(kSwayTimeoutMs), reached);
    if (!reached.ok()) {
        error = QStringLiteral("cannot reach sway at %1: %2").arg(socketPath, reached.error);
        return false;
    }
    // A write that fails leaves sway without a question: it does not answer.
    socket.writeAll(encodeSwayMessage(kSwayRunCommand, QStringLiteral("[pid=%1] focus").arg(pid).toUtf8()),
                    QDeadlineTimer(kSwayTimeoutMs));
    QByteArray buffer;
    bool connected = true;
    while (connected && socket.waitReadable(QDeadlineTimer(kSwayTimeoutMs)).ok()) {
        connected = socket.readAvailable(buffer).ok();
        const std::optional<std::vector<SwayMessage>> messages = takeSwayMessages(buffer);
        if (!messages)
            break;
        for (const SwayMessage& message : *messages) {
            if (message.type != kSwayRunCommand)
                continue;
            const QJsonObject result = QJsonDocument::fromJson(message.payload).array().at(0).toObject();
            if (result.value(QLatin1String("success")).toBool())
                return true;
            error = QStringLiteral("sway did not focus the window of process %1: %2")
                        .arg(pid)
                        .arg(result.value(QLatin1String("error")).toString());
            return false;
        }
    }
    error = QStringLiteral("sway did not answer at %1").arg(socketPath);
    return false;
}

} // namespace

bool raiseWindowOfProcess(qint64 pid, const QProcessEnvironment& env, QString& error)
{
    if (!env.value(QStringLiteral("SWAYSOCK")).isEmpty())
        return raiseOnSway(pid, env.value(QStringLiteral("SWAYSOCK")), error);
    if (!env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
        || env.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland")) {
        error = QStringLiteral("this Wayland desktop does not let programs bring another program's window forward");
        return false;
    }
    if (!env.value(QStringLiteral("DISPLAY")).isEmpty())
        return raiseOnX11(pid, env.value(QStringLiteral("DISPLAY")), error);
    error = QStringLiteral("no desktop session (neither DISPLAY nor SWAYSOCK is set)");
    return false;
}

} // namespace k4812
