#pragma once
// Where the monitor learns which application has the focus. Each desktop
// tells it differently, and some not at all:
//
//   X11            the root window's _NET_ACTIVE_WINDOW, followed through
//                  PropertyNotify; the application is the window's WM_CLASS
//                  class name
//   sway           its IPC socket ($SWAYSOCK), window events; the
//                  application is the app_id (the X11 class for Xwayland)
//   KDE Plasma     a KWin script loaded over D-Bus calls back with the
//                  active window's resourceClass (KWinFocusSource.h)
//   GNOME Wayland  no program may learn the focused window: unavailable
//   other Wayland  unavailable (no common protocol tells it)
//
// A source reports each change of the focused application once.

#include <QObject>
#include <QProcessEnvironment>
#include <QString>

#include <memory>

namespace k4812 {

class FocusSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~FocusSource() override = default;

    // "X11", "sway".
    virtual QString name() const = 0;
    // Starts watching; false, with `error` set, when the desktop cannot be reached.
    virtual bool start(QString& error) = 0;

signals:
    // The focused application changed; its identifier (empty: none, e.g. the desktop).
    void focusChanged(const QString& app);
};

enum class FocusSourceKind { X11, Sway, KWin, None };

struct FocusSourceChoice {
    FocusSourceKind kind = FocusSourceKind::None;
    QString unavailable;   // why there is none; empty when there is one
};

// The source for the session `env` describes.
FocusSourceChoice chooseFocusSource(const QProcessEnvironment& env);

// The chosen source, not yet started; nullptr with the reason in `error`.
std::unique_ptr<FocusSource> createFocusSource(const QProcessEnvironment& env, QString& error);

} // namespace k4812
