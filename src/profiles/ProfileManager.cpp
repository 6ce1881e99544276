#include "profiles/ProfileManager.h"

#include "i18n/WindowsLanguageId.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/RecordBytes.h"
#include "profiles/RecordChecks.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>
#include <stdexcept>

namespace k4812 {

namespace {

TDM* g_instance = nullptr;

// Copies the store's bytes into the record; what the store does not cover
// is zero, never left over from an earlier profile.
template <class Record>
void readStore(const TuiProfile& store, Record& record)
{
    std::memset(&record, 0, sizeof record);
    store.Read(&record, int(sizeof record));
}

template <class Record>
void writeStore(TuiProfile& store, const Record& record)
{
    store.Write(&record, int(sizeof record));
}

// Replaces whatever the store holds by a zero record of the right size.
template <class Record>
void resetStore(TuiProfile& store)
{
    store.setSize(0);
    writeStore(store, *makeZeroRecord<Record>());
}

// Keeps a bookkeeping store that loaded and passed its checks; otherwise
// starts it over from the factory settings and saves them to the registry.
template <class Record>
void useStoreOrDefaults(TuiProfile& store, bool usable)
{
    if (usable)
        return;
    resetStore<Record>(store);
    store.RestoreToDefault();
    store.SaveStreamToRegistry();
}

// A restore handler's frame: the buffer's bytes in a record (zero where the
// buffer is shorter), the defaults applied, and the record written back over
// the start of the buffer, which grows when needed and never shrinks.
template <class Record, class Apply>
void restoreInStream(QByteArray& stream, Apply apply)
{
    auto record = makeZeroRecord<Record>();
    copyBytesIntoRecord(*record, stream);
    apply(*record);
    if (stream.size() < qsizetype(sizeof(Record)))
        stream.resize(qsizetype(sizeof(Record)));
    std::memcpy(stream.data(), record.get(), sizeof(Record));
}

QString keptAsideText(const QString& aside)
{
    return aside.isEmpty() ? QString()
                           : QStringLiteral(" The old record was kept as the registry value \"%1\".").arg(aside);
}

QString withTrailingSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A profile store that just loaded fewer bytes than a profile record gets its
// old bytes back and the load is refused: the working copy would be mostly
// zero, and the next apply would write that into the mouse.
void refuseShortProfile(TuiProfile& store, const QByteArray& before, const QString& source)
{
    const qint64 loaded = store.Size();
    if (loaded >= qint64(sizeof(TMOUSEPROFILEINFO)))
        return;
    store.setSize(0);
    store.Write(before.constData(), int(before.size()));
    throw StorageError(QStringLiteral("%1 is %2 bytes long, shorter than a profile (%3 bytes); it was not loaded and "
                                      "nothing was changed.")
                           .arg(source)
                           .arg(loaded)
                           .arg(sizeof(TMOUSEPROFILEINFO)));
}

} // namespace

TDM::TDM(const Options& options)
    : m_registry(std::make_unique<Registry>(options.registryPath.isEmpty() ? Registry::defaultDatabasePath()
                                                                            : options.registryPath)),
      m_settingGroupStore(m_registry.get()),
      m_allSettingStore(m_registry.get()),
      m_defaultGameStore(m_registry.get()),
      m_testStore(m_registry.get()),
      m_currentProfileInfo(makeZeroRecord<TMOUSEPROFILEINFO>()),
      m_defaultProfileInfo(makeZeroRecord<TMOUSEPROFILEINFO>()),
      m_testProfileInfo(makeZeroRecord<TMOUSEPROFILEINFO>()),
      m_profileSettingGroup(makeZeroRecord<TProfileSettingGroup>()),
      m_allProfileSettingInfo(makeZeroRecord<TALLGAMESINFO>())
{
    if (g_instance != nullptr)
        throw std::logic_error("a second profile manager (TDM) was created while the first one lives");

    QString documents = options.documentsFolder.isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        : options.documentsFolder;
    if (documents.isEmpty())
        documents = QDir::homePath() + QLatin1String("/Documents");
    m_profilesFolder = QDir::cleanPath(documents) + QLatin1Char('/') + QLatin1String(kProfilesFolderName);
    m_languageId = options.languageId.isEmpty() ? systemWindowsLanguageId() : options.languageId;
    m_configFile = options.configFile.isEmpty() ? AppConfig::defaultPath() : options.configFile;

    for (auto& store : m_profileStores) {
        store = std::make_unique<TuiProfile>(m_registry.get());
        store->OnRestoreToDefault = [this](QByteArray& s) { uiProfileGame1RestoreToDefault(s); };
    }
    m_defaultGameStore.OnRestoreToDefault = [this](QByteArray& s) { uiProfileGame1RestoreToDefault(s); };
    m_testStore.OnRestoreToDefault = [this](QByteArray& s) { uiProfileTestRestoreToDefault(s); };
    m_settingGroupStore.OnRestoreToDefault = [this](QByteArray& s) { uiProfileSettingGroupRestoreToDefault(s); };
    m_allSettingStore.OnRestoreToDefault = [this](QByteArray& s) { uiProfileAllSettingInfoRestoreToDefault(s); };

    DataModuleCreate();
    g_instance = this;
}

TDM::~TDM()
{
    if (g_instance == this)
        g_instance = nullptr;
}

TDM* TDM::instance()
{
    return g_instance;
}

void TDM::note(const QString& text)
{
    m_notices.append(text);
    qWarning("%s", qUtf8Printable(text));
}

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

void TDM::configureStore(TuiProfile& store, const QString& name)
{
    store.setRootKey(HKEY_CURRENT_USER);
    store.setFileName(name);
    store.setKeyPath(QString::fromLatin1(kProfileKeyPath));
}

// --- Start-up ----------------------------------------------------------------

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

