// restore-light FILE.pfd MODE: puts a light back into the active mode's bank
// and activates it, as the window's "Restore light" button does with the
// light of the last apply.

#include "Cli.h"
#include "CliPauser.h"
#include "ProfileFileReader.h"

#include "profiles/RecordChecks.h"

#include "sequences/LightSenders.h"

#include <cstring>

namespace k4812::cli {

namespace {

constexpr unsigned kLastProfile = 4;

int runRestoreLight(Context& context, const QStringList& args)
{
    LastActivatedProfile activation;
    QStringList operands;
    for (const QString& arg : args) {
        if (arg.startsWith(QLatin1String("--last-profile="))) {
            const std::optional<unsigned> index = parseNumber(arg.section(QLatin1Char('='), 1), kLastProfile);
            if (!index)
                return context.usageError(QStringLiteral("bad --last-profile: expected 0 to %1").arg(kLastProfile));
            activation.profileIndex = std::uint8_t(*index);
        } else if (arg.startsWith(QLatin1String("--"))) {
            return context.usageError(QStringLiteral("unknown option \"%1\"").arg(arg));
        } else {
            operands << arg;
        }
    }
    if (operands.size() != 2)
        return context.usageError(QStringLiteral("restore-light takes a profile file and a mode"));
    const std::optional<unsigned> mode = parseNumber(operands[1], 1);
    if (!mode)
        return context.usageError(QStringLiteral("bad mode \"%1\": 0 (Mode 1) or 1 (Mode 2)").arg(operands[1]));

    const auto profile = readProfileFile(context, operands[0]);
    if (!profile)
        return kExitFailure;
    if (context.windowIsOpen())
        return kExitFailure;
    // Only a light the program could have stored reaches the mouse.
    const QString problem = lightProblem(profile->ConfigInfo);
    if (!problem.isEmpty())
        return context.fail(QStringLiteral("\"%1\" holds a value the program never stores, nothing was sent: %2")
                                .arg(operands[0], problem));
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    const TLEDCONFIG light = profile->ConfigInfo.LEDConfig;
    const int error = RestoreLight(*hid, cliPauser(), light, int(*mode), activation);
    if (error != 0)
        return context.fail(QStringLiteral("restoring the light failed: %1")
                                .arg(QString::fromLocal8Bit(std::strerror(error))));
    return kExitOk;
}

const VerbRegistration registration({
    "restore-light",
    "k4812ctl restore-light [--last-profile=N] FILE.pfd MODE\n"
    "\n"
    "Writes the light of the profile FILE.pfd into the light block of the bank\n"
    "of MODE (0 for Mode 1, 1 for Mode 2, the active mode) and activates it,\n"
    "as \"Restore light\" does after a preview. The activation carries 1 and the\n"
    "last profile chosen with a profile button, N (0 to 4, default 0).",
    "put a profile's light back into the active mode's bank",
    runRestoreLight,
});

} // namespace

} // namespace k4812::cli
