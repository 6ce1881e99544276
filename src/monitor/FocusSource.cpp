#include "monitor/FocusSource.h"

#include "monitor/KWinFocusSource.h"
#include "monitor/SwayFocusSource.h"
#include "monitor/X11FocusSource.h"

namespace k4812 {

FocusSourceChoice chooseFocusSource(const QProcessEnvironment& env)
{
    const QString desktop = env.value(QStringLiteral("XDG_CURRENT_DESKTOP"));
    const bool wayland = !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty()
                         || env.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    if (!env.value(QStringLiteral("SWAYSOCK")).isEmpty())
        return {FocusSourceKind::Sway, {}};
    if (wayland) {
        // An X11 connection there (Xwayland) sees only X11 windows: a rule
        // would follow some applications and silently miss the others.
        if (desktop.contains(QLatin1String("GNOME"), Qt::CaseInsensitive))
            return {FocusSourceKind::None,
                    QStringLiteral("GNOME on Wayland does not let programs learn which window has the focus")};
        if (desktop.contains(QLatin1String("KDE"), Qt::CaseInsensitive))
            return {FocusSourceKind::KWin, {}};
        return {FocusSourceKind::None,
                QStringLiteral("this Wayland desktop does not tell programs which window has the focus")};
    }
    if (!env.value(QStringLiteral("DISPLAY")).isEmpty())
        return {FocusSourceKind::X11, {}};
    return {FocusSourceKind::None, QStringLiteral("no desktop session (neither DISPLAY nor SWAYSOCK is set)")};
}

std::unique_ptr<FocusSource> createFocusSource(const QProcessEnvironment& env, QString& error)
{
    const FocusSourceChoice choice = chooseFocusSource(env);
    switch (choice.kind) {
    case FocusSourceKind::X11:
        return std::make_unique<X11FocusSource>(env.value(QStringLiteral("DISPLAY")));
    case FocusSourceKind::Sway:
        return std::make_unique<SwayFocusSource>(env.value(QStringLiteral("SWAYSOCK")));
    case FocusSourceKind::KWin:
        return std::make_unique<KWinFocusSource>();
    case FocusSourceKind::None:
        break;
    }
    error = choice.unavailable;
    return nullptr;
}

} // namespace k4812
