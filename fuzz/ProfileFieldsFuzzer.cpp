// libFuzzer target: the field checks of a profile record. The input is a
// list of patches to the factory profile (with a macro list of three
// macros): each 4 bytes are an offset (3 bytes, little-endian, taken modulo
// the record's size) and the byte to put there, so that the fuzzer reaches
// fields anywhere in the record. A record that the checks accept must encode
// for the mouse without an encoder having to change a value, and only into
// what the window's edits can send: functions of the table (the primary
// buttons click or right-click), 1 to 4 CPI levels of known steps, one of the
// four report rates, brightness and breathing 0 to 3. A refused record must
// be refused again from its bytes, naming a field.

#include "profiles/FactoryDefaults.h"
#include "profiles/RecordChecks.h"
#include "records/RecordBytes.h"
#include "wire/ButtonEncoding.h"
#include "wire/CpiEncoding.h"
#include "wire/LightEncoding.h"
#include "wire/MacroEncoding.h"
#include "macros/MacroName.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace k4812;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::unique_ptr<TMOUSEPROFILEINFO> startingProfile()
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    for (int i = 0; i < 3; ++i) {
        TMACROKEYINFO& m = profile->MacroKeyInfoList.MacroInfos[i];
        setMacroName(m, QStringLiteral("M%1").arg(i));
        m.MacroListCount = 2;
        m.MacroList[0] = TMACROKEY{4, 1, 65, 0};
        m.MacroList[1] = TMACROKEY{4, 0, 65, 0};
        m.nMacroIndex = std::uint16_t(i);
    }
    profile->MacroKeyInfoList.nMacroInfoCount = 3;
    return profile;
}

bool isSendableCode(std::uint8_t code)
{
    switch (code) {
    case 1: case 2: case 3: case 4: case 5: case 8: case 9: case 10:
    case 14: case 15: case 16: case 17: case 18:
        return true;
    default:
        return false;
    }
}

void checkAccepted(const TMOUSEPROFILEINFO& profile)
{
    EncodingNotes notes;
    const auto prepared = PrepareDeviceProfile(profile);
    const ButtonBlock buttons = EncodeButtonBlock(*prepared, &notes);
    const MacroBlocks macros = EncodeMacroBlocks(*prepared, &notes);
    const CpiBlock cpi = EncodeCpiBlock(*prepared, &notes);
    const int rate = ReportRateCode(profile, &notes);
    const LightBlock light = EncodeLightBlock(profile.ConfigInfo.LEDConfig);
    // A recorded key the mouse has no usage for is what the recorder makes
    // (it takes every virtual key); the mouse gets "no key" for it.
    for (const QString& note : notes)
        require(note.endsWith(QLatin1String("has no keyboard usage the mouse can send; sent as no key")));

    for (int i = 0; i < 7; ++i)
        require(isSendableCode(buttons[std::size_t(1 + 4 * i)]));
    for (int i = 0; i < 2; ++i)
        require(buttons[std::size_t(1 + 4 * i)] == 1 || buttons[std::size_t(1 + 4 * i)] == 2);
    for (int i = 0; i < kMacroBlockCount; ++i)
        require(macros.lengths[std::size_t(i)] <= kMacroBlockSize);

    require(cpi[0] >= 1 && cpi[0] <= 4 && cpi[1] <= 3);
    for (int k = 0; k < 10; ++k) {
        const std::uint8_t enabled = cpi[std::size_t(2 + 3 * k)];
        require(enabled <= 1 && (enabled == 0 || k < 4));
        const std::uint8_t code = cpi[std::size_t(3 + 3 * k)];
        require(enabled == 0 ? code == 0 : code >= 1 && code <= 8);
    }
    require(rate == 1 || rate == 2 || rate == 4 || rate == 8);
    require(light[3] <= 3 && light[4] <= 3);
    require(profile.ConfigInfo.WheelLedOnOff == 0 || profile.ConfigInfo.WheelLedOnOff == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::unique_ptr<TMOUSEPROFILEINFO> start = startingProfile();
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    std::memcpy(profile.get(), start.get(), sizeof *profile);
    auto* bytes = reinterpret_cast<std::uint8_t*>(profile.get());
    for (std::size_t i = 0; i + 4 <= size; i += 4) {
        const std::size_t offset =
            (std::size_t(data[i]) | std::size_t(data[i + 1]) << 8 | std::size_t(data[i + 2]) << 16)
            % sizeof(TMOUSEPROFILEINFO);
        bytes[offset] = data[i + 3];
    }

    const QString problem = profileRecordProblem(*profile);
    if (problem.isEmpty()) {
        checkAccepted(*profile);
        return 0;
    }
    // The same bytes read as a file are refused too, unless their version is not a profile's at all.
    if (profile->ProfileHeader.FFileVersion == kProfileFileVersion)
        require(profileBytesProblem(recordToBytes(*profile)).contains(problem));
    return 0;
}
