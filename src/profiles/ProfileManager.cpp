#include "profiles/ProfileManager.h"

#include "i18n/WindowsLanguageId.h"
#include "platform/storage/AtomicFile.h"
#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileStoreRecords.h"
#include "records/RecordBytes.h"
#include "profiles/RecordChecks.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstring>
#include <stdexcept>

namespace k4812 {

using namespace storerecords;

namespace {

TDM* g_instance = nullptr;

} // namespace

TDM::TDM(const Options& options)
    : m_registry(std::make_unique<Registry>(options.registryPath.isEmpty() ? Registry::defaultDatabasePath()
                                                                            : options.registryPath)),
      m_settingGroupStore(m_registry.get()),
      m_allSettingStore(m_registry.get()),
      m_defaultGameStore(m_registry.get()),
      m_testStore(m_registry.get()),
      m_currentProfileInfo(makeZeroRecord<TMOUSEPROFILEINFO>()),
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
    // Not printed here: the program shows the notices, the command line
    // prints them, each once.
    m_notices.append(text);
}

void TDM::configureStore(TuiProfile& store, const QString& name)
{
    store.setRootKey(HKEY_CURRENT_USER);
    store.setFileName(name);
    store.setKeyPath(QString::fromLatin1(kProfileKeyPath));
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
    writeStore(m_testStore, FTestProfileInfo());
    writeStore(m_defaultGameStore, FDefaultProfileInfo());
    m_testStore.RestoreToDefault();
    m_defaultGameStore.RestoreToDefault();
    readStore(m_testStore, *m_testProfileInfo);
    readStore(m_defaultGameStore, *m_defaultProfileInfo);
}

// Two whole profile records (110 kB each, written when zeroed) that the window never uses: kept out of its start.
TMOUSEPROFILEINFO& TDM::FDefaultProfileInfo()
{
    if (!m_defaultProfileInfo)
        m_defaultProfileInfo = makeZeroRecord<TMOUSEPROFILEINFO>();
    return *m_defaultProfileInfo;
}

TMOUSEPROFILEINFO& TDM::FTestProfileInfo()
{
    if (!m_testProfileInfo)
        m_testProfileInfo = makeZeroRecord<TMOUSEPROFILEINFO>();
    return *m_testProfileInfo;
}

} // namespace k4812
