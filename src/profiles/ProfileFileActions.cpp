#include "profiles/ProfileFileActions.h"

#include "profiles/Profile.h"
#include "profiles/RecordChecks.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace k4812 {

namespace {

// Reads `file` into a store of its own and says whether it is a profile.
ProfileFileResult checkProfileFile(const QString& file)
{
    TuiProfile probe;
    if (!probe.LoadStreamFromFile(file))
        return {ProfileFileStatus::Missing, QStringLiteral("\"%1\" does not exist.").arg(file)};
    const QString problem = profileFileProblem(probe.stream());
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

// Whether a new entry can be made in `folder`: a uniquely named test folder
// is made and removed again, so an existing folder of any name cannot stop
// the check and nothing of the user's is touched.
bool folderTakesNewFiles(const QString& folder)
{
    QTemporaryDir probe(QDir(folder).filePath(QStringLiteral("tmp2323-XXXXXX")));
    return probe.isValid();
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
    dm.LoadCurrentProfileInfoFromFile(file);
    storeCurrentProfileAndGroup(dm);
    return {};
}

ProfileFileResult ImportProfileFile(TDM& dm, const QString& file)
{
    ProfileFileResult check = checkProfileFile(file);
    if (!check.done())
        return check;
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (!dm.ChangeCurrentProfileFileNameAndPath(absolute)) {
        return {ProfileFileStatus::NameNotStorable,
                QStringLiteral("A profile cannot be kept in \"%1\": its name must be 1 to 20 characters.")
                    .arg(absolute)};
    }
    dm.LoadCurrentProfileInfoFromFile(absolute);
    storeCurrentProfileAndGroup(dm);
    return {};
}

ProfileFileResult ExportProfileFile(TDM& dm, const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!folderTakesNewFiles(folder))
        return {ProfileFileStatus::FolderNotWritable, QStringLiteral("\"%1\" takes no new files.").arg(folder)};
    if (!dm.SaveCurrentProfileInfoToFile(QFileInfo(file).absoluteFilePath()))
        return {ProfileFileStatus::FolderNotWritable, QStringLiteral("\"%1\" cannot be written.").arg(file)};
    return {};
}

} // namespace k4812
