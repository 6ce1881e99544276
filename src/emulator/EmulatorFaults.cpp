#include "emulator/EmulatorFaults.h"

#include <QStringList>

#include <algorithm>

namespace k4812 {

namespace {

std::optional<std::uint32_t> parseCount(const QString& text, std::uint32_t minimum)
{
    if (text.isEmpty() || !std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    bool ok = false;
    const std::uint32_t value = text.toUInt(&ok, 10);
    if (!ok || value < minimum)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<EmulatorFaults> parseEmulatorFaults(const QString& text, QString& error)
{
    EmulatorFaults faults;
    if (text.trimmed().isEmpty())
        return faults;
    for (const QString& rawItem : text.split(QLatin1Char(','))) {
        const QString item = rawItem.trimmed();
        if (item == QLatin1String("absent")) {
            faults.absent = true;
            continue;
        }
        const QString name = item.section(QLatin1Char('='), 0, 0);
        const QString value = item.section(QLatin1Char('='), 1);
        std::optional<std::uint32_t>* slot = nullptr;
        if (name == QLatin1String("fail"))
            slot = &faults.failAt;
        else if (name == QLatin1String("unplug"))
            slot = &faults.unplugAfter;
        else if (name == QLatin1String("short"))
            slot = &faults.shortAt;
        else if (name == QLatin1String("wrong"))
            slot = &faults.wrongAt;
        else if (name == QLatin1String("corrupt"))
            slot = &faults.corruptAt;
        if (slot == nullptr || !item.contains(QLatin1Char('='))) {
            error = QStringLiteral("unknown emulator fault \"%1\": use absent, fail=N, unplug=N, short=N, wrong=N "
                                   "or corrupt=N")
                        .arg(item);
            return std::nullopt;
        }
        if (slot->has_value()) {
            error = QStringLiteral("the emulator fault \"%1\" is given twice").arg(name);
            return std::nullopt;
        }
        *slot = parseCount(value, slot == &faults.unplugAfter ? 0 : 1);
        if (!slot->has_value()) {
            error = QStringLiteral("bad count in emulator fault \"%1\"").arg(item);
            return std::nullopt;
        }
    }
    return faults;
}

std::optional<EmulatorFaults> emulatorFaultsFromEnvironment(QString& error)
{
    std::optional<EmulatorFaults> faults = parseEmulatorFaults(qEnvironmentVariable(kEmulatorFaultsVariable), error);
    if (!faults)
        error = QStringLiteral("%1: %2").arg(QLatin1String(kEmulatorFaultsVariable), error);
    return faults;
}

} // namespace k4812
