#include "i18n/WindowsLanguageId.h"

#include <array>

namespace k4812 {

namespace {

struct Row {
    unsigned id;
    QLocale::Language language;
    QLocale::Script script;
    QLocale::Territory territory;
};

// Primary language first: the first row of a language is its fallback when
// the territory is not listed.
constexpr std::array kRows{
    Row{0x0409, QLocale::English, QLocale::AnyScript, QLocale::UnitedStates},
    Row{0x0809, QLocale::English, QLocale::AnyScript, QLocale::UnitedKingdom},
    Row{0x0C09, QLocale::English, QLocale::AnyScript, QLocale::Australia},
    Row{0x1009, QLocale::English, QLocale::AnyScript, QLocale::Canada},
    Row{0x0804, QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China},
    Row{0x1004, QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::Singapore},
    Row{0x0404, QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan},
    Row{0x0C04, QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::HongKong},
    Row{0x1404, QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Macau},
    Row{0x0407, QLocale::German, QLocale::AnyScript, QLocale::Germany},
    Row{0x040C, QLocale::French, QLocale::AnyScript, QLocale::France},
    Row{0x0410, QLocale::Italian, QLocale::AnyScript, QLocale::Italy},
    Row{0x0C0A, QLocale::Spanish, QLocale::AnyScript, QLocale::Spain},
    Row{0x0416, QLocale::Portuguese, QLocale::AnyScript, QLocale::Brazil},
    Row{0x0816, QLocale::Portuguese, QLocale::AnyScript, QLocale::Portugal},
    Row{0x0419, QLocale::Russian, QLocale::AnyScript, QLocale::Russia},
    Row{0x0411, QLocale::Japanese, QLocale::AnyScript, QLocale::Japan},
    Row{0x0412, QLocale::Korean, QLocale::AnyScript, QLocale::SouthKorea},
    Row{0x0415, QLocale::Polish, QLocale::AnyScript, QLocale::Poland},
    Row{0x0413, QLocale::Dutch, QLocale::AnyScript, QLocale::Netherlands},
    Row{0x041F, QLocale::Turkish, QLocale::AnyScript, QLocale::Turkey},
    Row{0x0422, QLocale::Ukrainian, QLocale::AnyScript, QLocale::Ukraine},
    Row{0x041E, QLocale::Thai, QLocale::AnyScript, QLocale::Thailand},
    Row{0x042A, QLocale::Vietnamese, QLocale::AnyScript, QLocale::Vietnam},
};

QString hex4(unsigned id)
{
    return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')).toUpper();
}

QLocale::Script scriptOf(const QLocale& locale)
{
    if (locale.language() != QLocale::Chinese || locale.script() != QLocale::AnyScript)
        return locale.script();
    // "zh_TW" and "zh_HK" carry no script; Chinese there is written in traditional characters.
    switch (locale.territory()) {
    case QLocale::Taiwan:
    case QLocale::HongKong:
    case QLocale::Macau:
        return QLocale::TraditionalHanScript;
    default:
        return QLocale::SimplifiedHanScript;
    }
}

} // namespace

QString windowsLanguageIdOf(const QLocale& locale)
{
    const QLocale::Script script = scriptOf(locale);
    const Row* fallback = nullptr;
    for (const Row& row : kRows) {
        if (row.language != locale.language())
            continue;
        if (row.script != QLocale::AnyScript && row.script != script)
            continue;
        if (row.territory == locale.territory())
            return hex4(row.id);
        if (fallback == nullptr)
            fallback = &row;
    }
    return hex4(fallback != nullptr ? fallback->id : 0x0409);
}

QLocale localeOfWindowsLanguageId(const QString& id)
{
    bool ok = false;
    const unsigned value = id.toUInt(&ok, 16);
    for (const Row& row : kRows) {
        if (ok && row.id == value)
            return QLocale(row.language, row.script, row.territory);
    }
    return QLocale::c();
}

QStringList knownWindowsLanguageIds()
{
    QStringList ids;
    for (const Row& row : kRows)
        ids.append(hex4(row.id));
    return ids;
}

QString systemWindowsLanguageId()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        QString value = qEnvironmentVariable(name);
        // "zh_TW.UTF-8@variant" -> "zh_TW"
        value = value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        if (value.isEmpty())
            continue;
        if (value == QLatin1String("C") || value == QLatin1String("POSIX"))
            return hex4(0x0409);
        return windowsLanguageIdOf(QLocale(value));
    }
    return windowsLanguageIdOf(QLocale::system());
}

} // namespace k4812
