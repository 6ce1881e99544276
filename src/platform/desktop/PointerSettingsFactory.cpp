#include "platform/desktop/PointerSettingsFactory.h"

#include "platform/desktop/GnomePointerSettings.h"
#include "platform/desktop/JournalPointerSettings.h"
#include "platform/desktop/KdePointerSettings.h"
#include "platform/desktop/NoPointerSettings.h"
#include "platform/desktop/SwayPointerSettings.h"
#include "platform/desktop/X11PointerSettings.h"

#include <QStandardPaths>
#include <QStringList>
#include <QtGlobal>

namespace k4812 {

DesktopFacts DesktopFacts::fromEnvironment()
{
    DesktopFacts facts;
    facts.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    facts.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    facts.waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    facts.x11Display = !qEnvironmentVariableIsEmpty("DISPLAY");
    facts.gsettingsInstalled = !QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty();
    facts.swaySocket = !qEnvironmentVariableIsEmpty("SWAYSOCK");
    return facts;
}

bool DesktopFacts::wayland() const
{
    return waylandDisplay || sessionType.compare(QStringLiteral("wayland"), Qt::CaseInsensitive) == 0;
}

namespace {

PointerSettingsKind automaticKind(const DesktopFacts& facts)
{
    // sway runs whatever XDG_CURRENT_DESKTOP says, and its socket is what it listens on.
    if (facts.swaySocket)
        return PointerSettingsKind::Sway;
    const QStringList desktops = facts.currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // Plasma says "KDE"; its X11 and Wayland sessions both have the back end.
    if (desktops.contains(QStringLiteral("KDE"), Qt::CaseInsensitive))
        return PointerSettingsKind::Kde;
    if (facts.gsettingsInstalled && desktops.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive))
        return PointerSettingsKind::Gnome;
    // Under Wayland, DISPLAY is XWayland's, whose pointer control moves nothing.
    if (facts.x11Display && !facts.wayland())
        return PointerSettingsKind::X11;
    return PointerSettingsKind::None;
}

} // namespace

PointerSettingsSelection selectPointerSettings(const QString& text, const DesktopFacts& facts)
{
    PointerSettingsSelection selection;
    selection.wayland = facts.wayland();
    const QString value = text.trimmed();
    if (value.isEmpty() || value.compare(QStringLiteral("auto"), Qt::CaseInsensitive) == 0) {
        selection.kind = automaticKind(facts);
    } else if (value.startsWith(QStringLiteral("journal:"), Qt::CaseInsensitive)) {
        selection.journalFile = value.mid(int(qstrlen("journal:")));
        selection.kind = PointerSettingsKind::Journal;
        if (selection.journalFile.isEmpty()) {
            selection.kind = PointerSettingsKind::None;
            selection.error = QStringLiteral("journal: needs a file name");
        }
    } else if (value.compare(QStringLiteral("gnome"), Qt::CaseInsensitive) == 0) {
        selection.kind = PointerSettingsKind::Gnome;
    } else if (value.compare(QStringLiteral("kde"), Qt::CaseInsensitive) == 0) {
        selection.kind = PointerSettingsKind::Kde;
    } else if (value.compare(QStringLiteral("sway"), Qt::CaseInsensitive) == 0) {
        selection.kind = PointerSettingsKind::Sway;
    } else if (value.compare(QStringLiteral("x11"), Qt::CaseInsensitive) == 0) {
        selection.kind = PointerSettingsKind::X11;
    } else if (value.compare(QStringLiteral("none"), Qt::CaseInsensitive) == 0) {
        selection.kind = PointerSettingsKind::None;
    } else {
        selection.kind = PointerSettingsKind::None;
        selection.error = QStringLiteral("unknown pointer settings \"%1\" (journal:FILE, gnome, kde, sway, x11, none or auto)").arg(value);
    }
    return selection;
}

std::shared_ptr<PointerSettings> createPointerSettings(const PointerSettingsSelection& selection)
{
    switch (selection.kind) {
    case PointerSettingsKind::Gnome: return std::make_shared<GnomePointerSettings>();
    case PointerSettingsKind::Kde: {
        KdePointerSettings::Options options;
        options.session = selection.wayland ? KdePointerSettings::Session::Wayland : KdePointerSettings::Session::X11;
        return std::make_shared<KdePointerSettings>(std::move(options));
    }
    case PointerSettingsKind::Sway: return std::make_shared<SwayPointerSettings>();
    case PointerSettingsKind::X11: return std::make_shared<X11PointerSettings>();
    case PointerSettingsKind::Journal: return std::make_shared<JournalPointerSettings>(selection.journalFile);
    case PointerSettingsKind::None: break;
    }
    return std::make_shared<NoPointerSettings>();
}

std::shared_ptr<PointerSettings> createPointerSettings()
{
    const PointerSettingsSelection selection =
        selectPointerSettings(qEnvironmentVariable(kPointerSettingsVariable), DesktopFacts::fromEnvironment());
    if (!selection.error.isEmpty())
        qWarning("%s: %s; no pointer setting will be changed", kPointerSettingsVariable, qUtf8Printable(selection.error));
    return createPointerSettings(selection);
}

} // namespace k4812
