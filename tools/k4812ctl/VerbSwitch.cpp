// k4812ctl switch profile N | switch mode M: what the window's profile and
// mode buttons do, in the stores and in the mouse.

#include "CliSequenceHost.h"
#include "VerbProfileSupport.h"

#include "sequences/ProfileSwitch.h"

namespace k4812::cli {

namespace {

QString monitorText(const SendResult& result)
{
    switch (result.status) {
    case SendStatus::Answered: return QStringLiteral("told");
    case SendStatus::NoWindow: return QStringLiteral("not running");
    case SendStatus::TimedOut: return QStringLiteral("did not answer in time");
    case SendStatus::Failed: return QStringLiteral("could not be told: ") + result.error;
    }
    return QString();
}

int finish(Context& context, const SwitchReport& report)
{
    context.out() << "Mouse: " << report.commandsSent << " commands, " << outcomeText(report.firstError) << '\n';
    context.out() << "Monitor program: " << monitorText(report.monitor) << '\n';
    if (!report.profileIdError.isEmpty())
        return context.fail(QStringLiteral("\"ProfileID\" could not be written: %1").arg(report.profileIdError));
    if (report.firstError != 0)
        return context.fail(QStringLiteral("the mouse did not take the switch"));
    return kExitOk;
}

int switchTo(Context& context, const QStringList& args, bool profile)
{
    if (args.size() != 1)
        return context.usageError(profile ? QStringLiteral("switch profile takes a profile (1 to 5)")
                                          : QStringLiteral("switch mode takes a mode (1 or 2)"));
    const std::optional<int> index = profile ? parseOneBased(context, args[0], kProfileCount, "the profile")
                                             : parseOneBased(context, args[0], kModeCount, "the mode");
    if (!index)
        return kExitUsage;
    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;

    CliSequenceHost host(context);
    MainWindowState state;
    state.SystemMouseParams = SystemMouseParamsOf(dm->FCurrentProfileInfo());
    SwitchReport report;
    try {
        if (profile) {
            SwitchProfile(*dm, *hid, state, host, *index, &report);
        } else if (!SwitchMode(*dm, *hid, state, host, *index, &report)) {
            if (!report.switched) {
                context.out() << "Mode " << *index + 1 << " is active already; nothing was sent.\n";
                return kExitOk;
            }
        }
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    context.out() << "Profile " << dm->FProfileIndex() + 1 << " is current, in Mode " << dm->FProfileGroupIndex() + 1
                  << '\n';
    if (profile)
        context.out() << "ProfileID: " << (report.profileIdWritten ? "written" : "not written (no registry key)")
                      << '\n';
    return finish(context, report);
}

int runSwitch(Context& context, const QStringList& args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("profile"))
        return switchTo(context, args.mid(1), true);
    if (what == QLatin1String("mode"))
        return switchTo(context, args.mid(1), false);
    return context.usageError(what.isEmpty() ? QStringLiteral("switch needs profile or mode")
                                             : QStringLiteral("unknown switch \"%1\"").arg(what));
}

const VerbRegistration registration({
    "switch",
    "k4812ctl switch profile N\n"
    "       k4812ctl switch mode M\n"
    "\n"
    "profile: does what the window's profile button N (1 to 5) does: profile N\n"
    "becomes current and is bound to the active mode (both stored), the mouse\n"
    "is told to use it, the registry value ProfileID is set when its key\n"
    "exists, and the monitor program is told. mode: does what the mode button\n"
    "M (1 or 2) does: the mode becomes active with its profile (stored), the\n"
    "mouse is told, and so is the monitor program; nothing happens when M is\n"
    "active already. The commands' pauses are real. Exit status 1 when the\n"
    "mouse did not take the switch (the stores keep it).",
    "choose the current profile or the active mode, as the window's buttons do",
    runSwitch,
});

} // namespace

} // namespace k4812::cli
