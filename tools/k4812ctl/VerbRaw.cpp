// raw: one device command, framed as the mouse expects it.

#include "Cli.h"

#include "wire/ReportFraming.h"

#include <cstring>
#include <vector>

namespace k4812::cli {

namespace {

struct Subcommand {
    const char* name;
    const char* usage;
    int argumentCount;  // -1: two or more
    int (*run)(Context& context, const std::vector<unsigned>& numbers);
};

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString hexWord(unsigned value)
{
    return QLatin1String("0x") + QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString byteCount(std::size_t n)
{
    return n == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(n);
}

int deviceFailed(Context& context, const QString& what, int code)
{
    return context.fail(QStringLiteral("%1 failed: %2").arg(what, errnoText(code)));
}

int runWrite(Context& context, const std::vector<unsigned>& numbers)
{
    if (context.windowIsOpen())
        return kExitFailure;
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    std::vector<std::uint8_t> bytes(numbers.begin() + 1, numbers.end());
    const int code = WriteDeviceMemory(*hid, std::uint16_t(numbers[0]), bytes.data(), bytes.size());
    if (code != 0)
        return deviceFailed(
            context, QStringLiteral("writing %1 at %2").arg(byteCount(bytes.size()), hexWord(numbers[0])), code);
    return kExitOk;
}

int runRead(Context& context, const std::vector<unsigned>& numbers)
{
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    std::vector<std::uint8_t> bytes(numbers[1], 0);
    const int code = ReadDeviceMemory(*hid, std::uint16_t(numbers[0]), bytes.data(), bytes.size());
    if (code != 0)
        return deviceFailed(
            context, QStringLiteral("reading %1 at %2").arg(byteCount(bytes.size()), hexWord(numbers[0])), code);
    context.out() << hexBytes(bytes.data(), bytes.size()) << '\n';
    return kExitOk;
}

int runActivate(Context& context, const std::vector<unsigned>& numbers)
{
    if (context.windowIsOpen())
        return kExitFailure;
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    const int code = SendActivate(*hid, std::uint8_t(numbers[0]), std::uint8_t(numbers[1]));
    return code == 0 ? kExitOk : deviceFailed(context, QStringLiteral("activation"), code);
}

int runMark(Context& context, const std::vector<unsigned>& numbers)
{
    if (context.windowIsOpen())
        return kExitFailure;
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    const int code = SendUpdateMark(*hid, std::uint8_t(numbers[0]));
    return code == 0 ? kExitOk : deviceFailed(context, QStringLiteral("update mark"), code);
}

int runPreview(Context& context, const std::vector<unsigned>& numbers)
{
    if (context.windowIsOpen())
        return kExitFailure;
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    std::array<std::uint8_t, 5> light{};
    for (std::size_t i = 0; i < light.size(); ++i)
        light[i] = std::uint8_t(numbers[i]);
    const int code = SendLightPreview(*hid, light);
    return code == 0 ? kExitOk : deviceFailed(context, QStringLiteral("light preview"), code);
}

const Subcommand kSubcommands[] = {
    {"write", "k4812ctl raw write ADDR BYTE...", -1, runWrite},
    {"read", "k4812ctl raw read ADDR LEN", 2, runRead},
    {"activate", "k4812ctl raw activate P1 P2", 2, runActivate},
    {"mark", "k4812ctl raw mark 0|1", 1, runMark},
    {"preview", "k4812ctl raw preview B0 B1 B2 B3 B4", 5, runPreview},
};

// The largest value each argument of a subcommand takes.
unsigned argumentMax(const QString& subcommand, int index)
{
    if (index == 0 && (subcommand == QLatin1String("write") || subcommand == QLatin1String("read")))
        return 0xFFFF;
    if (index == 1 && subcommand == QLatin1String("read"))
        return unsigned(kMaxReadPayload);
    if (subcommand == QLatin1String("mark"))
        return 1;
    return 0xFF;
}

int runRaw(Context& context, const QStringList& args)
{
    if (args.isEmpty())
        return context.usageError(QStringLiteral("raw needs a command: write, read, activate, mark or preview"));
    const Subcommand* sub = nullptr;
    for (const Subcommand& s : kSubcommands) {
        if (args.first() == QLatin1String(s.name))
            sub = &s;
    }
    if (sub == nullptr)
        return context.usageError(QStringLiteral("unknown raw command \"%1\"").arg(args.first()));
    context.verbUsage = QString::fromLatin1(sub->usage);

    const QStringList operands = args.mid(1);
    const bool countOk = sub->argumentCount < 0 ? operands.size() >= 2 : operands.size() == sub->argumentCount;
    if (!countOk)
        return context.usageError(QStringLiteral("wrong number of arguments for raw %1").arg(args.first()));
    if (args.first() == QLatin1String("write") && std::size_t(operands.size() - 1) > kMaxWritePayload)
        return context.usageError(QStringLiteral("at most %1 bytes can be written at once").arg(kMaxWritePayload));

    std::vector<unsigned> numbers;
    for (int i = 0; i < operands.size(); ++i) {
        const unsigned max = argumentMax(args.first(), i);
        const std::optional<unsigned> value = parseNumber(operands[i], max);
        if (!value)
            return context.usageError(QStringLiteral("bad number \"%1\": expected 0 to %2 in decimal or 0x hex")
                                          .arg(operands[i])
                                          .arg(max));
        numbers.push_back(*value);
    }
    return sub->run(context, numbers);
}

const VerbRegistration registration({
    "raw",
    "k4812ctl raw write ADDR BYTE...\n"
    "       k4812ctl raw read ADDR LEN\n"
    "       k4812ctl raw activate P1 P2\n"
    "       k4812ctl raw mark 0|1\n"
    "       k4812ctl raw preview B0 B1 B2 B3 B4\n"
    "\n"
    "Sends one command to the mouse:\n"
    "  write     stores the bytes in the settings memory at ADDR (at most 2048)\n"
    "  read      reads LEN bytes at ADDR (at most 2040) and prints them in hex\n"
    "  activate  makes the written settings take effect (the program sends 1 and\n"
    "            the index of the last chosen profile)\n"
    "  mark      update mark: 0 before a group of commands, 1 after it\n"
    "  preview   shows a light setting at once without storing it: inverted\n"
    "            green, blue and red, brightness, breathing speed\n"
    "Every number is decimal or 0x hex.",
    "send one command to the mouse (write, read, activate, mark, preview)",
    runRaw,
});

} // namespace

} // namespace k4812::cli
