// k4812ctl mode show | mode bind MODE PROFILE: the mouse's two hardware modes
// and the profile bound to each.

#include "VerbProfileSupport.h"

namespace k4812::cli {

namespace {

int modeShow(Context& context, const QStringList& args)
{
    if (!args.isEmpty())
        return context.usageError(QStringLiteral("mode show takes no arguments"));
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    for (int m = 0; m < kModeCount; ++m) {
        context.out() << "Mode " << m + 1 << ": profile "
                      << dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[m] + 1;
        if (m == dm->FProfileGroupIndex())
            context.out() << " [active]";
        context.out() << '\n';
    }
    return kExitOk;
}

int modeBind(Context& context, const QStringList& args)
{
    if (args.size() != 2)
        return context.usageError(QStringLiteral("mode bind takes a mode (1 or 2) and a profile (1 to 5)"));
    const std::optional<int> mode = parseOneBased(context, args[0], kModeCount, "the mode");
    if (!mode)
        return kExitUsage;
    const std::optional<int> profile = parseOneBased(context, args[1], kProfileCount, "the profile");
    if (!profile)
        return kExitUsage;
    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    try {
        dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[*mode] = *profile;
        // Binding the active mode changes the current profile; the stored
        // current profile follows, as it does when a profile is chosen.
        const bool active = *mode == dm->FProfileGroupIndex();
        if (active)
            dm->SwitchToProfileGroup(*mode);
        if (!dm->SaveProfileGroupSettingInfoToRegistry() || (active && !dm->SaveBackAllProfileSettingInfo()))
            return context.fail(QStringLiteral("the mode binding could not be saved"));
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    context.out() << "Mode " << *mode + 1 << ": profile " << *profile + 1 << '\n';
    return kExitOk;
}

int runMode(Context& context, const QStringList& args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("show"))
        return modeShow(context, args.mid(1));
    if (what == QLatin1String("bind"))
        return modeBind(context, args.mid(1));
    return context.usageError(what.isEmpty() ? QStringLiteral("mode needs show or bind")
                                             : QStringLiteral("unknown mode command \"%1\"").arg(what));
}

const VerbRegistration registration({
    "mode",
    "k4812ctl mode show\n"
    "       k4812ctl mode bind MODE PROFILE\n"
    "\n"
    "show prints the profile bound to each of the mouse's two modes and which\n"
    "mode is active. bind binds profile PROFILE (1 to 5) to mode MODE (1 or 2)\n"
    "and saves the binding; the mouse takes it with the next apply.",
    "show or change the profile of each hardware mode",
    &runMode,
});

} // namespace

} // namespace k4812::cli
