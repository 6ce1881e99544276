// k4812ctl profiles: the five profiles with their storage, the mode
// bindings, the active mode, the current profile and the language index.

#include "VerbProfileSupport.h"

namespace k4812::cli {

namespace {

int runProfiles(Context& context, const QStringList& args)
{
    if (!args.isEmpty())
        return context.usageError(QStringLiteral("profiles takes no arguments"));
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;

    const TProfileSettingGroup& group = dm->FProfileSettingGroup();
    QTextStream& out = context.out();
    for (int i = 0; i < kProfileCount; ++i) {
        out << "Profile " << i + 1 << ": " << storageOf(group.ProfileSettingList[i]) << " ("
            << dm->FProfileGroup(i)->Size() << " bytes)";
        if (i == dm->FProfileIndex())
            out << " [current]";
        out << '\n';
    }
    for (int m = 0; m < kModeCount; ++m) {
        out << "Mode " << m + 1 << ": profile " << group.ProfileIndexOfProfileGroup[m] + 1;
        if (m == dm->FProfileGroupIndex())
            out << " [active]";
        out << '\n';
    }
    out << "Active mode: " << dm->FProfileGroupIndex() + 1 << '\n'
        << "Current profile: " << dm->FProfileIndex() + 1 << '\n'
        << "Language index: " << dm->FAllProfileSettingInfo().CurrentLanguage << '\n';
    return kExitOk;
}

const VerbRegistration registration({
    "profiles",
    "k4812ctl profiles\n"
    "\n"
    "Lists the five profiles with where each is stored (its file, or its value\n"
    "in the registry database), the profile bound to each of the mouse's two\n"
    "modes, the active mode, the current profile and the interface language\n"
    "index. The first use creates the profile files and records with factory\n"
    "settings.",
    "list the profiles, their storage and the mode bindings",
    &runProfiles,
});

} // namespace

} // namespace k4812::cli
