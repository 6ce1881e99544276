#include "sequences/ApplySequence.h"

#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "sequences/CpiReadBack.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"
#include "sequences/MacroUpload.h"
#include "wire/MemoryImage.h"
#include "wire/MemoryMap.h"
#include "wire/ReportFraming.h"
#include "i18n/Translation.h"
#include "platform/desktop/MonitorLinkNames.h"
#include "platform/desktop/TuiThread.h"
#include "platform/storage/StorageError.h"
#include "profiles/RecordChecks.h"
#include "records/RecordBytes.h"

#include <QStringList>

#include <algorithm>

namespace k4812 {

namespace {

// Collects the step results and tells the host of each as it happens.
class StepLog {
public:
    StepLog(SequenceHost& host, std::vector<ApplyStepResult>& steps) : m_host(host), m_steps(steps) {}

    void add(ApplyStep step, int bank, int error)
    {
        const ApplyStepResult result{step, bank, error};
        m_steps.push_back(result);
        m_host.applyStepDone(result);
    }

private:
    SequenceHost& m_host;
    std::vector<ApplyStepResult>& m_steps;
};

int writeByte(TuiHIDData& device, std::uint16_t address, std::uint8_t value)
{
    return WriteDeviceMemory(device, address, &value, 1);
}

// The mouse's active level, when the profile has it in use; else level 0, as
// after a failed read.
int usableCpiIndex(const TMOUSEPROFILEINFO& profile, int index)
{
    const int levels = std::min<int>(profile.ConfigInfo.CPILevel, kCpiBlockLevels);
    if (index < 0 || index >= levels || profile.ConfigInfo.CPIState[index].Enabled == 0)
        return -1;
    return index;
}

void startPointerSettings(MainWindowState& state, SequenceHost& host)
{
    const std::shared_ptr<PointerSettings> settings = host.pointerSettings();
    if (!settings)
        return;
    const TSYSTEMMOUSEPARAMS params = state.SystemMouseParams;
    TuiThread::ThreadCallFunction(&params, sizeof params,
                                  makeApplySystemMouseParamsRoutine(settings, host.pointerSettingsReport()));
}

// Step 7: the level chosen on the mouse itself (with its DPI buttons) is kept.
void readBackCpiLevel(TDM& dm, TuiHIDData& device, SequenceHost& host, StepLog& log, ApplyReport& report)
{
    int index = 0;
    const int error = ReadCurrentCpiIndex(device, host, index);
    report.cpiReadBackError = error;
    // A mouse that answered with a level it does not hold failed no command;
    // a read that failed is listed, but it is no failed write (see isWriteStep).
    log.add(ApplyStep::CpiReadBack, -1, error == kErrorNoSuchLevel ? 0 : error);
    const int usable = error == 0 ? usableCpiIndex(dm.FCurrentProfileInfo(), index) : -1;
    report.cpiIndexFromMouse = usable >= 0;
    report.currentCpiIndex = usable >= 0 ? usable : 0;
    dm.FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex = report.currentCpiIndex;
    dm.SaveBackToCurrentProfileInfo();
}

// The read-back changed the active level after everything was stored: the
// current profile is stored again, or the disk would keep the old level while
// the window shows the new one with nothing marked unsaved. When that fails
// the edit stays unsaved (SettingsChanged) rather than breaking the sequence.
void storeReadBackLevel(TDM& dm, MainWindowState& state, SequenceHost& host, int levelBefore)
{
    if (dm.FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex == levelBefore)
        return;
    try {
        host.runStorage([&dm] { dm.SaveCurrentProfileInfo(); });
    } catch (const StorageError&) {
        state.SettingsChanged = true;
    }
}

// Steps 8 and 9: the profile bound to `mode` into bank `mode`; its rate code.
int uploadBoundProfile(TDM& dm, TuiHIDData& device, SequenceHost& host, int mode, ApplyReport& report)
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    const int bound = dm.FProfileSettingGroup().ProfileIndexOfProfileGroup[mode];
    int rateCode = kDefaultReportRateCode;
    if (dm.ReadProfileInfo(*profile, bound)) {
        UploadProfile(device, host, *profile, mode, report.steps, &report.notes);
        rateCode = ReportRateCode(*profile, &report.notes);
    } else {
        // Cannot happen with a checked profile-group record; nothing is sent.
        StepLog(host, report.steps).add(ApplyStep::Buttons, mode, EINVAL);
    }
    host.processMessages();
    return rateCode;
}

// What the sequence wrote, as the mouse should now hold it.
MemoryImage appliedImage(TDM& dm)
{
    MemoryImage image;
    int rates[kModeCount] = {kDefaultReportRateCode, kDefaultReportRateCode};
    for (int mode = 0; mode < kModeCount; ++mode) {
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        if (dm.ReadProfileInfo(*profile, dm.FProfileSettingGroup().ProfileIndexOfProfileGroup[mode]))
            rates[mode] = PutProfileIntoBank(image, *profile, mode);
    }
    PutSharedBytes(image, rates[0], rates[1], dm.FProfileGroupIndex(), dm.FCurrentProfileInfo());
    return image;
}

} // namespace

