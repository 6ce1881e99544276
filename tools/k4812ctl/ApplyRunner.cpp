#include "ApplyRunner.h"

#include "CliSequenceHost.h"
#include "LanguageSetting.h"
#include "ProfileFileReader.h"
#include "StoredLanguage.h"

#include "sequences/ApplySequence.h"
#include "platform/storage/StorageError.h"
#include "platform/desktop/TuiThread.h"

namespace k4812::cli {

namespace {

QString monitorText(const SendResult& result)
{
    switch (result.status) {
    case SendStatus::Answered: return QStringLiteral("told of the new settings");
    case SendStatus::NoWindow: return QStringLiteral("not running");
    case SendStatus::TimedOut: return QStringLiteral("did not answer in time");
    case SendStatus::Failed: return QStringLiteral("could not be told: ") + result.error;
    }
    return QString();
}

void printSummary(Context& context, const ApplyReport& report)
{
    QTextStream& out = context.out();
    const QString level = QString::number(report.currentCpiIndex + 1);
    if (report.cpiIndexFromMouse)
        out << "Active CPI level: " << level << " (as the mouse had it)\n";
    else if (report.cpiLevelUnread())
        out << "Active CPI level: " << level << " (the mouse's level could not be read)\n";
    else
        out << "Active CPI level: " << level << " (the mouse's level could not be used)\n";
    out << "Monitor program: " << monitorText(report.monitor) << '\n';
    for (const QString& note : report.notes)
        warn(context, note);
}

} // namespace

int runApply(Context& context, TDM& dm, std::uint8_t lastActivatedProfile, const ApplyOptions& options)
{
    TuiHIDData* hid = context.hid();
    if (hid == nullptr)
        return kExitFailure;

    ProfileManagerLanguageSetting setting(&dm);
    const StoredLanguage language(setting);
    CliSequenceHost host(context);
    MainWindowState state;
    state.SystemMouseParams = SystemMouseParamsOf(dm.FCurrentProfileInfo());
    state.Activation.profileIndex = lastActivatedProfile;

    const TProfileSettingGroup& group = dm.FProfileSettingGroup();
    context.out() << "Applying: profile " << group.ProfileIndexOfProfileGroup[0] + 1 << " to Mode 1, profile "
                  << group.ProfileIndexOfProfileGroup[1] + 1 << " to Mode 2, Mode " << dm.FProfileGroupIndex() + 1
                  << " active\n";
    context.out().flush();

    ApplyReport report;
    bool applied = false;
    try {
        applied = ApplySettings(dm, *hid, state, host, &report, options);
    } catch (const StorageError& error) {
        TuiThread::waitForAll();
        return context.fail(QStringLiteral("the profiles could not be stored, nothing was applied: %1")
                                .arg(error.message()));
    }
    // The pointer settings run on a worker; the process must not end under it.
    TuiThread::waitForAll();

    if (!report.refusal.isEmpty())
        return context.fail(report.refusal);
    if (!report.mousePresent) {
        context.out() << "The profiles were stored; nothing was sent to the mouse.\n";
    } else {
        printSummary(context, report);
        if (report.verification) {
            const ApplyVerification& check = *report.verification;
            if (check.readError != 0)
                context.out() << "Read back: the mouse could not be read (" << qt_error_string(check.readError)
                              << ")\n";
            else if (check.notKept.empty())
                context.out() << "Read back: the mouse kept every setting.\n";
            for (const ApplyStepResult& step : check.notKept)
                context.out() << "Read back: not kept: " << applyStepText(step) << "\n";
        }
        context.out() << (applied ? "The mouse took every setting.\n" : "The mouse did not take every setting.\n");
    }
    if (host.warned() && !language.problem().isEmpty())
        warn(context, language.problem());
    // The desktop's part of the apply: a setting it could not take is a
    // failure of the command, as a setting the mouse did not take is.
    const QStringList desktopFailures = host.pointerSettingFailures();
    if (!desktopFailures.isEmpty()) {
        context.out() << "The desktop did not take: " << desktopFailures.join(QStringLiteral(", ")) << ".\n";
        return kExitFailure;
    }
    return applied ? kExitOk : kExitFailure;
}

} // namespace k4812::cli
