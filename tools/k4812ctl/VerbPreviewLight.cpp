// preview-light FILE.pfd: shows a profile's light on the mouse at once,
// without storing it, as the Advanced page does while the light is edited.

#include "Cli.h"
#include "ProfileFileReader.h"

#include "profiles/RecordChecks.h"

#include "sequences/LightSenders.h"

#include <cstring>

namespace k4812::cli {

namespace {

int runPreviewLight(Context& context, const QStringList& args)
{
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return context.usageError(QStringLiteral("preview-light takes one profile file"));
    const auto profile = readProfileFile(context, args.first());
    if (!profile)
        return kExitFailure;
    if (context.windowIsOpen())
        return kExitFailure;
    // Only a light the program could have stored reaches the mouse.
    const QString problem = lightProblem(profile->ConfigInfo);
    if (!problem.isEmpty())
        return context.fail(QStringLiteral("\"%1\" holds a value the program never stores, nothing was sent: %2")
                                .arg(args.first(), problem));
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;
    const int error = PreviewLight(*hid, *profile);
    if (error != 0)
        return context.fail(
            QStringLiteral("light preview failed: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
    return kExitOk;
}

const VerbRegistration registration({
    "preview-light",
    "k4812ctl preview-light FILE.pfd\n"
    "\n"
    "Shows the light of the profile FILE.pfd on the mouse at once: its colour,\n"
    "brightness and breathing speed as a preview, and its wheel-light byte.\n"
    "Nothing is stored in a bank; restore-light puts the stored light back.",
    "show a profile's light on the mouse without storing it",
    runPreviewLight,
});

} // namespace

} // namespace k4812::cli
