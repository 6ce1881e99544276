// The profile manager's start-up: loading the bookkeeping records and the five
// profiles, checking them, and replacing what cannot be used by the factory
// settings with a notice.

#include "profiles/ProfileManager.h"

#include "macros/MacroFiles.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileStoreRecords.h"
#include "profiles/RecordChecks.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>

namespace k4812 {

using namespace storerecords;

namespace {

QString keptAsideText(const QString& aside)
{
    return aside.isEmpty() ? QString()
                           : QStringLiteral(" The old record was kept as the registry value \"%1\".").arg(aside);
}

// The profile record a loaded store holds (at least one whole record).
std::unique_ptr<TMOUSEPROFILEINFO> storedProfile(TuiProfile& store)
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    readStore(store, *profile);
    return profile;
}

QString withTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// Saves killed midway leave their temporary files beside the profile and
// macro files; these are removed from the folders the profiles name.
void removeStaleSaves(const TProfileSettingGroup& group, const QString& profilesFolder)
{
    QMap<QString, QStringList> profileNames;   // folder -> profile file names in it
    profileNames[profilesFolder] = {};
    QStringList macroFolders;
    for (int i = 0; i < kProfileCount; ++i) {
        const TProfileSetting& e = group.ProfileSettingList[i];
        const QString folder = e.FilePath.toString();
        if (!folder.isEmpty())
            profileNames[QDir::cleanPath(folder)] << e.FileName.toString();
        macroFolders << QDir::cleanPath(e.MacroPath.toString());
    }
    for (auto it = profileNames.cbegin(); it != profileNames.cend(); ++it) {
        QStringList names = it.value();
        for (int i = 0; i < kProfileCount; ++i)
            names << defaultProfileFileName(i);
        removeStaleTemporaryFiles(it.key(), names);
    }
    macroFolders.removeDuplicates();
    for (const QString& folder : macroFolders)
        removeStaleTemporaryFiles(folder, {}, QLatin1String(kMacroFileExtension));
}

} // namespace

QString TDM::keepRegistryValueAside(const QString& name)
{
    const QString key = QString::fromLatin1(kProfileKeyPath);
    try {
        const std::optional<Registry::Value> value = m_registry->readValue(HKEY_CURRENT_USER, key, name);
        if (!value)
            return {};
        const QString base = name + QLatin1String(".damaged-")
            + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        const QStringList names = m_registry->valueNames(HKEY_CURRENT_USER, key);
        QString aside = base;
        for (int n = 2; names.contains(aside, Qt::CaseInsensitive); ++n)
            aside = base + QLatin1Char('-') + QString::number(n);
        m_registry->writeValue(HKEY_CURRENT_USER, key, aside, value->type, value->data);
        return aside;
    } catch (const StorageError& error) {
        note(QStringLiteral("The registry value \"%1\" could not be kept aside: %2").arg(name, error.message()));
        return {};
    }
}

void TDM::DataModuleCreate()
{
    m_profileGroupIndex = 0;
    // The documents folder always exists on Windows; here it may not yet, and
    // the profiles folder is created inside it (one level) on first start.
    QDir().mkpath(QFileInfo(m_profilesFolder).absolutePath());

    configureStore(m_settingGroupStore, QLatin1String(kProfileSettingGroupName));
    writeStore(m_settingGroupStore, *makeZeroRecord<TProfileSettingGroup>());
    LoadProfileGroupSettingInfoFromRegistry();
    const QStringList registryNotices = m_registry->notices();
    removeStaleSaves(*m_profileSettingGroup, m_profilesFolder);

    configureStore(m_allSettingStore, QLatin1String(kAllSettingName));
    writeStore(m_allSettingStore, *m_allProfileSettingInfo);
    LoadAllProfileInfoFromRegistry();

    for (int i = 0; i < kProfileCount; ++i)
        loadProfileStore(i);

    SwitchToProfileGroup(m_profileGroupIndex);
    m_usageAndPage = kMouseUsageAndPage;
    QString configProblem;
    m_appConfig = AppConfig::fromFile(m_configFile, &configProblem);
    if (!configProblem.isEmpty())
        note(QStringLiteral("The configuration file was not used: %1.").arg(configProblem));
    m_otherConfig = m_appConfig.otherConfig();
    m_notices = registryNotices + m_notices;
}

void TDM::loadProfileStore(int index)
{
    TuiProfile& store = *m_profileStores[std::size_t(index)];
    const TProfileSetting& entry = m_profileSettingGroup->ProfileSettingList[index];
    configureStore(store, entry.FileName.toString());
    store.setFilePath(entry.FilePath.toString());
    writeStore(store, *makeZeroRecord<TMOUSEPROFILEINFO>());

    if (entry.SaveToFile == 1) {
        loadProfileFromFile(index, entry);
        return;
    }
    if (entry.SaveToFile != 0)
        return; // cannot happen: the group record was checked
    bool loaded = false;
    try {
        loaded = store.LoadStreamFromRegistry();
    } catch (const StorageError& error) {
        note(QStringLiteral("Profile %1 could not be loaded from the registry and starts from the factory "
                            "settings: %2")
                 .arg(index + 1)
                 .arg(error.message()));
    }
    if (loaded && store.Size() < qint64(sizeof(TMOUSEPROFILEINFO))) {
        note(QStringLiteral("Profile %1 in the registry is %2 bytes long, shorter than a profile; it starts from "
                            "the factory settings.")
                 .arg(index + 1)
                 .arg(store.Size()));
        resetStore<TMOUSEPROFILEINFO>(store);
        loaded = false;
    }
    if (loaded) {
        const QString damage = profileRecordProblem(*storedProfile(store));
        if (!damage.isEmpty()) {
            note(QStringLiteral("Profile %1 in the registry holds a value the program never stores (%2); it starts "
                                "from the factory settings.%3")
                     .arg(index + 1)
                     .arg(damage, keptAsideText(keepRegistryValueAside(store.FileName()))));
            resetStore<TMOUSEPROFILEINFO>(store);
            loaded = false;
        }
    }
    if (!loaded)
        store.RestoreToDefault(); // not saved: the registry value stays until the user saves
}

