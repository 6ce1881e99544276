#include "app/MonitorTray.h"

#include "i18n/Translation.h"
#include "monitor/Autostart.h"
#include "monitor/MonitorReasons.h"
#include "platform/desktop/MonitorLinkNames.h"

#include <QActionGroup>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

namespace k4812 {

namespace {

QString modeName(int mode)
{
    return translate(QStringLiteral("Mode %1").arg(mode + 1));
}

} // namespace

MonitorTray::MonitorTray(MonitorService& service, Actions actions, QObject* parent)
    : QObject(parent)
    , m_service(service)
    , m_actions(std::move(actions))
    , m_menu(std::make_unique<QMenu>())
{
    auto* modeGroup = new QActionGroup(this);
    for (int m = 0; m < 2; ++m) {
        m_modes[m] = m_menu->addAction(QString());
        m_modes[m]->setObjectName(QStringLiteral("mode%1").arg(m + 1));
        m_modes[m]->setCheckable(true);
        modeGroup->addAction(m_modes[m]);
        connect(m_modes[m], &QAction::triggered, this, [this, m] { tell(m_service.switchMode(m)); });
    }
    m_menu->addSeparator();
    auto* profileGroup = new QActionGroup(this);
    for (int p = 0; p < 5; ++p) {
        m_profiles[p] = m_menu->addAction(QString());
        m_profiles[p]->setObjectName(QStringLiteral("profile%1").arg(p + 1));
        m_profiles[p]->setCheckable(true);
        profileGroup->addAction(m_profiles[p]);
        connect(m_profiles[p], &QAction::triggered, this, [this, p] { tell(m_service.switchProfile(p)); });
    }
    m_menu->addSeparator();
    m_useMode = m_menu->addAction(QString());
    m_useMode->setObjectName(QStringLiteral("useModeForApp"));
    connect(m_useMode, &QAction::triggered, this, &MonitorTray::useModeForFocusedApp);
    m_startWithDesktop = m_menu->addAction(QString());
    m_startWithDesktop->setObjectName(QStringLiteral("startWithDesktop"));
    m_startWithDesktop->setCheckable(true);
    connect(m_startWithDesktop, &QAction::triggered, this, &MonitorTray::setStartWithDesktop);
    m_openSettings = m_menu->addAction(QString());
    m_openSettings->setObjectName(QStringLiteral("openSettings"));
    connect(m_openSettings, &QAction::triggered, this, [this] {
        if (!m_actions.openSettings)
            return;
        if (const QString problem = m_actions.openSettings(); !problem.isEmpty())
            showProblem(translateReason(problem));
    });
    m_menu->addSeparator();
    m_quit = m_menu->addAction(QString());
    m_quit->setObjectName(QStringLiteral("quit"));
    connect(m_quit, &QAction::triggered, this, [this] {
        if (m_actions.quit)
            m_actions.quit();
    });

    connect(&m_service, &MonitorService::modeSwitched, this, &MonitorTray::refresh);
    connect(&m_service, &MonitorService::profileSwitched, this, &MonitorTray::refresh);
    connect(&m_service, &MonitorService::mousePresenceChanged, this, &MonitorTray::refresh);
    connect(&m_service, &MonitorService::focusHandled, this, &MonitorTray::refresh);
    // Refreshed before it opens: the window or k4812ctl may have changed the stores.
    connect(m_menu.get(), &QMenu::aboutToShow, this, &MonitorTray::refresh);
    refresh();
}

MonitorTray::~MonitorTray() = default;

bool MonitorTray::show()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return false;
    m_tray = new QSystemTrayIcon(this);
    m_tray->setContextMenu(m_menu.get());
    refresh();
    m_tray->show();
    return true;
}

QIcon MonitorTray::modeIcon(int mode)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(mode == 0 ? QColor(0x1e, 0x6f, 0xd9) : QColor(0xd9, 0x4a, 0x1e));
    painter.drawEllipse(2, 2, 60, 60);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(44);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::number(mode + 1));
    painter.end();
    return QIcon(pixmap);
}

QIcon MonitorTray::icon() const
{
    return modeIcon(m_modesNow.activeMode);
}

QString MonitorTray::toolTip() const
{
    QStringList lines{translate(QLatin1String(kApplicationTitle))};
    for (int m = 0; m < 2; ++m)
        lines << translate(QLatin1String(kTextProfileOf)).arg(modeName(m)).arg(m_modesNow.profileOfMode[std::size_t(m)] + 1)
                     + (m == m_modesNow.activeMode ? QStringLiteral(" *") : QString());
    lines << translate(m_service.mousePresent() ? QStringLiteral("Mouse: connected")
                                                : QStringLiteral("Mouse: not connected"));
    if (!m_service.status().noFocusReason.isEmpty())
        lines << translate(QStringLiteral("Not switching: %1")).arg(translateReason(m_service.status().noFocusReason));
    return lines.join(QLatin1Char('\n'));
}

void MonitorTray::refresh()
{
    QString error;
    if (const std::optional<MonitorModes> modes = m_service.core().modes(error))
        m_modesNow = *modes;
    const int active = m_modesNow.activeMode;
    for (int m = 0; m < 2; ++m) {
        m_modes[m]->setText(modeName(m));
        m_modes[m]->setChecked(m == active);
    }
    for (int p = 0; p < 5; ++p) {
        m_profiles[p]->setText(translate(QStringLiteral("PROFILE%1").arg(p + 1)));
        m_profiles[p]->setChecked(p == m_modesNow.profileOfMode[std::size_t(active)]);
    }
    const QString app = m_service.status().focusedApp;
    m_useMode->setText(translate(QStringLiteral("Use %1 for %2")).arg(modeName(active), app.isEmpty() ? QStringLiteral("…") : app));
    m_useMode->setEnabled(MonitorSettings::isValidApp(app));
    m_startWithDesktop->setText(translate(QStringLiteral("Start with the desktop")));
    m_startWithDesktop->setChecked(autostartEnabled());
    m_openSettings->setText(translate(QStringLiteral("Open settings")));
    m_quit->setText(translate(QStringLiteral("Quit")));
    if (m_tray != nullptr) {
        m_tray->setIcon(icon());
        m_tray->setToolTip(toolTip());
    }
}

void MonitorTray::tell(const ModeSwitchOutcome& outcome)
{
    // The user asked for it: a switch that could not be made says why
    // (the mouse busy with the window's apply, no mouse).
    if (!outcome.switched && !outcome.refused.isEmpty())
        showProblem(translate(QLatin1String(kTextNotSwitched)).arg(translateReason(outcome.refused)));
    refresh();
}

void MonitorTray::useModeForFocusedApp()
{
    const QString app = m_service.status().focusedApp;
    if (!MonitorSettings::isValidApp(app))
        return;
    MonitorSettings settings = m_service.settings();
    settings.rules[app] = m_modesNow.activeMode;
    QString error;
    if (!m_service.changeSettings(settings, error))
        showProblem(error);
    refresh();
}

void MonitorTray::setStartWithDesktop(bool on)
{
    QString error;
    if (!setAutostart(on, m_actions.monitorProgram, error))
        showProblem(error);
    refresh();
}

void MonitorTray::showProblem(const QString& text)
{
    emit problemShown(text);
    if (m_tray != nullptr)
        m_tray->showMessage(translate(QLatin1String(kApplicationTitle)), text, QSystemTrayIcon::Warning);
}

} // namespace k4812