QString pointerSettingsNotTakenText(const SystemMouseParamsResult& result)
{
    QString names;
    for (const PointerSettingFailure& failure : result.failures) {
        const QString name = translate(pointerSettingName(failure.setting));
        names = names.isEmpty() ? name : translate(QStringLiteral("%1, %2")).arg(names, name);
    }
    return names.isEmpty() ? QString() : translate(QLatin1String(kApplyPointerSettingsText)).arg(names);
}

QString pointerSettingsNotTakenReasons(const SystemMouseParamsResult& result)
{
    QStringList lines;
    for (const PointerSettingFailure& failure : result.failures) {
        if (!failure.reason.isEmpty())
            lines << translate(pointerSettingName(failure.setting)) + QStringLiteral(": ") + failure.reason;
    }
    return lines.join(QLatin1Char('\n'));
}

QString boundProfilesProblem(TDM& dm)
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    for (int mode = 0; mode < kModeCount; ++mode) {
        const int bound = dm.FProfileSettingGroup().ProfileIndexOfProfileGroup[mode];
        if (!dm.ReadProfileInfo(*profile, bound))
            continue; // cannot happen with a checked group record; uploadBoundProfile sends nothing for it
        const QString problem = profileRecordProblem(*profile);
        if (!problem.isEmpty())
            return translate(QLatin1String(kApplyDamagedProfileText)).arg(bound + 1).arg(problem);
    }
    return {};
}

void StoreAllProfiles(TDM& dm)
{
    dm.SaveBackAllProfiles();
    dm.SaveBackToProfileGroupSettingInfo();
    dm.SaveProfileGroupSettingInfoToRegistry();
}

void UploadProfile(TuiHIDData& device, SequenceHost& host, const TMOUSEPROFILEINFO& profile, int bank,
                   std::vector<ApplyStepResult>& steps, EncodingNotes* notes)
{
    StepLog log(host, steps);
    host.pause(kPauseBeforeUpload);
    const auto prepared = PrepareDeviceProfile(profile);
    const ButtonBlock buttons = EncodeButtonBlock(*prepared, notes);
    const LightBlock light = EncodeLightBlock(prepared->ConfigInfo.LEDConfig);
    const MacroBlocks macros = EncodeMacroBlocks(*prepared, notes);
    const CpiBlock cpi = EncodeCpiBlock(*prepared, notes);
    host.processMessages();

    log.add(ApplyStep::Buttons, bank,
            WriteDeviceMemory(device, bankAddress(bank, kButtonBlockOffset), buttons.data(), buttons.size()));
    log.add(ApplyStep::Macros, bank, WriteMacroBlocks(device, macros, bank));
    log.add(ApplyStep::Light, bank,
            WriteDeviceMemory(device, bankAddress(bank, kLightBlockOffset), light.data(), light.size()));
    log.add(ApplyStep::CpiLevels, bank,
            WriteDeviceMemory(device, bankAddress(bank, kCpiBlockOffset), cpi.data(), cpi.size()));
    host.processMessages();
}

