#include "profiles/ProfileFileActions.h"

#include "profiles/Profile.h"
#include "profiles/ProfileExport.h"
#include "profiles/RecordChecks.h"

#include <QDir>
#include <QFileInfo>

namespace k4812 {

namespace {

// Reads `file` into a store of its own and says whether it is a profile.
ProfileFileResult checkProfileFile(const QString& file)
{
    TuiProfile probe;
    if (!probe.LoadStreamFromFile(file))
        return {ProfileFileStatus::Missing, QStringLiteral("\"%1\" does not exist.").arg(file)};
    const QString problem = profileBytesProblem(probe.stream());
    if (!problem.isEmpty())
        return {ProfileFileStatus::NotAProfile, QStringLiteral("\"%1\" cannot be loaded: %2.").arg(file, problem)};
    return {};
}

void storeCurrentProfileAndGroup(TDM& dm)
{
    dm.SaveCurrentProfileInfoToRegistry();
    dm.SaveBackToProfileGroupSettingInfo();
    dm.SaveProfileGroupSettingInfoToRegistry();
}

} // namespace

QString PresetProfileFile(const QString& programFolder, int n)
{
    return QDir(programFolder).filePath(QStringLiteral("PresetProfile%1.pfd").arg(n));
}

QString WithProfileFileSuffix(const QString& file)
{
    if (file.isEmpty() || !QFileInfo(file).suffix().isEmpty())
        return file;
    return file + QLatin1Char('.') + QLatin1String(kProfileFileSuffix);
}

ProfileFileResult LoadPresetProfile(TDM& dm, const QString& file)
{
    ProfileFileResult check = checkProfileFile(file);
    if (!check.done())
        return check;
    dm.changeAsOneStep([&] {
        dm.LoadCurrentProfileInfoFromFile(file);
        storeCurrentProfileAndGroup(dm);
    });
    return {};
}

ProfileFileResult ImportProfileFile(TDM& dm, const QString& file)
{
    ProfileFileResult check = checkProfileFile(file);
    if (!check.done())
        return check;
    const QString absolute = QFileInfo(file).absoluteFilePath();
    bool bound = false;
    dm.changeAsOneStep([&] {
        bound = dm.ChangeCurrentProfileFileNameAndPath(absolute);
        if (!bound)
            return;
        dm.LoadCurrentProfileInfoFromFile(absolute);
        storeCurrentProfileAndGroup(dm);
    });
    if (!bound) {
        return {ProfileFileStatus::NameNotStorable,
                QStringLiteral("A profile cannot be kept in \"%1\": its name must be 1 to 20 characters.")
                    .arg(absolute)};
    }
    return {};
}

ProfileFileResult ExportProfileFile(TDM& dm, const QString& file)
{
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (ExportCurrentProfile(dm, absolute) != ProfileExportResult::Saved) {
        return {ProfileFileStatus::FolderNotWritable,
                QStringLiteral("\"%1\" takes no new files.").arg(QFileInfo(absolute).absolutePath())};
    }
    return {};
}

} // namespace k4812
