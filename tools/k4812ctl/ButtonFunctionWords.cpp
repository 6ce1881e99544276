#include "ButtonFunctionWords.h"

#include "wire/KeyNameLookup.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"

#include <vector>

namespace k4812::cli {

namespace {

// The menu items that take no value, in the order the menu shows them.
constexpr int kSimpleItems[] = {1,   2,   3,   4,   5,   801, 802,  803,  804,  805,  806,  807, 808, 901,
                                902, 903, 904, 905, 906, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 12, 13,
                                14,  16};

struct Alias {
    const char* word;
    int menuId;
};
constexpr Alias kAliases[] = {{"middle", 3}};

std::optional<int> simpleItemOf(const QString& word)
{
    for (const Alias& a : kAliases) {
        if (word == QLatin1String(a.word))
            return a.menuId;
    }
    for (int id : kSimpleItems) {
        if (functionWordOf(ButtonMenuCaption(id)) == word)
            return id;
    }
    return std::nullopt;
}

std::optional<int> modifierBitOf(const QString& word)
{
    if (word == QLatin1String("alt"))
        return 0x01;
    if (word == QLatin1String("ctrl") || word == QLatin1String("control"))
        return 0x02;
    if (word == QLatin1String("shift"))
        return 0x04;
    if (word == QLatin1String("win") || word == QLatin1String("windows"))
        return 0x08;
    return std::nullopt;
}

std::optional<NamedKey> keyOf(const QString& name, QString& error)
{
    const std::optional<NamedKey> key = KeyOfName(name);
    if (!key) {
        error = QStringLiteral("no key is named \"%1\" (names as on the keyboard, such as F5, A, ENTER, PAGE UP, "
                               "or VK_ names)")
                    .arg(name);
        return std::nullopt;
    }
    if (!IsSendableKey(key->virtualKey, key->extended)) {
        error = QStringLiteral("the mouse cannot send the key \"%1\" from a button").arg(name);
        return std::nullopt;
    }
    return key;
}

std::optional<ButtonFunctionChoice> parseCombo(const QString& text, QString& error)
{
    ButtonFunctionChoice choice;
    choice.kind = ButtonFunctionChoice::Kind::ComboKey;
    std::vector<NamedKey> keys;
    for (const QString& part : text.split(QLatin1Char('+'))) {
        const QString word = part.trimmed().toLower();
        if (word.isEmpty()) {
            error = QStringLiteral("\"%1\" has an empty part; write it as ctrl+shift+a").arg(text);
            return std::nullopt;
        }
        if (const std::optional<int> bit = modifierBitOf(word)) {
            choice.comboKey.nModifier = std::uint16_t(choice.comboKey.nModifier | *bit);
            continue;
        }
        const std::optional<NamedKey> key = keyOf(part.trimmed(), error);
        if (!key)
            return std::nullopt;
        keys.push_back(*key);
    }
    if (keys.empty() || keys.size() > 2) {
        error = QStringLiteral("a combination has modifiers (alt, ctrl, shift, win) and one or two keys, not \"%1\"")
                    .arg(text);
        return std::nullopt;
    }
    choice.comboKey.nKeyValue1 = std::uint16_t(keys[0].virtualKey);
    choice.comboKey.nKey1Extended = std::uint16_t(keys[0].extended);
    if (keys.size() == 2) {
        choice.comboKey.nKeyValue2 = std::uint16_t(keys[1].virtualKey);
        choice.comboKey.nKey2Extended = std::uint16_t(keys[1].extended);
    }
    return choice;
}

std::optional<int> wholeNumber(const QString& text, int min, int max)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<ButtonFunctionChoice> parseFire(const QStringList& values, QString& error)
{
    const QString usage = QStringLiteral("fire takes a count (%1 to %2) and a delay in units of 10 ms (%3 to %4)")
                              .arg(kFireCountMin).arg(kFireCountMax).arg(kFireDelayMin).arg(kFireDelayMax);
    if (values.size() != 2) {
        error = usage;
        return std::nullopt;
    }
    const std::optional<int> count = wholeNumber(values[0], kFireCountMin, kFireCountMax);
    const std::optional<int> delay = wholeNumber(values[1], kFireDelayMin, kFireDelayMax);
    if (!count || !delay) {
        error = usage;
        return std::nullopt;
    }
    ButtonFunctionChoice choice;
    choice.kind = ButtonFunctionChoice::Kind::FireKey;
    choice.fireKey = TFIREKEYINFO{std::uint16_t(*count), std::uint16_t(*delay)};
    return choice;
}

} // namespace

QString functionWordOf(const char* caption)
{
    QString word = QString::fromLatin1(caption).toLower();
    if (word.endsWith(QLatin1String("...")))
        word.chop(3);
    word.replace(QLatin1String(" +"), QLatin1String("+"));
    word.replace(QLatin1String(" -"), QLatin1String("-"));
    word.replace(QLatin1Char(' '), QLatin1Char('-'));
    word.replace(QLatin1Char('/'), QLatin1Char('-'));
    return word;
}

QStringList simpleFunctionWords()
{
    QStringList words;
    for (int id : kSimpleItems)
        words << functionWordOf(ButtonMenuCaption(id));
    return words;
}

std::optional<ButtonFunctionChoice> parseButtonFunction(const QStringList& words, QString& error)
{
    if (words.isEmpty()) {
        error = QStringLiteral("the function is missing");
        return std::nullopt;
    }
    const QString first = words.first().toLower();
    const QStringList rest = words.mid(1);
    if (first == QLatin1String("key")) {
        if (rest.isEmpty()) {
            error = QStringLiteral("key takes the key's name, such as F5");
            return std::nullopt;
        }
        const std::optional<NamedKey> key = keyOf(rest.join(QLatin1Char(' ')), error);
        if (!key)
            return std::nullopt;
        ButtonFunctionChoice choice;
        choice.kind = ButtonFunctionChoice::Kind::SingleKey;
        choice.singleKey = TSINGLEKEYINFO{std::uint16_t(key->virtualKey), std::uint16_t(key->extended)};
        return choice;
    }
    if (first == QLatin1String("combo")) {
        if (rest.isEmpty()) {
            error = QStringLiteral("combo takes a combination, such as ctrl+shift+a");
            return std::nullopt;
        }
        return parseCombo(rest.join(QString()), error);
    }
    if (first == QLatin1String("macro")) {
        if (rest.isEmpty()) {
            error = QStringLiteral("macro takes the name of a macro of the current profile");
            return std::nullopt;
        }
        ButtonFunctionChoice choice;
        choice.kind = ButtonFunctionChoice::Kind::Macro;
        choice.macroName = rest.join(QLatin1Char(' '));
        return choice;
    }
    if (first == QLatin1String("fire") || first == QLatin1String("fire-key"))
        return parseFire(rest, error);
    if (const std::optional<int> id = simpleItemOf(first)) {
        if (!rest.isEmpty()) {
            error = QStringLiteral("%1 takes no value").arg(first);
            return std::nullopt;
        }
        ButtonFunctionChoice choice;
        choice.menuId = *id;
        return choice;
    }
    error = QStringLiteral("unknown function \"%1\"; one of: %2, key NAME, combo KEYS, macro NAME, fire COUNT DELAY")
                .arg(words.first(), simpleFunctionWords().join(QLatin1String(", ")));
    return std::nullopt;
}

} // namespace k4812::cli