    configureStore(m_allSettingStore, QLatin1String(kAllSettingName));
    writeStore(m_allSettingStore, *m_allProfileSettingInfo);
    LoadAllProfileInfoFromRegistry();

    for (int i = 0; i < kProfileCount; ++i)
        loadProfileStore(i);

    SwitchToProfileGroup(m_profileGroupIndex);
    m_usageAndPage = kMouseUsageAndPage;
    m_appConfig = AppConfig::fromFile(m_configFile);
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

// --- Restore-to-default handlers -----------------------------------------------

void TDM::uiProfileGame1RestoreToDefault(QByteArray& stream)
{
    restoreInStream<TMOUSEPROFILEINFO>(stream, [](TMOUSEPROFILEINFO& p) { applyProfileDefaults(p); });
}

void TDM::uiProfileTestRestoreToDefault(QByteArray& stream)
{
    if (stream.isEmpty())
        return;
    restoreInStream<TMOUSEPROFILEINFO>(stream, [](TMOUSEPROFILEINFO& p) { applyTestProfileDefaults(p); });
}

void TDM::uiProfileSettingGroupRestoreToDefault(QByteArray& stream)
{
    restoreInStream<TProfileSettingGroup>(
        stream, [this](TProfileSettingGroup& g) { applyProfileSettingGroupDefaults(g, m_profilesFolder); });
}

void TDM::uiProfileAllSettingInfoRestoreToDefault(QByteArray& stream)
{
    restoreInStream<TALLGAMESINFO>(stream, [this](TALLGAMESINFO& a) { applyAllSettingsDefaults(a, m_languageId); });
}

// --- Operations --------------------------------------------------------------

bool TDM::IsProfileIndexInRange(int AProfileIndex)
{
    return AProfileIndex >= 0 && AProfileIndex < kProfileCount;
}

bool TDM::IsProfileGroupIndexInRange(int AProfileGroupIndex)
{
    return AProfileGroupIndex >= 0 && AProfileGroupIndex < kModeCount;
}

TuiProfile* TDM::FProfileGroup(int AProfileIndex)
{
    return IsProfileIndexInRange(AProfileIndex) ? m_profileStores[std::size_t(AProfileIndex)].get() : nullptr;
}

bool TDM::SwitchToProfile(int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    m_profileIndex = AProfileIndex;
    ReadCurrentProfileInfo();
    m_allProfileSettingInfo->CurrentGame = AProfileIndex;
    return true;
}

int TDM::boundProfileOf(int AProfileGroupIndex) const
{
    if (!IsProfileGroupIndexInRange(AProfileGroupIndex))
        return -1;
    const int bound = m_profileSettingGroup->ProfileIndexOfProfileGroup[AProfileGroupIndex];
    return IsProfileIndexInRange(bound) ? bound : -1;
}

bool TDM::SwitchToProfileGroup(int AProfileGroupIndex)
{
    const int bound = boundProfileOf(AProfileGroupIndex);
    if (bound < 0)
        return false;
    m_profileSettingGroup->CurrentProfileGroup = AProfileGroupIndex;
    m_profileGroupIndex = AProfileGroupIndex;
    m_profileIndex = bound;
    return SwitchToProfile(bound);
}

bool TDM::ReadCurrentProfileInfo()
{
    readStore(currentStore(), *m_currentProfileInfo);
    return true;
}

bool TDM::ReadProfileInfo(TMOUSEPROFILEINFO& AProfileInfo, int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    readStore(*m_profileStores[std::size_t(AProfileIndex)], AProfileInfo);
    return true;
}

void TDM::SaveBackToCurrentProfileInfo()
{
    writeStore(currentStore(), *m_currentProfileInfo);
}

bool TDM::SaveBackToProfileInfo(const TMOUSEPROFILEINFO& AProfileInfo, int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    writeStore(*m_profileStores[std::size_t(AProfileIndex)], AProfileInfo);
    return true;
}

bool TDM::SaveCurrentProfileInfoToRegistry()
{
    SaveBackToCurrentProfileInfo();
    return currentStore().SaveStreamToRegistry();
}

bool TDM::SaveProfileInfoToRegistry(int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    return m_profileStores[std::size_t(AProfileIndex)]->SaveStreamToRegistry();
}

bool TDM::SaveCurrentProfileInfoToFile(const QString& AFile)
{
    return currentStore().SaveStreamToFile(AFile);
}

bool TDM::SaveCurrentProfileInfoToFile()
{
    return currentStore().SaveStreamToFile();
}

bool TDM::SaveBackAllProfileInfo()
{
    bool all = true;
    for (auto& store : m_profileStores)
        all = store->SaveStreamToRegistry() && all;
    return all;
}

bool TDM::SaveBackAllProfileInfoToRegistry()
{
    return SaveBackAllProfileInfo();
}

bool TDM::SaveBackAllProfileInfoToFile()
{
    bool all = true;
    for (auto& store : m_profileStores)
        all = store->SaveStreamToFile() && all;
    return all;
}

bool TDM::SaveBackAllProfileSettingInfo()
{
    m_allProfileSettingInfo->CurrentGame = m_profileIndex;
    writeStore(m_allSettingStore, *m_allProfileSettingInfo);
    return m_allSettingStore.SaveStreamToRegistry();
}

void TDM::SaveBackToProfileGroupSettingInfo()
{
    writeStore(m_settingGroupStore, *m_profileSettingGroup);
}

bool TDM::SaveProfileGroupSettingInfoToRegistry()
{
    SaveBackToProfileGroupSettingInfo();
    return m_settingGroupStore.SaveStreamToRegistry();
}

bool TDM::LoadCurrentProfileInfoFromFile(const QString& AFile)
{
    TuiProfile& store = currentStore();
    const QByteArray before = store.stream();
    const bool loaded = store.LoadStreamFromFile(AFile);
    if (loaded)
        refuseShortProfile(store, before, QStringLiteral("The file \"%1\"").arg(AFile));
    ReadCurrentProfileInfo();
    return loaded;
}

bool TDM::LoadCurrentProfileInfoFromRegistry()
{
    TuiProfile& store = currentStore();
    const QByteArray before = store.stream();
    const bool loaded = store.LoadStreamFromRegistry();
    if (loaded)
        refuseShortProfile(store, before, QStringLiteral("The registry value \"%1\"").arg(store.FileName()));
    ReadCurrentProfileInfo();
    return loaded;
}

bool TDM::LoadProfileInfoFromRegistry(int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    return m_profileStores[std::size_t(AProfileIndex)]->LoadStreamFromRegistry();
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

void TDM::RestoreCurrentProfileInfoToDefault()
{
    currentStore().RestoreToDefault();
    ReadCurrentProfileInfo();
}

bool TDM::RestoreProfileInfoToDefault(int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    m_profileStores[std::size_t(AProfileIndex)]->RestoreToDefault();
    return true;
}

bool TDM::RestoreProfileGroupToDefault(int AProfileGroupIndex)
{
    const int bound = boundProfileOf(AProfileGroupIndex);
    if (bound < 0)
        return false;
    if (bound == m_profileIndex)
        RestoreCurrentProfileInfoToDefault();
    else
        m_profileStores[std::size_t(bound)]->RestoreToDefault();
    return true;
}

void TDM::RestoreProfileSettingGroupToDefault()
{
    m_settingGroupStore.RestoreToDefault();
    m_settingGroupStore.SaveStreamToRegistry();
}

bool TDM::ChangeCurrentProfileFileNameAndPath(const QString& AProfileFilePath)
{
    const QString folder = TuiProfile::folderOf(AProfileFilePath);
    const QString name = TuiProfile::nameOf(AProfileFilePath);
    if (!profileFileNameProblem(name).isEmpty() || !folder.startsWith(QLatin1Char('/'))
        || folder.size() > kProfilePathUnits - 1)
        return false;
    TuiProfile& store = currentStore();
    store.setFileName(name);
    store.setFilePath(folder);
    TProfileSetting& entry = m_profileSettingGroup->ProfileSettingList[m_profileIndex];
    entry.FileName.assign(name);
    entry.FilePath.assign(folder);
    return true;
}

void TDM::RestoreToDefaultCPISetting()
{
    applyCpiSettingDefaults(*m_currentProfileInfo);
}

void TDM::RestoreToDefaultLightAndReportAdvancedSetting()
{
    applyLightAndReportAdvancedDefaults(*m_currentProfileInfo);
}

void TDM::InitTestDefaultValue()
{
    configureStore(m_testStore, QLatin1String(kTestProfileName));
    configureStore(m_defaultGameStore, QLatin1String(kDefaultProfileName));
    writeStore(m_testStore, *m_testProfileInfo);
    writeStore(m_defaultGameStore, *m_defaultProfileInfo);
    m_testStore.RestoreToDefault();
    m_defaultGameStore.RestoreToDefault();
    readStore(m_testStore, *m_testProfileInfo);
    readStore(m_defaultGameStore, *m_defaultProfileInfo);
}

} // namespace k4812
