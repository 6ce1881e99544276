// emulator: looks at the emulated mouse without sending it anything.

#include "Cli.h"

#include "device/MemoryMap.h"
#include "platform/EmulatorStateFile.h"

namespace k4812::cli {

namespace {

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

    const DeviceSelection* selection = context.deviceSelection();
    if (selection == nullptr)
        return kExitFailure;
    if (selection->kind != DeviceSelection::Kind::Emulator)
        return context.fail(QStringLiteral("emulator dump needs the emulator: use --device=emulator[:STATEFILE]"));
    const QString stateFile = selection->stateFile.isEmpty() ? defaultEmulatorStateFile() : selection->stateFile;
    QString error;
    const std::optional<EmulatorState> state = loadEmulatorState(stateFile, error);
    if (!state)
        return context.fail(error);
    context.out() << hexBytes(state->memory.data() + *address, *length) << '\n';
    return kExitOk;
}

int runEmulator(Context& context, const QStringList& args)
{
    if (args.isEmpty() || args.first() != QLatin1String("dump"))
        return context.usageError(args.isEmpty() ? QStringLiteral("emulator needs a command: dump")
                                                 : QStringLiteral("unknown emulator command \"%1\"").arg(args.first()));
    return runDump(context, args.mid(1));
}

const VerbRegistration registration({
    "emulator",
    "k4812ctl --device=emulator[:STATEFILE] emulator dump ADDR LEN\n"
    "\n"
    "Prints LEN bytes of the emulated mouse's settings memory at ADDR in hex,\n"
    "read from its state file; nothing is sent to the mouse. A state file that\n"
    "does not exist yet is a new mouse. ADDR and LEN are decimal or 0x hex.",
    "look at the emulated mouse's memory (dump)",
    runEmulator,
});

} // namespace

} // namespace k4812::cli
