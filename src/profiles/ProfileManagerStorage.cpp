// Saving the profile manager's stores to the registry and the profile files,
// and loading a profile from them on request.

#include "profiles/ProfileManager.h"

#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileStoreRecords.h"
#include "profiles/RecordChecks.h"
#include "records/RecordBytes.h"

namespace k4812 {

using namespace storerecords;

namespace {

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

bool TDM::SaveCurrentProfileInfo()
{
    SaveBackToCurrentProfileInfo();
    return currentStore().SaveStreamToFileAndRegistry();
}

bool TDM::SaveProfileInfo(int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    return m_profileStores[std::size_t(AProfileIndex)]->SaveStreamToFileAndRegistry();
}

bool TDM::SaveBackAllProfiles()
{
    SaveBackToCurrentProfileInfo();
    bool all = true;
    for (auto& store : m_profileStores)
        all = store->SaveStreamToFileAndRegistry() && all;
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

bool TDM::LoadSelectionFromRegistry()
{
    bool changed = false;
    changeAsOneStep([&] {
        TuiProfile& store = m_settingGroupStore;
        if (!store.LoadStreamFromRegistry())
            return;   // nothing stored: the selection in memory stands
        if (store.Size() < qint64(sizeof(TProfileSettingGroup)))
            throw StorageError(QStringLiteral("The stored profile and mode settings are %1 bytes long, not %2; they "
                                              "were not taken.")
                                   .arg(store.Size())
                                   .arg(sizeof(TProfileSettingGroup)));
        auto stored = makeZeroRecord<TProfileSettingGroup>();
        readStore(store, *stored);
        if (const QString problem = profileSettingGroupProblem(*stored); !problem.isEmpty())
            throw StorageError(
                QStringLiteral("The stored profile and mode settings cannot be used (%1); they were not taken.")
                    .arg(problem));
        readStore(store, *m_profileSettingGroup);
        const int mode = m_profileSettingGroup->CurrentProfileGroup;
        if (mode == m_profileGroupIndex && boundProfileOf(mode) == m_profileIndex)
            return;
        SwitchToProfileGroup(mode);
        LoadCurrentProfileInfoFromRegistry();
        changed = true;
    });
    return changed;
}

bool TDM::LoadProfileInfoFromRegistry(int AProfileIndex)
{
    if (!IsProfileIndexInRange(AProfileIndex))
        return false;
    return m_profileStores[std::size_t(AProfileIndex)]->LoadStreamFromRegistry();
}

struct TDM::Selection {
    int profileIndex = 0;
    int groupIndex = 0;
    QByteArray group;
    QByteArray all;
    QByteArray groupStore;
    QByteArray allStore;
    QByteArray working;
    QByteArray currentStore;
    QString currentFileName;
    QString currentFilePath;
};

TDM::Selection TDM::selection()
{
    const TuiProfile& current = currentStore();
    return Selection{m_profileIndex,
                     m_profileGroupIndex,
                     recordToBytes(*m_profileSettingGroup),
                     recordToBytes(*m_allProfileSettingInfo),
                     m_settingGroupStore.stream(),
                     m_allSettingStore.stream(),
                     recordToBytes(*m_currentProfileInfo),
                     current.stream(),
                     current.FileName(),
                     current.FilePath()};
}

void TDM::restoreSelection(const Selection& before)
{
    auto putBack = [](TuiProfile& store, const QByteArray& bytes) {
        store.setSize(0);
        store.Write(bytes.constData(), int(bytes.size()));
    };
    m_profileIndex = before.profileIndex;
    m_profileGroupIndex = before.groupIndex;
    copyBytesIntoRecord(*m_profileSettingGroup, before.group);
    copyBytesIntoRecord(*m_allProfileSettingInfo, before.all);
    copyBytesIntoRecord(*m_currentProfileInfo, before.working);
    putBack(m_settingGroupStore, before.groupStore);
    putBack(m_allSettingStore, before.allStore);
    TuiProfile& current = currentStore();
    putBack(current, before.currentStore);
    current.setFileName(before.currentFileName);
    current.setFilePath(before.currentFilePath);
}

void TDM::changeAsOneStep(const std::function<void()>& change)
{
    const Selection before = selection();
    try {
        Registry::WriteGroup group(*m_registry);
        change();
        group.commit();
    } catch (...) {
        restoreSelection(before);
        throw;
    }
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

} // namespace k4812
