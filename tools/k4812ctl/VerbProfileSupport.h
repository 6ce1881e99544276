#pragma once
// What the profiles, profile and mode verbs share: the profile manager on
// the user's own stores, numbers as the user writes them (profiles 1 to 5,
// modes 1 and 2), and where a profile is stored.

#include "Cli.h"

#include "platform/storage/StorageError.h"
#include "profiles/FactoryDefaults.h"
#include "profiles/ProfileManager.h"

#include <memory>
#include <optional>

namespace k4812::cli {

// Starts the profile manager (creating the stores on first use) and prints
// what its start-up repaired as warnings. Null after a message when the
// stores cannot be used at all.
inline std::unique_ptr<TDM> openProfileManager(Context& context)
{
    try {
        auto dm = std::make_unique<TDM>();
        for (const QString& notice : dm->notices())
            context.err() << "k4812ctl: warning: " << notice << '\n';
        return dm;
    } catch (const StorageError& error) {
        context.fail(error.message());
    } catch (const std::logic_error& error) {
        context.fail(QString::fromUtf8(error.what()));
    }
    return nullptr;
}

// A number from 1 to `count` as a 0-based index; nothing after a usage error.
inline std::optional<int> parseOneBased(Context& context, const QString& text, int count, const char* what)
{
    const std::optional<unsigned> n = parseNumber(text, unsigned(count));
    if (!n || *n == 0) {
        context.usageError(QStringLiteral("%1 must be a number from 1 to %2, not \"%3\"")
                               .arg(QLatin1String(what))
                               .arg(count)
                               .arg(text));
        return std::nullopt;
    }
    return int(*n) - 1;
}

// "file PATH" or "registry HKEY_CURRENT_USER\KEY\NAME", from the storage entry.
inline QString storageOf(const TProfileSetting& entry)
{
    const QString name = entry.FileName.toString();
    if (entry.SaveToFile == 1) {
        QString folder = entry.FilePath.toString();
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        return QStringLiteral("file ") + folder + name;
    }
    return QStringLiteral("registry HKEY_CURRENT_USER\\") + QLatin1String(kProfileKeyPath) + QLatin1Char('\\') + name;
}

} // namespace k4812::cli
