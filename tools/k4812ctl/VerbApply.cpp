// k4812ctl apply: stores every profile and writes the profiles of both modes
// into the mouse, as the window's Apply button does.

#include "ApplyRunner.h"
#include "VerbProfileSupport.h"

namespace k4812::cli {

namespace {

constexpr unsigned kLastProfile = 4;

int runApplyVerb(Context& context, const QStringList& args)
{
    std::uint8_t lastProfile = 0;
    ApplyOptions options;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--no-verify")) {
            options.verify = false;
        } else if (arg.startsWith(QLatin1String("--last-profile="))) {
            const std::optional<unsigned> index = parseNumber(arg.section(QLatin1Char('='), 1), kLastProfile);
            if (!index)
                return context.usageError(QStringLiteral("bad --last-profile: expected 0 to %1").arg(kLastProfile));
            lastProfile = std::uint8_t(*index);
        } else {
            return context.usageError(QStringLiteral("apply takes no arguments besides --last-profile and --no-verify"));
        }
    }
    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    return runApply(context, *dm, lastProfile, options);
}

const VerbRegistration registration({
    "apply",
    "k4812ctl apply [--last-profile=N] [--no-verify]\n"
    "\n"
    "Does what the window's Apply button does: stores every profile (registry\n"
    "and profile files), applies the current profile's pointer speed, wheel\n"
    "lines and acceleration to the desktop (the back end K4812_POINTER_SETTINGS\n"
    "selects), and writes the profiles bound to Mode 1 and Mode 2 into the\n"
    "mouse's two banks with the report rate, active mode and wheel light. The\n"
    "mouse's own active CPI level is read back and kept. The fixed pauses of\n"
    "the sequence (half a second in all) are real. A line per step shows what\n"
    "was sent. The activation carries 1 and N (0 to 4, default 0), the last\n"
    "profile chosen with a profile button. Then everything written is read\n"
    "back and compared (not the active CPI level and mode, which the mouse's\n"
    "buttons change); --no-verify, or [Options] VerifyAfterApply=0 in\n"
    "config.ini, leaves that out. Exit status 1 when the mouse is absent, did\n"
    "not take or keep every setting, or could not be read back; the warning is\n"
    "shown in the stored interface language.",
    "store the profiles and write both modes into the mouse",
    runApplyVerb,
});

} // namespace

} // namespace k4812::cli
