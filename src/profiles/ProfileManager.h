#pragma once
// TDM: the profile manager, the one owner of all profile data while the
// program runs.
//
// It keeps nine stores (the five profiles, the profile-group record, the
// all-settings record, a default and a factory-test profile), loads them at
// start from the registry stand-in and the profile files, creating what is
// missing with factory defaults, and holds the working copy of the current
// profile that every page edits. Operations on a profile or mode index
// answer false and change nothing when the index is out of range (profiles
// 0 to 4, modes 0 and 1).
//
// The mouse has two hardware modes; each is bound to one of the five
// profiles, and the profile of the active mode is the current profile.
//
// Failures of the file and registry layers are thrown as StorageError (see
// TuiProfile), except at start, where a profile that cannot be loaded is
// reported in notices() and replaced by defaults so that the program can run.
// Exactly one instance lives at a time; instance() reaches it.

#include "wire/HidData.h"
#include "profiles/AppConfig.h"
#include "profiles/Profile.h"
#include "records/Records.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

namespace k4812 {

class Registry;

class TDM {
public:
    // Where the manager finds its data; an empty entry takes the user's own:
    // the registry database in the configuration folder, the documents
    // folder, config.ini beside the program, and the locale's language.
    struct Options {
        QString registryPath;
        QString documentsFolder;
        QString configFile;
        QString languageId; // Windows language identifier such as "0804"
    };

    static constexpr const char* kProfileSettingGroupName = "ProfileSettingGroup.pfd";
    static constexpr const char* kAllSettingName = "ProfileAllSetting.pfd";
    static constexpr const char* kTestProfileName = "ZKT4812ProfileTest.pfd";
    static constexpr const char* kDefaultProfileName = "ZKT4812ProfileDef.pfd";

    // Runs the start-up sequence (DataModuleCreate). Throws StorageError when
    // the registry cannot be used at all, and std::logic_error when another
    // instance is alive.
    explicit TDM(const Options& options = {});
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // The one living instance, or nullptr.
    static TDM* instance();

    // What start-up found and repaired (a damaged database moved aside, a
    // profile file that could not be read, a stored record out of range),
    // one sentence each, for the user. The manager prints none of them.
    const QStringList& notices() const { return m_notices; }
    // True when the settings database held no profile and mode settings at
    // start: this program has stored nothing for this user yet.
    bool FirstStart() const { return m_firstStart; }

    // "Gaming Mouse Profiles" in the documents folder, without a trailing '/'.
    const QString& profilesFolder() const { return m_profilesFolder; }
    Registry& registry() { return *m_registry; }
    const AppConfig& appConfig() const { return m_appConfig; }

    static bool IsProfileIndexInRange(int AProfileIndex);
    static bool IsProfileGroupIndexInRange(int AProfileGroupIndex);

    bool SwitchToProfile(int AProfileIndex);
    bool SwitchToProfileGroup(int AProfileGroupIndex);

    // Reading a store into a record copies the store's bytes; a record that
    // the store does not fill is zero beyond them.
    bool ReadCurrentProfileInfo();
    bool ReadProfileInfo(TMOUSEPROFILEINFO& AProfileInfo, int AProfileIndex);
    void SaveBackToCurrentProfileInfo();
    bool SaveBackToProfileInfo(const TMOUSEPROFILEINFO& AProfileInfo, int AProfileIndex);

    bool SaveCurrentProfileInfoToRegistry();
    bool SaveProfileInfoToRegistry(int AProfileIndex);
    // The current store's bytes as they are, to AFile (its folder is created
    // when missing, one level).
    bool SaveCurrentProfileInfoToFile(const QString& AFile);
    bool SaveCurrentProfileInfoToFile();
    // True when every store was saved.
    bool SaveBackAllProfileInfo();
    bool SaveBackAllProfileInfoToRegistry();
    bool SaveBackAllProfileInfoToFile();
    bool SaveBackAllProfileSettingInfo();
    // A profile's file and registry value together (TuiProfile::
    // SaveStreamToFileAndRegistry): both change or neither. The current one
    // takes the working copy first. When one profile fails the exception
    // passes on; the profiles before it are stored whole, the rest untouched.
    bool SaveCurrentProfileInfo();
    bool SaveProfileInfo(int AProfileIndex);
    bool SaveBackAllProfiles();
    void SaveBackToProfileGroupSettingInfo();
    bool SaveProfileGroupSettingInfoToRegistry();

    // The current store takes the file's (or its registry value's) bytes and
    // the working copy is read again. Data shorter than a profile record is
    // refused with a StorageError that says so, and nothing is changed: a
    // caller that binds the profile to a file first (ChangeCurrentProfile-
    // FileNameAndPath) checks the file with profileFileProblem before that.
    bool LoadCurrentProfileInfoFromFile(const QString& AFile);
    bool LoadCurrentProfileInfoFromRegistry();
    // The mode and the profile bound to each mode as another program stored
    // them meanwhile (the monitor switched): the profile-group record is read
    // again from the registry, and when it names another mode or profile than
    // the one in memory, that one becomes current and its profile is read
    // from the registry. True when the current mode or profile changed. A
    // stored record that cannot be used throws StorageError with nothing changed.
    bool LoadSelectionFromRegistry();
    bool LoadProfileInfoFromRegistry(int AProfileIndex);
    void LoadProfileGroupSettingInfoFromRegistry();
    void LoadAllProfileInfoFromRegistry();