void TDM::loadProfileFromFile(int index, const TProfileSetting& entry)
{
    TuiProfile& store = *m_profileStores[std::size_t(index)];
    const QString folder = entry.FilePath.toString();
    const QString path = withTrailingSlash(folder) + entry.FileName.toString();
    const QFileInfo info(path);
    if (!info.exists()) {
        store.RestoreToDefault();
        try {
            if (store.SaveStreamToFile(path)) {
                // The folder exists now: later saves to the store's own path must
                // reach this file, not silently do nothing until the next start.
                store.setFilePath(folder);
            } else {
                note(QStringLiteral("The folder \"%1\" for profile %2 cannot be created; the profile is kept in "
                                    "memory only.")
                         .arg(folder)
                         .arg(index + 1));
            }
        } catch (const StorageError& error) {
            note(error.message());
        }
        return;
    }

    QString problem;
    try {
        if (!store.LoadStreamFromFile(path))
            problem = QStringLiteral("The file \"%1\" could not be loaded.").arg(path);
    } catch (const StorageError& error) {
        problem = error.message();
    }
    if (problem.isEmpty() && store.Size() < qint64(sizeof(TMOUSEPROFILEINFO))) {
        problem = QStringLiteral("The file \"%1\" is %2 bytes long, shorter than a profile (%3 bytes).")
                      .arg(path)
                      .arg(store.Size())
                      .arg(sizeof(TMOUSEPROFILEINFO));
    }
    if (problem.isEmpty()) {
        const QString damage = profileRecordProblem(*storedProfile(store));
        if (!damage.isEmpty())
            problem = QStringLiteral("The file \"%1\" holds a value the program never stores: %2.").arg(path, damage);
    }
    if (!problem.isEmpty())
        replaceUnreadableProfileFile(index, path, problem);
}

void TDM::replaceUnreadableProfileFile(int index, const QString& path, const QString& problem)
{
    TuiProfile& store = *m_profileStores[std::size_t(index)];
    resetStore<TMOUSEPROFILEINFO>(store);
    store.RestoreToDefault();
    const QString aside = QFileInfo(path).isDir() ? QString() : moveFileAside(path);
    QString outcome;
    try {
        outcome = store.SaveStreamToFile() ? QStringLiteral("a new file with them was written")
                                           : QStringLiteral("they are kept in memory only");
    } catch (const StorageError& error) {
        outcome = QStringLiteral("they are kept in memory only: %1").arg(error.message());
    }
    const QString kept = aside.isEmpty() ? QString()
                                         : QStringLiteral(" The old file was kept as \"%1\".").arg(aside);
    note(QStringLiteral("%1 Profile %2 starts from the factory settings; %3.%4")
             .arg(problem)
             .arg(index + 1)
             .arg(outcome, kept));
}

void TDM::LoadProfileGroupSettingInfoFromRegistry()
{
    TuiProfile& store = m_settingGroupStore;
    bool loaded = false;
    QString problem;
    try {
        loaded = store.LoadStreamFromRegistry();
    } catch (const StorageError& error) {
        problem = error.message();
    }
    if (loaded) {
        if (store.Size() < qint64(sizeof(TProfileSettingGroup))) {
            problem = QStringLiteral("it is %1 bytes long, not %2").arg(store.Size()).arg(sizeof(TProfileSettingGroup));
        } else {
            auto stored = makeZeroRecord<TProfileSettingGroup>();
            readStore(store, *stored);
            problem = profileSettingGroupProblem(*stored);
        }
    }
    if (!problem.isEmpty()) {
        note(QStringLiteral("The stored profile and mode settings could not be used (%1); they were replaced by the "
                            "factory settings.%2")
                 .arg(problem, keptAsideText(keepRegistryValueAside(store.FileName()))));
    }
    m_firstStart = !loaded && problem.isEmpty();
    useStoreOrDefaults<TProfileSettingGroup>(store, loaded && problem.isEmpty());
    readStore(store, *m_profileSettingGroup);
    m_profileGroupIndex = m_profileSettingGroup->CurrentProfileGroup;
    m_profileIndex = m_profileSettingGroup->ProfileIndexOfProfileGroup[m_profileGroupIndex];
}

void TDM::LoadAllProfileInfoFromRegistry()
{
    TuiProfile& store = m_allSettingStore;
    bool loaded = false;
    QString problem;
    try {
        loaded = store.LoadStreamFromRegistry();
    } catch (const StorageError& error) {
        problem = error.message();
    }
    if (loaded && store.Size() < qint64(sizeof(TALLGAMESINFO)))
        problem = QStringLiteral("it is %1 bytes long, not %2").arg(store.Size()).arg(sizeof(TALLGAMESINFO));
    if (!problem.isEmpty()) {
        note(QStringLiteral("The stored current profile and language could not be used (%1); they were replaced by "
                            "the factory settings.%2")
                 .arg(problem, keptAsideText(keepRegistryValueAside(store.FileName()))));
    }
    useStoreOrDefaults<TALLGAMESINFO>(store, loaded && problem.isEmpty());
    readStore(store, *m_allProfileSettingInfo);
}

} // namespace k4812
