#pragma once
// The stored choice of interface language as the command-line tool sees it:
// CurrentLanguage of the all-settings record, an index into the language file.
//
// For now the index lives in a small file of its own (FileLanguageSetting);
// once the profile manager keeps the all-settings record, an implementation
// over that record takes its place behind this interface.

#include <QString>

#include <memory>
#include <optional>

namespace k4812::cli {

class LanguageSetting {
public:
    virtual ~LanguageSetting() = default;
    // The stored index; the default for the user's language when nothing is
    // stored yet; nothing (with the reason in `error`) when it cannot be read.
    virtual std::optional<int> currentLanguage(QString& error) = 0;
    virtual bool setCurrentLanguage(int index, QString& error) = 0;
};

// The index as a decimal number in a file; a missing file means the default
// of the user's language (0804 gives 1, 0404 gives 2, anything else 0).
class FileLanguageSetting : public LanguageSetting {
public:
    explicit FileLanguageSetting(QString path) : m_path(std::move(path)) {}
    std::optional<int> currentLanguage(QString& error) override;
    bool setCurrentLanguage(int index, QString& error) override;

private:
    QString m_path;
};

// The setting of the current user.
std::unique_ptr<LanguageSetting> openLanguageSetting();

} // namespace k4812::cli
