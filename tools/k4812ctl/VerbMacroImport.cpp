#include "VerbMacroImport.h"

#include "ProfileFileReader.h"
#include "VerbProfileSupport.h"

#include "sequences/ApplySequence.h"
#include "macros/MacroClass.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"
#include "profiles/ButtonAssignment.h"
#include "records/RecordBytes.h"

namespace k4812::cli {

int runMacroImport(Context& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("macro import takes one macro file"));
    auto macro = makeZeroRecord<TMACROKEYINFO>();
    QString error;
    if (readMacroFile(args[0], *macro, error) != MacroFileRead::Read)
        return context.fail(error);
    const QString name = macroNameOf(*macro);
    if (!isUsableMacroFileName(name, error))
        return context.fail(QStringLiteral("the macro in \"%1\" cannot be imported: %2").arg(args[0], error));

    if (context.windowIsOpen())
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    TMOUSEPROFILEINFO& profile = dm->FCurrentProfileInfo();
    const int count = profile.MacroKeyInfoList.nMacroInfoCount;
    if (count >= TuiMacroClass::FMaxMacroListCount)
        return context.fail(QStringLiteral("profile %1 holds %2 macros, the most it can")
                                .arg(dm->FProfileIndex() + 1)
                                .arg(count));
    if (FindMacroByName(profile, name) >= 0)
        return context.fail(QStringLiteral("profile %1 has a macro named \"%2\" already")
                                .arg(dm->FProfileIndex() + 1)
                                .arg(printable(name)));

    macro->nMacroIndex = std::uint16_t(count);
    // The profile's macros each have their file in its macro folder; the new
    // one's is written before the profile is stored, so a failure changes nothing.
    const QString folder = dm->FProfileSettingGroup().ProfileSettingList[dm->FProfileIndex()].MacroPath.toString();
    auto single = makeZeroRecord<TMACROKEYINFOLIST>();
    single->MacroInfos[0] = *macro;
    single->nMacroInfoCount = 1;
    if (folder.isEmpty())
        warn(context, QStringLiteral("profile %1 has no macro folder; no macro file was written")
                          .arg(dm->FProfileIndex() + 1));
    else if (!saveMacroListToFiles(*single, folder, error))
        return context.fail(error);

    profile.MacroKeyInfoList.MacroInfos[count] = *macro;
    profile.MacroKeyInfoList.nMacroInfoCount = std::uint16_t(count + 1);
    try {
        StoreAllProfiles(*dm);
    } catch (const StorageError& e) {
        return context.fail(QStringLiteral("the profile could not be stored: %1").arg(e.message()));
    }
    context.out() << "Profile " << dm->FProfileIndex() + 1 << ": macro " << count + 1 << " is \"" << printable(name)
                  << "\" (" << macro->MacroListCount << " actions)\n";
    return kExitOk;
}

} // namespace k4812::cli
