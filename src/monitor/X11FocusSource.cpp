#include "monitor/X11FocusSource.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace k4812 {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

std::uint32_t internAtom(xcb_connection_t* connection, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : 0;
}

} // namespace

X11FocusSource::X11FocusSource(QString display, QObject* parent) : FocusSource(parent), m_display(std::move(display))
{
}

X11FocusSource::~X11FocusSource()
{
    delete m_notifier;
    if (m_connection != nullptr)
        xcb_disconnect(m_connection);
}

bool X11FocusSource::start(QString& error)
{
    int screenNumber = 0;
    m_connection = xcb_connect(m_display.toLocal8Bit().constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection) != 0) {
        error = QStringLiteral("cannot open the X display \"%1\"").arg(m_display);
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;
    m_activeAtom = internAtom(m_connection, "_NET_ACTIVE_WINDOW");
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
    m_notifier = new QSocketNotifier(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11FocusSource::readEvents);
    report();
    readEvents();   // what came while the first focus was read
    return true;
}

void X11FocusSource::readEvents()
{
    // Reading the properties reads from the connection too: events that came
    // meanwhile wait in xcb's queue, where the socket notifier never sees
    // them. So the queue is read again after every report until it is empty.
    bool changed = true;
    bool fromSocket = true;
    while (changed) {
        changed = false;
        while (xcb_generic_event_t* event = fromSocket ? xcb_poll_for_event(m_connection)
                                                       : xcb_poll_for_queued_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
                const auto* property = reinterpret_cast<xcb_property_notify_event_t*>(event);
                changed = changed || (property->window == m_root && property->atom == m_activeAtom);
            }
            std::free(event);
        }
        fromSocket = false;
        if (changed)
            report();
    }
}

void X11FocusSource::report()
{
    const QString app = activeApplication();
    if (m_reported && app == m_last)
        return;
    m_reported = true;
    m_last = app;
    emit focusChanged(app);
}

QString X11FocusSource::activeApplication()
{
    const Reply<xcb_get_property_reply_t> active(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, m_root, m_activeAtom, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!active || xcb_get_property_value_length(active.get()) < 4)
        return {};
    const auto window = *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE)
        return {};
    const Reply<xcb_get_property_reply_t> wmClass(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
        nullptr));
    if (!wmClass)
        return {};
    // "instance\0class\0": the class names the application.
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                           xcb_get_property_value_length(wmClass.get()));
    const QList<QByteArray> parts = value.split('\0');
    return parts.size() >= 2 ? QString::fromUtf8(parts[1]) : QString::fromUtf8(parts.value(0));
}

} // namespace k4812
