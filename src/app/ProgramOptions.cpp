#include "app/ProgramOptions.h"

namespace k4812 {

namespace {

constexpr const char* kScreenshotOption = "--screenshot";

// "--name=value" or "--name value"; false when `arg` is not this option.
bool takeValue(const QString& name, const QStringList& args, qsizetype& i, QString& value, QString& error)
{
    const QString& arg = args[i];
    if (arg.startsWith(name + QLatin1Char('='))) {
        value = arg.mid(name.size() + 1);
    } else if (arg == name) {
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs a value").arg(name);
            return true;
        }
        value = args[++i];
    } else {
        return false;
    }
    if (value.isEmpty())
        error = QStringLiteral("%1 needs a value").arg(name);
    return true;
}

} // namespace

std::optional<ProgramOptions> parseProgramOptions(const QStringList& args, QString& error)
{
    ProgramOptions options;
    error.clear();
    for (qsizetype i = 0; i < args.size() && error.isEmpty(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            options.help = true;
        else if (takeValue(QStringLiteral("--device"), args, i, options.device, error)) {
        } else if (takeValue(QStringLiteral("--trace"), args, i, options.trace, error)) {
        } else if (takeValue(QLatin1String(kScreenshotOption), args, i, options.screenshot, error)) {
        } else if (arg.startsWith(QLatin1Char('-')))
            error = QStringLiteral("unknown option \"%1\"").arg(arg);
        else
            error = QStringLiteral("unexpected argument \"%1\"").arg(arg);
    }
    if (!error.isEmpty())
        return std::nullopt;
    return options;
}

bool argumentsAskForAScreenshot(int argc, const char* const* argv)
{
    const QLatin1String option(kScreenshotOption);
    for (int i = 1; i < argc; ++i) {
        const QLatin1String arg(argv[i]);
        if (arg == option || (arg.startsWith(option) && arg.size() > option.size() && arg[option.size()] == '='))
            return true;
    }
    return false;
}

QString programUsage()
{
    return QStringLiteral(
        "Usage: k4812-config [--device=hidraw|emulator[:STATEFILE]] [--trace=FILE] [--screenshot FILE] [--help]\n"
        "\n"
        "The configuration window of the K4812 gaming mouse.\n"
        "\n"
        "  --device=hidraw            use the machine's HID devices (the default)\n"
        "  --device=emulator[:FILE]   use the mouse emulator, its memory kept in FILE\n"
        "                             (K4812_DEVICE sets the same when --device is absent)\n"
        "  --trace=FILE               append every feature report exchanged to FILE\n"
        "  --screenshot FILE          render the filled window into the PNG FILE and exit\n"
        "                             (starts no monitor and takes no single-instance lock)\n"
        "  --help, -h                 print this help and exit (needs no display)\n");
}

} // namespace k4812