bool ApplySettings(TDM& dm, TuiHIDData& device, MainWindowState& state, SequenceHost& host, ApplyReport* out,
                   const ApplyOptions& options)
{
    ApplyReport local;
    ApplyReport& report = out != nullptr ? *out : local;
    report = ApplyReport{};
    StepLog log(host, report.steps);

    // The working copy joins its store first, so that both bound profiles are
    // checked as they would be sent.
    dm.SaveBackToCurrentProfileInfo();
    report.refusal = boundProfilesProblem(dm);
    if (!report.refusal.isEmpty()) {
        host.showWarning(translate(QLatin1String(kApplyWarningTitle)), report.refusal);
        return false;
    }
    host.runStorage([&dm] { StoreAllProfiles(dm); });
    state.SettingsChanged = false;
    startPointerSettings(state, host);

    THIDDataParam presence;
    presence.UsageAndPage = dm.FUsageAndPage();
    report.mousePresent = device.IsDeviceExist(presence);
    if (!report.mousePresent) {
        host.showWarning(translate(QLatin1String(kApplyWarningTitle)), translate(QLatin1String(kApplyNoMouseText)));
        return false;
    }

    log.add(ApplyStep::UpdateBegin, -1, SendUpdateMark(device, kUpdateMarkBegin));
    host.showProgress(true);
    const int levelBefore = dm.FCurrentProfileInfo().ConfigInfo.CurrentCPIIndex;
    readBackCpiLevel(dm, device, host, log, report);
    storeReadBackLevel(dm, state, host, levelBefore);

    const int rate0 = uploadBoundProfile(dm, device, host, 0, report);
    const int rate1 = uploadBoundProfile(dm, device, host, 1, report);
    log.add(ApplyStep::ReportRate, -1, writeByte(device, kReportRateAddress, EncodeReportRateByte(rate0, rate1)));
    log.add(ApplyStep::ActiveMode, -1, writeByte(device, kActiveBankAddress, std::uint8_t(dm.FProfileGroupIndex())));
    const TMOUSECONFIGINFO& current = dm.FCurrentProfileInfo().ConfigInfo;
    log.add(ApplyStep::WheelLight, -1,
            writeByte(device, kWheelLightAddress, EncodeWheelLightByte(current.WheelLedOnOff, current.HWVWheelValue)));
    host.processMessages();

    state.Activation.first = 1;
    host.pause(kPauseAroundActivation);
    log.add(ApplyStep::Activation, -1, SendActivation(device, state.Activation));
    host.pause(kPauseAroundActivation);

    report.monitor = host.sendToMonitor(WindowMessage{UM_DEVICE_SETTINGS_CHANGED, 0, 0});

    log.add(ApplyStep::UpdateEnd, -1, SendUpdateMark(device, kUpdateMarkEnd));
    host.pause(kPauseAfterUpdateEnd);
    host.processMessages();
    if (options.verify.value_or(dm.appConfig().verifyAfterApply()) && !report.firstFailure())
        report.verification = VerifyAppliedMemory(device, host, appliedImage(dm));
    host.showProgress(false);

    if (report.cpiLevelUnread())
        host.showNote(translate(QLatin1String(kApplyCpiNotReadText)));
    if (const std::optional<ApplyStepResult> failed = report.firstFailure()) {
        host.showWarning(translate(QLatin1String(kApplyWarningTitle)),
                         translate(QLatin1String(kApplyFailedText)).arg(applyStepText(*failed)));
        return false;
    }
    if (report.verification && !report.verification->kept()) {
        QStringList blocks;
        for (const ApplyStepResult& step : report.verification->notKept)
            blocks << applyStepText(step);
        host.showWarning(translate(QLatin1String(kApplyWarningTitle)),
                         report.verification->readError != 0
                             ? translate(QLatin1String(kApplyNotVerifiedText))
                             : translate(QLatin1String(kApplyNotKeptText)).arg(blocks.join(QStringLiteral(", "))));
        return false;
    }
    host.setPreSavedLedConfig(dm.FCurrentProfileInfo().ConfigInfo.LEDConfig);
    return true;
}

} // namespace k4812
