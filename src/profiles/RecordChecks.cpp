#include "profiles/RecordChecks.h"

#include <cstring>

namespace k4812 {

QString profileFileNameProblem(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("the file name is empty");
    if (name.size() > kProfileFileNameUnits - 1)
        return QStringLiteral("the file name \"%1\" is longer than %2 characters")
            .arg(name)
            .arg(kProfileFileNameUnits - 1);
    if (name.contains(QLatin1Char('/')) || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" is not a plain file name").arg(name);
    return {};
}

QString profileSettingGroupProblem(const TProfileSettingGroup& group)
{
    const std::int32_t mode = group.CurrentProfileGroup;
    if (mode < 0 || mode >= kModeCount)
        return QStringLiteral("the active mode %1 is not 0 or 1").arg(mode);
    for (int m = 0; m < kModeCount; ++m) {
        const std::int32_t bound = group.ProfileIndexOfProfileGroup[m];
        if (bound < 0 || bound >= kProfileCount)
            return QStringLiteral("mode %1 is bound to profile %2, not one of 0 to 4").arg(m).arg(bound);
    }
    for (int i = 0; i < kProfileCount; ++i) {
        const TProfileSetting& e = group.ProfileSettingList[i];
        if (e.SaveToFile > 1)
            return QStringLiteral("profile %1 has the storage mode %2, not 0 or 1").arg(i).arg(e.SaveToFile);
        const QString nameProblem = profileFileNameProblem(e.FileName.toString());
        if (!nameProblem.isEmpty())
            return QStringLiteral("profile %1: %2").arg(i).arg(nameProblem);
        // A relative folder would put files where the program happens to run.
        const QString folder = e.FilePath.toString();
        if ((e.SaveToFile == 1 || !folder.isEmpty()) && !folder.startsWith(QLatin1Char('/')))
            return QStringLiteral("profile %1 has the folder \"%2\", which is not an absolute path").arg(i).arg(folder);
        const QString macroFolder = e.MacroPath.toString();
        if (!macroFolder.startsWith(QLatin1Char('/')))
            return QStringLiteral("profile %1 has the macro folder \"%2\", which is not an absolute path")
                .arg(i)
                .arg(macroFolder);
    }
    return {};
}

QString profileFileProblem(QByteArrayView bytes)
{
    std::int32_t version = 0;
    if (bytes.size() >= qsizetype(sizeof version))
        std::memcpy(&version, bytes.data(), sizeof version);
    if (version != kProfileFileVersion) {
        return QStringLiteral("it is not a profile file of this program (its first four bytes are not the version %1)")
            .arg(kProfileFileVersion);
    }
    if (bytes.size() < qsizetype(sizeof(TMOUSEPROFILEINFO))) {
        return QStringLiteral("it is %1 bytes long, shorter than a profile (%2 bytes)")
            .arg(bytes.size())
            .arg(sizeof(TMOUSEPROFILEINFO));
    }
    return {};
}

} // namespace k4812
