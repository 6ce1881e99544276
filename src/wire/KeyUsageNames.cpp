#include "wire/KeyUsageNames.h"

#include "wire/KeyCodeTable.h"

#include <QStringList>

namespace k4812 {

namespace {

// The browser, volume, media and launch keys (VK_BROWSER_BACK to
// VK_LAUNCH_APP2) carry consumer-page usages.
constexpr int kFirstConsumerKey = 0xA6;
constexpr int kLastConsumerKey = 0xB7;

bool isConsumerKey(const TKeyboardInfoTable& entry)
{
    return entry.VKCode >= kFirstConsumerKey && entry.VKCode <= kLastConsumerKey;
}

bool isExtendedSelector(int extendedFlag)
{
    return extendedFlag != 0 && extendedFlag != kNotExtendedEntry;
}

// The entries of the table that a key with that flag is looked up in.
bool inFlagsTable(const TKeyboardInfoTable& entry, bool extended, bool fromExtendedTable)
{
    if (!extended)
        return !fromExtendedTable;
    return fromExtendedTable || entry.Extended == kExtendedEntry;
}

void addName(QStringList& names, const TKeyboardInfoTable& entry)
{
    if (!entry.KeyDescription.isEmpty() && !names.contains(entry.KeyDescription))
        names << entry.KeyDescription;
}

} // namespace

QString KeyNameOfHidUsage(int usage, int extendedFlag)
{
    if (usage <= 0)
        return {};
    const bool extended = isExtendedSelector(extendedFlag);
    QStringList preferred;
    QStringList others;
    for (const bool fromExtendedTable : {false, true}) {
        const KeyTable& table = fromExtendedTable ? ExtendedKeyTable() : NormalKeyTable();
        for (const TKeyboardInfoTable& entry : table) {
            if (entry.HIDCode != usage || isConsumerKey(entry))
                continue;
            addName(inFlagsTable(entry, extended, fromExtendedTable) ? preferred : others, entry);
        }
    }
    return (preferred.isEmpty() ? others : preferred).join(QLatin1String(" or "));
}

QString MediaKeyNameOfUsage(int usage)
{
    if (usage <= 0)
        return {};
    for (int vk = kFirstConsumerKey; vk <= kLastConsumerKey; ++vk) {
        const TKeyboardInfoTable& entry = NormalKeyTable()[vk];
        if (entry.HIDCode == usage)
            return entry.KeyDescription;
    }
    return {};
}

} // namespace k4812
