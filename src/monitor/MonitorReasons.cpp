#include "monitor/MonitorReasons.h"

#include "i18n/Translation.h"

#include <QRegularExpression>

namespace k4812 {

const QStringList& reasonTexts()
{
    // A text with values before one without, where both could match.
    static const QStringList texts{
        QStringLiteral("GNOME on Wayland does not let programs learn which window has the focus"),
        QStringLiteral("this Wayland desktop does not tell programs which window has the focus"),
        QStringLiteral("no desktop session (neither DISPLAY nor SWAYSOCK is set)"),
        QStringLiteral("cannot open the X display \"%1\""),
        QStringLiteral("cannot reach sway at %1: %2"),
        QStringLiteral("no session bus"),
        QStringLiteral("cannot take the bus name %1: %2"),
        QStringLiteral("KWin does not load scripts: %1"),
        QStringLiteral("KWin refused the focus script"),
        QStringLiteral("KWin loaded the focus script but does not run it"),
        QStringLiteral("no mouse is connected"),
        QStringLiteral("the mouse did not take the switch (error %1)"),
        QStringLiteral("a switch is under way"),
        QStringLiteral("the mouse is in use by %1 (process %2); try again when it has finished"),
        QStringLiteral("the mouse is in use by another program; try again when it has finished"),
        QStringLiteral("the mouse cannot be locked for this program: %1"),
        QStringLiteral("the desktop has no system tray"),
        QStringLiteral("no display"),
        QStringLiteral("not started"),
        QStringLiteral("this Wayland desktop does not let programs bring another program's window forward"),
        QStringLiteral("no window of process %1 on the X display \"%2\""),
        QStringLiteral("sway did not focus the window of process %1: %2"),
        QStringLiteral("sway did not answer at %1"),
        QStringLiteral("cannot start %1"),
    };
    return texts;
}

namespace {

// The pattern that matches the reasons made from `text`, one group per value.
QRegularExpression patternOf(const QString& text)
{
    static const QRegularExpression placeHolder(QStringLiteral("%[12]"));
    QStringList parts;
    for (const QString& part : text.split(placeHolder))
        parts << QRegularExpression::escape(part);
    const QString pattern = parts.join(QLatin1String("(.*)"));
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                              QRegularExpression::DotMatchesEverythingOption);
}

} // namespace

QString translateReason(const QString& reason)
{
    static const std::vector<QRegularExpression> patterns = [] {
        std::vector<QRegularExpression> made;
        for (const QString& text : reasonTexts())
            made.push_back(patternOf(text));
        return made;
    }();
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        const QRegularExpressionMatch match = patterns[i].match(reason);
        if (!match.hasMatch())
            continue;
        const QString translated = translate(reasonTexts()[qsizetype(i)]);
        // Both values at once: a value that holds "%2" stays as it is.
        switch (match.lastCapturedIndex()) {
        case 0:
            return translated;
        case 1:
            return translated.arg(match.captured(1));
        default:
            return translated.arg(match.captured(1), match.captured(2));
        }
    }
    return reason;
}

} // namespace k4812
