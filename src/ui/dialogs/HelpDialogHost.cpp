#include "ui/dialogs/HelpDialogHost.h"

#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/WindowMessages.h"
#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"

#include <QDesktopServices>

namespace k4812 {

int ProgramHelpDialogHost::currentLanguage() const
{
    TDM* dm = TDM::instance();
    return dm ? dm->FAllProfileSettingInfo().CurrentLanguage : 0;
}

QString ProgramHelpDialogHost::storeCurrentLanguage(int index)
{
    TDM* dm = TDM::instance();
    if (!dm)
        return QStringLiteral("The interface language cannot be stored: the profiles are not loaded.");
    dm->FAllProfileSettingInfo().CurrentLanguage = index;
    try {
        bool saved = false;
        const auto store = [&] { saved = dm->SaveBackAllProfileSettingInfo(); };
        if (m_runStore)
            m_runStore(store);
        else
            store();
        if (!saved)
            return QStringLiteral("The interface language could not be stored.");
    } catch (const StorageError& error) {
        return error.message();
    }
    return {};
}

void ProgramHelpDialogHost::announceLanguageChanged()
{
    const WindowMessage changed{UM_LANGUAGE_CHANGED, 0, 0};
    // Either window may be missing; that is no error. The monitor's answer
    // means nothing, and waiting for it would hold this window still while
    // the monitor reloads its settings: the message is posted.
    postWindowMessage(QString::fromLatin1(kMonitorWindowClass), changed);
    sendWindowMessage(QString::fromLatin1(kConfigWindowClass), changed);
}

void ProgramHelpDialogHost::openLink(const QUrl& url)
{
    // A browser that does not start is not reported, as before.
    QDesktopServices::openUrl(url);
}

} // namespace k4812
