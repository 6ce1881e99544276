// emulator: looks at the emulated mouse without sending it anything.

#include "Cli.h"

#include "wire/DeviceDescriptionFormat.h"
#include "wire/MemoryMap.h"
#include "emulator/EmulatorDescription.h"
#include "emulator/EmulatorStateFile.h"

#include <QJsonDocument>

namespace k4812::cli {

namespace {

// The emulated mouse's state as its state file holds it; nothing is sent and
// a missing file is a new mouse (and is not created).
std::optional<EmulatorState> readState(Context& context, const char* command)
{
    const DeviceSelection* selection = context.deviceSelection();
    if (selection == nullptr)
        return std::nullopt;
    if (selection->kind != DeviceSelection::Kind::Emulator) {
        context.fail(QStringLiteral("emulator %1 needs the emulator: use --device=emulator[:STATEFILE]")
                         .arg(QLatin1String(command)));
        return std::nullopt;
    }
    const QString stateFile = selection->stateFile.isEmpty() ? defaultEmulatorStateFile() : selection->stateFile;
    QString error;
    std::optional<EmulatorState> state = loadEmulatorState(stateFile, error);
    if (!state)
        context.fail(error);
    return state;
}

int runDump(Context& context, const QStringList& operands)
{
    if (operands.size() != 2)
        return context.usageError(QStringLiteral("wrong number of arguments for emulator dump"));
    const unsigned last = unsigned(kSettingsMemorySize - 1);
    const std::optional<unsigned> address = parseNumber(operands[0], last);
    const std::optional<unsigned> length = parseNumber(operands[1], unsigned(kSettingsMemorySize));
    if (!address || !length)
        return context.usageError(QStringLiteral("bad address or length: the memory spans 0x0000 to 0x%1")
                                      .arg(QString::number(last, 16).toUpper()));
    if (*address + *length > kSettingsMemorySize)
        return context.usageError(QStringLiteral("%1 bytes at 0x%2 run past the end of the memory (0x%3)")
                                      .arg(*length)
                                      .arg(QString::number(*address, 16).toUpper())
                                      .arg(QString::number(last, 16).toUpper()));

    const std::optional<EmulatorState> state = readState(context, "dump");
    if (!state)
        return kExitFailure;
    context.out() << hexBytes(state->memory.data() + *address, *length) << '\n';
    return kExitOk;
}

int runShow(Context& context, const QStringList& operands)
{
    bool json = false;
    for (const QString& operand : operands) {
        if (operand == QLatin1String("--json"))
            json = true;
        else
            return context.usageError(QStringLiteral("emulator show takes only --json, not \"%1\"").arg(operand));
    }
    const std::optional<EmulatorState> state = readState(context, "show");
    if (!state)
        return kExitFailure;
    const DeviceDescription description = describeEmulatorState(*state);
    if (json)
        context.out() << QJsonDocument(DeviceDescriptionJson(description)).toJson(QJsonDocument::Indented);
    else
        context.out() << DeviceDescriptionText(description);
    return kExitOk;
}

int runEmulator(Context& context, const QStringList& args)
{
    const QString command = args.value(0);
    if (command == QLatin1String("dump"))
        return runDump(context, args.mid(1));
    if (command == QLatin1String("show"))
        return runShow(context, args.mid(1));
    return context.usageError(command.isEmpty() ? QStringLiteral("emulator needs a command: dump or show")
                                                : QStringLiteral("unknown emulator command \"%1\"").arg(command));
}

const VerbRegistration registration({
    "emulator",
    "k4812ctl --device=emulator[:STATEFILE] emulator dump ADDR LEN\n"
    "       k4812ctl --device=emulator[:STATEFILE] emulator show [--json]\n"
    "\n"
    "Looks at the emulated mouse through its state file; nothing is sent to the\n"
    "mouse. A state file that does not exist yet is a new mouse, which holds\n"
    "the factory settings.\n"
    "  dump  prints LEN bytes of the settings memory at ADDR in hex (ADDR and\n"
    "        LEN are decimal or 0x hex)\n"
    "  show  describes what the mouse would do: the shared report-rate,\n"
    "        active-bank and wheel-light bytes, the last activation and the\n"
    "        light a preview shows, then per bank its buttons (keys by name),\n"
    "        CPI levels, light and macros; --json prints the same as JSON",
    "look at the emulated mouse (dump its memory, show what it would do)",
    runEmulator,
});

} // namespace

} // namespace k4812::cli
