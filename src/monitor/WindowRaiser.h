#pragma once
// Brings the window of another process to the front, as a task bar does:
// the tray's "Open settings" when the configuration window is open already
// (a second copy of it ends at once and shows nothing).
//
// X11 (also Xwayland windows under an X11 session): the window whose
// _NET_WM_PID is the process is activated through the window manager
// (_NET_ACTIVE_WINDOW, as a pager asks it); with no window manager it is
// mapped, raised and given the focus directly. sway: the IPC command
// "[pid=N] focus". Other Wayland desktops let no program raise another's
// window: raiseWindowOfProcess() then says so.

#include <QProcessEnvironment>
#include <QString>

namespace k4812 {

// True when the desktop was asked to bring `pid`'s window forward; false,
// with `error` set, when there is no way or no such window.
bool raiseWindowOfProcess(qint64 pid, const QProcessEnvironment& env, QString& error);

} // namespace k4812