    void RestoreCurrentProfileInfoToDefault();
    bool RestoreProfileInfoToDefault(int AProfileIndex);
    bool RestoreProfileGroupToDefault(int AProfileGroupIndex);
    void RestoreProfileSettingGroupToDefault();

    // Binds the current profile to another file (and registry value name).
    // Refused (false, nothing changed) when the name is empty, longer than 20
    // characters or not plain, or the folder is not absolute or longer than
    // 1023 characters: the storage entry must hold them whole.
    bool ChangeCurrentProfileFileNameAndPath(const QString& AProfileFilePath);

    // Runs `change` (a switch of the current profile or mode, or a profile
    // file taken into the current profile, with its registry writes) as one
    // step: its registry writes are one transaction, and when it throws, the
    // memory it may change (the current profile and mode, the bookkeeping
    // records and their stores, the current profile's store, its file and
    // working copy) is put back as it was, and the exception passes on.
    void changeAsOneStep(const std::function<void()>& change);

    void RestoreToDefaultCPISetting();
    void RestoreToDefaultLightAndReportAdvancedSetting();
    void InitTestDefaultValue();

    // --- State -------------------------------------------------------------
    TMOUSEPROFILEINFO& FCurrentProfileInfo() { return *m_currentProfileInfo; }
    // Made (zero) on first use: only the test and default set-up needs them.
    TMOUSEPROFILEINFO& FDefaultProfileInfo();
    TMOUSEPROFILEINFO& FTestProfileInfo();
    TProfileSettingGroup& FProfileSettingGroup() { return *m_profileSettingGroup; }
    TALLGAMESINFO& FAllProfileSettingInfo() { return *m_allProfileSettingInfo; }
    const TOtherConfig& FOtherConfig() const { return m_otherConfig; }
    int FProfileGroupIndex() const { return m_profileGroupIndex; }
    int FProfileIndex() const { return m_profileIndex; }
    // The collection every device operation looks for.
    USAGE_AND_PAGE FUsageAndPage() const { return m_usageAndPage; }

    // The store of profile 0 to 4, or nullptr.
    TuiProfile* FProfileGroup(int AProfileIndex);
    TuiProfile& uiProfileSettingGroup() { return m_settingGroupStore; }
    TuiProfile& uiProfileAllSettingInfo() { return m_allSettingStore; }
    TuiProfile& uiProfileDefaultGame() { return m_defaultGameStore; }
    TuiProfile& uiProfileTest() { return m_testStore; }

private:
    struct Selection;
    Selection selection();
    void restoreSelection(const Selection& before);
    // The profile bound to a mode, or -1 when the mode or its binding is out of range.
    int boundProfileOf(int AProfileGroupIndex) const;
    void DataModuleCreate();
    void configureStore(TuiProfile& store, const QString& name);
    void loadProfileStore(int index);
    void loadProfileFromFile(int index, const TProfileSetting& entry);
    void replaceUnreadableProfileFile(int index, const QString& path, const QString& problem);
    void note(const QString& text);
    // Copies a bookkeeping value that is about to be replaced to
    // "<name>.damaged-<date>-<time>", as damaged profile files are moved
    // aside. The new name, or an empty text when there was none to copy.
    QString keepRegistryValueAside(const QString& name);
    TuiProfile& currentStore() { return *m_profileStores[std::size_t(m_profileIndex)]; }

    void uiProfileGame1RestoreToDefault(QByteArray& stream);
    void uiProfileTestRestoreToDefault(QByteArray& stream);
    void uiProfileSettingGroupRestoreToDefault(QByteArray& stream);
    void uiProfileAllSettingInfoRestoreToDefault(QByteArray& stream);

    QString m_profilesFolder;
    QString m_languageId;
    QString m_configFile;
    QStringList m_notices;
    std::unique_ptr<Registry> m_registry;
    AppConfig m_appConfig;

    TuiProfile m_settingGroupStore;
    TuiProfile m_allSettingStore;
    std::array<std::unique_ptr<TuiProfile>, kProfileCount> m_profileStores;
    TuiProfile m_defaultGameStore;
    TuiProfile m_testStore;

    std::unique_ptr<TMOUSEPROFILEINFO> m_currentProfileInfo;
    std::unique_ptr<TMOUSEPROFILEINFO> m_defaultProfileInfo;
    std::unique_ptr<TMOUSEPROFILEINFO> m_testProfileInfo;
    std::unique_ptr<TProfileSettingGroup> m_profileSettingGroup;
    std::unique_ptr<TALLGAMESINFO> m_allProfileSettingInfo;
    TOtherConfig m_otherConfig{};
    int m_profileGroupIndex = 0;
    int m_profileIndex = 0;
    bool m_firstStart = false;
    USAGE_AND_PAGE m_usageAndPage{};
};

} // namespace k4812
