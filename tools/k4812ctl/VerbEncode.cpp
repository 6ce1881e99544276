// k4812ctl encode FILE.pfd: the device blocks a profile file turns into,
// without a mouse. Shows exactly what an apply would write for that profile.

#include "Cli.h"
#include "ProfileFileReader.h"

#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"
#include "records/Records.h"

namespace k4812::cli {

namespace {

template <std::size_t N>
void printBlock(QTextStream& out, const char* name, const std::array<std::uint8_t, N>& bytes, std::size_t used = N)
{
    out << name;
    if (used > 0)
        out << ' ' << hexBytes(bytes.data(), used);
    out << '\n';
}

int runEncode(Context& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("encode takes one profile file"));
    const auto profile = readProfileFile(context, args.first());
    if (!profile)
        return kExitFailure;

    const auto copy = PrepareDeviceProfile(*profile);
    EncodingNotes notes;
    const ButtonBlock buttons = EncodeButtonBlock(*copy, &notes);
    const CpiBlock cpi = EncodeCpiBlock(*copy, &notes);
    const LightBlock light = EncodeLightBlock(copy->ConfigInfo.LEDConfig);
    const MacroBlocks macros = EncodeMacroBlocks(*copy, &notes);
    const int rateCode = ReportRateCode(*copy, &notes);
    const std::uint8_t wheelLight = EncodeWheelLightByte(copy->ConfigInfo.WheelLedOnOff, copy->ConfigInfo.HWVWheelValue);

    for (const QString& note : notes)
        warn(context, note);
    QTextStream& out = context.out();
    printBlock(out, "buttons", buttons);
    printBlock(out, "cpi", cpi);
    printBlock(out, "light", light);
    for (int k = 0; k < kMacroBlockCount; ++k) {
        const QByteArray name = "macro" + QByteArray::number(k);
        printBlock(out, name.constData(), macros.blocks[k], macros.lengths[k]);
    }
    out << "rate-code " << rateCode << '\n';
    out << "wheel-light " << hexBytes(&wheelLight, 1) << '\n';
    return kExitOk;
}

const VerbRegistration registration({
    "encode",
    "k4812ctl encode FILE.pfd\n"
    "\n"
    "Prints the device blocks that applying the profile FILE.pfd would write,\n"
    "one line per block as NAME and its bytes in hex: buttons (65 bytes),\n"
    "cpi (32), light (6), macro0 ... macro4 (the bytes in use; nothing for an\n"
    "unused block), then rate-code N and wheel-light HH. No mouse is needed.\n"
    "Values the mouse cannot take are reported as warnings on stderr.",
    "print the device blocks of a profile file",
    runEncode,
});

} // namespace

} // namespace k4812::cli
