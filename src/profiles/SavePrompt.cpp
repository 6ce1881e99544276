#include "profiles/SavePrompt.h"

#include "platform/storage/Registry.h"
#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"

#include <functional>

namespace k4812 {

namespace {

// Runs the stores one by one, listing each refusal and storage error. Once
// the settings database failed (most often: another program holds it locked),
// the later stores still try it but no longer wait for it, so that a lock does
// not make the user wait once per store.
class Steps {
public:
    explicit Steps(Registry& registry) : m_registry(registry), m_timeout(registry.busyTimeoutMs()) {}
    ~Steps() { m_registry.setBusyTimeoutMs(m_timeout); }
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;

    void run(const QString& what, const std::function<bool()>& step)
    {
        try {
            if (!step())
                m_failures << QStringLiteral("%1 was not saved.").arg(what);
        } catch (const StorageError& error) {
            m_failures << error.message();
            m_registry.setBusyTimeoutMs(0);
        }
    }

    const QStringList& failures() const { return m_failures; }

private:
    Registry& m_registry;
    const int m_timeout;
    QStringList m_failures;
};

} // namespace

SavePromptResult StoreOnSavePrompt(TDM& dm)
{
    Steps steps(dm.registry());
    steps.run(QStringLiteral("The current profile and language"), [&] { return dm.SaveBackAllProfileSettingInfo(); });
    dm.SaveBackToCurrentProfileInfo();
    // Each profile's file and settings-database value change together or
    // not at all; one profile that fails does not keep the others unsaved.
    for (int i = 0; i < kProfileCount; ++i)
        steps.run(QStringLiteral("Profile %1").arg(i + 1), [&] { return dm.SaveProfileInfo(i); });
    return SavePromptResult{steps.failures()};
}

} // namespace k4812
