#pragma once
// The focused application on X11: the class name in WM_CLASS of the window
// that the root window's _NET_ACTIVE_WINDOW names (set by every EWMH window
// manager), read again on each PropertyNotify of that property.

#include "monitor/FocusSource.h"

#include <cstdint>

class QSocketNotifier;
struct xcb_connection_t;

namespace k4812 {

class X11FocusSource final : public FocusSource {
    Q_OBJECT
public:
    explicit X11FocusSource(QString display, QObject* parent = nullptr);
    ~X11FocusSource() override;

    QString name() const override { return QStringLiteral("X11"); }
    bool start(QString& error) override;

private:
    void readEvents();
    void report();
    QString activeApplication();

    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_root = 0;
    std::uint32_t m_activeAtom = 0;
    QSocketNotifier* m_notifier = nullptr;
    QString m_last;
    bool m_reported = false;
};

} // namespace k4812
