#include "LanguageSetting.h"

#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"

#include <stdexcept>

namespace k4812::cli {

ProfileManagerLanguageSetting::ProfileManagerLanguageSetting(TDM* dm) : m_dm(dm) {}

ProfileManagerLanguageSetting::~ProfileManagerLanguageSetting() = default;

TDM* ProfileManagerLanguageSetting::manager(QString& error)
{
    if (m_dm != nullptr)
        return m_dm;
    try {
        m_owned = std::make_unique<TDM>();
        m_dm = m_owned.get();
    } catch (const StorageError& e) {
        error = e.message();
    } catch (const std::logic_error& e) {
        error = QString::fromUtf8(e.what());
    }
    return m_dm;
}

std::optional<int> ProfileManagerLanguageSetting::currentLanguage(QString& error)
{
    TDM* dm = manager(error);
    if (dm == nullptr)
        return std::nullopt;
    return int(dm->FAllProfileSettingInfo().CurrentLanguage);
}

bool ProfileManagerLanguageSetting::setCurrentLanguage(int index, QString& error)
{
    TDM* dm = manager(error);
    if (dm == nullptr)
        return false;
    const std::int32_t previous = dm->FAllProfileSettingInfo().CurrentLanguage;
    dm->FAllProfileSettingInfo().CurrentLanguage = index;
    try {
        if (dm->SaveBackAllProfileSettingInfo())
            return true;
        error = QStringLiteral("the interface language could not be saved");
    } catch (const StorageError& e) {
        error = e.message();
    }
    dm->FAllProfileSettingInfo().CurrentLanguage = previous;
    return false;
}

std::unique_ptr<LanguageSetting> openLanguageSetting()
{
    return std::make_unique<ProfileManagerLanguageSetting>(TDM::instance());
}

} // namespace k4812::cli
