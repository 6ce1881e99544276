#include "sequences/MouseAdoption.h"

#include "profiles/BankDecoding.h"
#include "profiles/ProfileManager.h"
#include "profiles/RecordChecks.h"
#include "records/RecordBytes.h"
#include "sequences/MouseReadBack.h"

#include <array>
#include <memory>

namespace k4812 {

QString ReadWholeMouse(TuiHIDData& device, Pauser& pauser, std::vector<std::uint8_t>& memory)
{
    const int error = ReadSettingsMemory(device, pauser, SettingsSpans(), memory);
    return error == 0 ? QString() : mouseReadErrorText(error);
}

QString AdoptMouseBanks(TDM& dm, std::span<const std::uint8_t> memory)
{
    const TProfileSettingGroup& group = dm.FProfileSettingGroup();
    std::array<std::unique_ptr<TMOUSEPROFILEINFO>, kModeCount> decoded;
    for (int mode = 0; mode < kModeCount; ++mode) {
        const int index = group.ProfileIndexOfProfileGroup[mode];
        if (!TDM::IsProfileIndexInRange(index))
            return QStringLiteral("Mode %1 is bound to no profile.").arg(mode + 1);
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        dm.ReadProfileInfo(*profile, index);
        QString problem = DecodeBankIntoProfile(memory, mode, *profile);
        if (problem.isEmpty())
            problem = profileRecordProblem(*profile);
        if (!problem.isEmpty())
            return QStringLiteral("Mode %1: %2").arg(mode + 1).arg(problem);
        decoded[std::size_t(mode)] = std::move(profile);
    }
    const int shared = group.ProfileIndexOfProfileGroup[0] == group.ProfileIndexOfProfileGroup[1]
                           ? dm.FProfileGroupIndex()
                           : -1;
    for (int mode = 0; mode < kModeCount; ++mode) {
        if (shared >= 0 && mode != shared)
            continue;
        const int index = group.ProfileIndexOfProfileGroup[mode];
        dm.SaveBackToProfileInfo(*decoded[std::size_t(mode)], index);
        dm.SaveProfileInfo(index);
    }
    dm.ReadCurrentProfileInfo();
    return {};
}

} // namespace k4812
