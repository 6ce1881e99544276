#include "profiles/ProfileExport.h"

#include "platform/storage/StorageError.h"
#include "profiles/Profile.h"
#include "profiles/ProfileManager.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace k4812 {

bool FolderTakesNewFiles(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // QTemporaryDir picks a name that does not exist yet and creates it in one step.
    QTemporaryDir probe(QDir(folder).filePath(QStringLiteral("tmp2323-XXXXXX")));
    if (!probe.isValid())
        return false;
    probe.setAutoRemove(false);
    if (!QDir().rmdir(probe.path()))
        throw StorageError(QStringLiteral("The test folder \"%1\" could not be removed.")
                               .arg(QDir::toNativeSeparators(probe.path())));
    return true;
}

ProfileExportResult ExportCurrentProfile(TDM& dm, const QString& file)
{
    if (!FolderTakesNewFiles(TuiProfile::folderOf(file)))
        return ProfileExportResult::NoPermission;
    if (!dm.SaveCurrentProfileInfoToFile(file))
        return ProfileExportResult::NoPermission;
    return ProfileExportResult::Saved;
}

} // namespace k4812
