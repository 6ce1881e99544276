// k4812ctl monitor status | monitor rules list|add|remove|return: the
// monitor program (REvo2) and its per-application rules.

#include "VerbProfileSupport.h"

#include "monitor/MonitorSettings.h"
#include "monitor/MonitorStatus.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/SingleInstanceLock.h"
#include "platform/storage/StorageError.h"

namespace k4812::cli {

namespace {

std::optional<MonitorSettings> loadSettings(Context& context)
{
    QString error;
    std::optional<MonitorSettings> settings = MonitorSettings::load(MonitorSettings::defaultPath(), error);
    if (!settings)
        context.fail(error);
    return settings;
}

int saveSettings(Context& context, const MonitorSettings& settings)
{
    try {
        settings.save(MonitorSettings::defaultPath());
    } catch (const StorageError& error) {
        return context.fail(error.message());
    }
    return kExitOk;
}

void printRules(QTextStream& out, const MonitorSettings& settings)
{
    if (settings.rules.empty())
        out << "No rules.\n";
    for (const auto& [app, mode] : settings.rules)
        out << "Mode " << mode + 1 << ": " << app << '\n';
    out << "Other applications: "
        << (settings.returnMode ? QStringLiteral("Mode %1").arg(*settings.returnMode + 1)
                                : QStringLiteral("the mode stays"))
        << '\n';
}

int monitorStatus(Context& context, const QStringList& args)
{
    if (!args.isEmpty())
        return context.usageError(QStringLiteral("monitor status takes no arguments"));
    QTextStream& out = context.out();
    const std::optional<MonitorSettings> settings = loadSettings(context);
    if (!settings)
        return kExitFailure;
    std::unique_ptr<TDM> dm = openProfileManager(context);
    if (!dm)
        return kExitFailure;
    const std::optional<qint64> pid = SingleInstanceLock::runningHolder(QLatin1String(kMonitorWindowClass));
    out << "Monitor: " << (pid ? QStringLiteral("running (process %1)").arg(*pid) : QStringLiteral("not running"))
        << '\n';
    for (int m = 0; m < kModeCount; ++m) {
        out << "Mode " << m + 1 << ": profile " << dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[m] + 1;
        if (m == dm->FProfileGroupIndex())
            out << " [active]";
        out << '\n';
    }
    printRules(out, *settings);

    // Why the rules may switch nothing.
    QStringList reasons;
    TuiHIDData* link = context.link();
    THIDDataParam presence;
    if (link == nullptr || !link->IsDeviceExist(presence))
        reasons << QStringLiteral("no mouse is connected");
    if (settings->rules.empty() && !settings->returnMode)
        reasons << QStringLiteral("there are no rules");
    std::optional<MonitorStatus> status;
    if (pid)
        status = MonitorStatus::read(MonitorStatus::defaultPath());
    if (!pid) {
        reasons << QStringLiteral("the monitor is not running");
    } else if (status) {
        out << "Focus: "
            << (status->focusSource.isEmpty() ? QStringLiteral("not followed") : status->focusSource) << '\n';
        if (!status->focusedApp.isEmpty())
            out << "Focused application: " << status->focusedApp << '\n';
        out << "Tray icon: " << (status->tray ? QStringLiteral("shown") : QStringLiteral("none")) << '\n';
        if (!status->lastSwitch.isEmpty())
            out << "Last switch: " << status->lastSwitch << '\n';
        if (status->focusSource.isEmpty())
            reasons << QStringLiteral("no focus source: ") + status->noFocusReason;
        if (!status->tray)
            reasons << QStringLiteral("no tray: ") + status->noTrayReason;
    }
    if (reasons.isEmpty())
        out << "Switching: by the rules\n";
    for (const QString& reason : reasons)
        out << "Not switching: " << reason << '\n';
    return kExitOk;
}

int monitorRules(Context& context, const QStringList& args)
{
    const QString what = args.value(0);
    std::optional<MonitorSettings> settings = loadSettings(context);
    if (!settings)
        return kExitFailure;
    if (what == QLatin1String("list") && args.size() == 1) {
        printRules(context.out(), *settings);
        return kExitOk;
    }
    if (what == QLatin1String("add") && args.size() == 3) {
        if (!MonitorSettings::isValidApp(args[1]))
            return context.usageError(QStringLiteral("\"%1\" cannot name an application").arg(args[1]));
        const std::optional<int> mode = parseOneBased(context, args[2], kModeCount, "the mode");
        if (!mode)
            return kExitUsage;
        settings->rules[args[1]] = *mode;
        if (saveSettings(context, *settings) != kExitOk)
            return kExitFailure;
        context.out() << "Mode " << *mode + 1 << ": " << args[1] << '\n';
        return kExitOk;
    }
    if (what == QLatin1String("remove") && args.size() == 2) {
        if (settings->rules.erase(args[1]) == 0)
            return context.fail(QStringLiteral("there is no rule for \"%1\"").arg(args[1]));
        return saveSettings(context, *settings);
    }
    if (what == QLatin1String("return") && args.size() == 2) {
        if (args[1] == QLatin1String("none")) {
            settings->returnMode.reset();
        } else {
            const std::optional<int> mode = parseOneBased(context, args[1], kModeCount, "the mode");
            if (!mode)
                return kExitUsage;
            settings->returnMode = *mode;
        }
        return saveSettings(context, *settings);
    }
    return context.usageError(QStringLiteral("monitor rules takes list, add APP MODE, remove APP or return MODE|none"));
}

int runMonitor(Context& context, const QStringList& args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("status"))
        return monitorStatus(context, args.mid(1));
    if (what == QLatin1String("rules"))
        return monitorRules(context, args.mid(1));
    return context.usageError(what.isEmpty() ? QStringLiteral("monitor needs status or rules")
                                             : QStringLiteral("unknown monitor command \"%1\"").arg(what));
}

const VerbRegistration registration({
    "monitor",
    "k4812ctl monitor status\n"
    "       k4812ctl monitor rules list\n"
    "       k4812ctl monitor rules add APP MODE\n"
    "       k4812ctl monitor rules remove APP\n"
    "       k4812ctl monitor rules return MODE|none\n"
    "\n"
    "status tells whether the monitor program runs, the active mode and the\n"
    "profile of each mode, the rules, and why the rules switch nothing (no\n"
    "mouse, no rules, no focus source on this desktop, no tray). rules: while\n"
    "application APP (its X11 class or Wayland app_id) has the focus, the\n"
    "monitor switches the mouse to MODE (1 or 2); other applications bring\n"
    "back the return mode, or leave the mode as it is (none, the default).\n"
    "A running monitor reads changed rules at the next change of focus.",
    "show the monitor program's state and its per-application rules",
    &runMonitor,
});

} // namespace

} // namespace k4812::cli
