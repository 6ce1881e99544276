// What start-up repaired (profile files moved aside and replaced, bookkeeping
// records replaced, a settings database started afresh) and a language file
// that could not be used: shown in one message dialog once the window is up,
// so that the user learns of it and where the old files were kept.

#include "app/MainWindow.h"

#include "i18n/Translation.h"
#include "i18n/TuiLanguage.h"
#include "profiles/ProfileManager.h"

#include <QShowEvent>

#include <utility>

namespace k4812 {

namespace {

constexpr const char* kRepairsTitle = "Warning";
constexpr const char* kRepairsText = "Damaged or missing files were found at start; what was repaired is listed below.";

} // namespace

void TK4812CfgMain::collectStartupRepairs()
{
    if (!m_services.reportStartupRepairs)
        return;
    m_startupRepairs = m_dm.notices();
    const QString language = m_language->fileProblem();
    if (!language.isEmpty())
        m_startupRepairs << language;
}

void TK4812CfgMain::showEvent(QShowEvent* event)
{
    SkinWindow::showEvent(event);
    // From the event loop, so that the window is on the screen beneath the dialog.
    if (!m_startupRepairs.isEmpty())
        QMetaObject::invokeMethod(this, &TK4812CfgMain::showStartupRepairs, Qt::QueuedConnection);
    if (!m_configuredMouse.empty())
        QMetaObject::invokeMethod(this, &TK4812CfgMain::askToAdoptMouse, Qt::QueuedConnection);
}

void TK4812CfgMain::showStartupRepairs()
{
    if (m_startupRepairs.isEmpty())
        return;
    const QStringList repairs = std::exchange(m_startupRepairs, {});
    messageDialog(translate(QString::fromLatin1(kRepairsTitle)), translate(QString::fromLatin1(kRepairsText)),
                  repairs.join(QLatin1Char('\n')));
}

} // namespace k4812
