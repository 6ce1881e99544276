#include "wire/KeyNameLookup.h"

#include "wire/KeyCodeTable.h"

#include <algorithm>
#include <vector>

namespace k4812 {

namespace {

// Lower case; blanks, '-' and '_' dropped when the name has letters or
// digits (a name made of punctuation, such as "-_", is kept whole).
QString normalized(const QString& name)
{
    QString text = name.trimmed().toLower();
    const bool hasWord = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
    if (hasWord)
        text.removeIf([](QChar c) { return c.isSpace() || c == QLatin1Char('_') || c == QLatin1Char('-'); });
    return text;
}

struct Candidate {
    NamedKey key;
    int usage;
};

bool isNamed(const TKeyboardInfoTable& entry)
{
    return !entry.KeyDescription.isEmpty() && !entry.KeyDescription.startsWith(QLatin1String("UNDEFINED"))
        && entry.KeyDescription != QLatin1String("Undefined");
}

bool matches(const TKeyboardInfoTable& entry, const QString& wanted)
{
    if (normalized(entry.KeyDescription) == wanted || normalized(entry.VKName) == wanted)
        return true;
    const QString vkName = entry.VKName.startsWith(QLatin1String("VK_")) ? entry.VKName.mid(3) : entry.VKName;
    return normalized(vkName) == wanted;
}

bool sendable(int usage)
{
    return usage > 0 && usage <= 0xFF;
}

// Whether `a` is the better choice of two keys of one name.
bool better(const Candidate& a, const Candidate& b)
{
    if (sendable(a.usage) != sendable(b.usage))
        return sendable(a.usage);
    return a.usage < b.usage;
}

} // namespace

std::optional<NamedKey> KeyOfName(const QString& name)
{
    const QString wanted = normalized(name);
    if (wanted.isEmpty())
        return std::nullopt;
    std::vector<Candidate> found;
    for (const TKeyboardInfoTable& entry : NormalKeyTable()) {
        if (isNamed(entry) && matches(entry, wanted)) {
            // A key that exists only in an extended form is recorded with the flag.
            const int extended = entry.Extended == kExtendedEntry ? 1 : 0;
            found.push_back({{entry.VKCode, extended}, HidUsageOf(entry.VKCode, extended)});
        }
    }
    for (const TKeyboardInfoTable& entry : ExtendedKeyTable()) {
        if (isNamed(entry) && matches(entry, wanted))
            found.push_back({{entry.VKCode, 1}, HidUsageOf(entry.VKCode, 1)});
    }
    if (found.empty())
        return std::nullopt;
    const Candidate* best = &found.front();
    for (const Candidate& c : found) {
        if (better(c, *best))
            best = &c;
    }
    return best->key;
}

} // namespace k4812
