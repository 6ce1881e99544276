#pragma once
// The stored choice of interface language as the command-line tool sees it:
// CurrentLanguage of the all-settings record, an index into the language
// file, kept by the profile manager (TDM) and saved with that record in the
// registry, where the windows read it.

#include <QString>

#include <memory>
#include <optional>

namespace k4812 {
class TDM;
}

namespace k4812::cli {

class LanguageSetting {
public:
    virtual ~LanguageSetting() = default;
    // The stored index (a new all-settings record holds the default of the
    // user's language); nothing, with the reason in `error`, when it cannot
    // be read.
    virtual std::optional<int> currentLanguage(QString& error) = 0;
    virtual bool setCurrentLanguage(int index, QString& error) = 0;
};

// CurrentLanguage of the profile manager's all-settings record. With a
// manager given, that one is used; without, a manager on the user's own
// stores is started on first use (and kept for the setting's life).
class ProfileManagerLanguageSetting : public LanguageSetting {
public:
    explicit ProfileManagerLanguageSetting(TDM* dm = nullptr);
    ~ProfileManagerLanguageSetting() override;

    std::optional<int> currentLanguage(QString& error) override;
    bool setCurrentLanguage(int index, QString& error) override;

private:
    TDM* manager(QString& error);

    TDM* m_dm = nullptr;
    std::unique_ptr<TDM> m_owned;
};

// The setting of the current user: over the living profile manager when
// there is one in this process, else over one of its own.
std::unique_ptr<LanguageSetting> openLanguageSetting();

} // namespace k4812::cli
