#pragma once
// The stored records of a mouse profile and of the profile bookkeeping.
//
// Every record is a packed plain structure whose bytes are the file and
// registry format: a profile file is one raw TMOUSEPROFILEINFO, byte for
// byte. Sizes and the offsets the format fixes are checked at compile time.
// Fields are little-endian; this program only builds for little-endian hosts.
//
// Rules for users of these records:
//  - copy whole records (or whole sub-records) as bytes; never convert fields
//    on the way to or from storage;
//  - read and write scalar fields by value; never bind a reference or pointer
//    to a multi-byte packed member (sub-records and text arrays are alignment
//    1 and are safe to reference);
//  - fields named "reserved" keep whatever bytes they were loaded with.

#include "records/Utf16Text.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace k4812 {

static_assert(std::endian::native == std::endian::little,
              "the stored records are little-endian and are copied as raw bytes");

#pragma pack(push, 1)

struct TProfileHeader {
    std::int32_t FFileVersion;     // 259 for every profile this program creates
    std::uint8_t FFileType[8];     // not interpreted
    std::uint8_t FFileName[44];    // not interpreted
    std::uint32_t FProfileSize;    // not interpreted
};

struct TFUNCTIONLIST {
    std::uint8_t FunctionInfo[800]; // reserved
};

struct TSINGLEKEYINFO {
    std::uint16_t nKeyValue1;      // Windows virtual-key code
    std::uint16_t nKey1Extended;   // 1 = extended key
};

struct TCOMBOKEYINFO {
    std::uint16_t nKeyValue1;
    std::uint16_t nKey1Extended;
    std::uint16_t nKeyValue2;
    std::uint16_t nKey2Extended;
    std::uint16_t nModifier;       // bits: 1 Alt, 2 Ctrl, 4 Shift, 8 Win
};

struct THID_CODE_INFO {
    std::uint16_t nKeyValue1;
    std::uint16_t nKeyValue2;
    std::uint16_t nModifier;
};

struct TFIREKEYINFO {
    std::uint16_t nLoopCount;      // repeat count
    std::uint16_t DelyValue;       // delay between repeats
};

// One macro action. The last two bytes are named after the action type:
// VALUE1/VALUE2 stand for MouseKeyValue/MouseKey_Index, MOUSE_X/MOUSE_Y,
// WHEEL_VALUE/WHEEL_Index, nKeyValue/nKeyExtended, MediaKey_L/MediaKey_H,
// DELAY_L/DELAY_H and LOOP_L/LOOP_H.
struct TMACROKEY {
    std::uint16_t nKeyType;
    std::uint16_t nKeyState;
    std::uint8_t VALUE1;
    std::uint8_t VALUE2;
};

constexpr int kMacroActionCapacity = 128;
constexpr int kMacroNameUnits = 50;

struct TMACROKEYINFO {
    TMACROKEY MacroList[kMacroActionCapacity];
    std::int32_t MacroListCount;
    std::uint16_t nAutoAddDelay;
    std::uint16_t nLoopCount;
    std::uint16_t nMacroIndex;
    std::uint8_t MacroUse;
    std::uint8_t pad0;
    Utf16Text<kMacroNameUnits> szMacroName;
    std::uint32_t Version;
    std::int32_t HaveErrors;
    std::int32_t ErrorCount;
};

constexpr int kMacroListCapacity = 21;

struct TMACROKEYINFOLIST {
    TMACROKEYINFO MacroInfos[kMacroListCapacity];
    std::uint16_t nMacroInfoCount; // macros in use, 0 to 21
    std::uint8_t pad0[2];
};

struct TMACROINFOLIST_TO_DEVICE {
    TMACROKEYINFO MacroInfos[5];   // reserved
    std::uint16_t nMacroInfoCount;
    std::uint8_t pad0[2];
};

// The function of one button or wheel direction. Only the parameter field
// that belongs to FunctionClass is meaningful; the others keep stale data.
struct TBUTTONFUNCINFO {
    std::uint8_t reserved0[2];
    TSINGLEKEYINFO SingleKeyInfo;
    TCOMBOKEYINFO ComboKeyInfo;
    THID_CODE_INFO MediaKeyInfo;
    std::uint8_t reserved1[2];
    TMACROKEYINFO MacroKeyInfo;
    TFIREKEYINFO FireKeyInfo;
    std::uint8_t reserved2[4];
    std::int32_t WheelParam;
    std::uint8_t reserved3[2820];
    std::uint8_t RawParam[3];
    std::uint8_t reserved4[1];
    std::uint16_t ButtonIndex;
    std::uint16_t FunctionIndex;
    std::uint8_t FunctionClass;
    std::uint8_t reserved5[3];
    std::int32_t DeviceCode;
    std::int32_t MenuID;
    std::uint8_t reserved6[4];
};

// Values of TBUTTONFUNCINFO::FunctionClass.
enum FunctionClassValue : std::uint8_t {
    kFunctionClassCpi = 0,
    kFunctionClassMouse = 1,
    kFunctionClassCombo = 3,
    kFunctionClassMacro = 4,
    kFunctionClassFire = 5,
    kFunctionClassSingleKey = 8,
    kFunctionClassMedia = 10,
    kFunctionClassRaw = 11,
};

struct TCPILEVELINFO {
    std::uint16_t X;
    std::uint16_t Y;
    std::uint16_t Enabled;         // 1 = level in use
};

struct TLEDCONFIG {
    std::uint8_t R;
    std::uint8_t G;
    std::uint8_t B;
    std::uint8_t BRIGHT_LEVEL;
    std::uint8_t BREATH_SPEED;
    std::uint8_t BREATH_SECOND;
};

struct TSENSORLIFT {
    std::uint8_t SensorLift;
};

struct TPROFILE_MACRO_PATH {
    std::uint8_t FilePath[1026];
};

constexpr int kButtonEntryCapacity = 15;
constexpr int kCpiLevelCapacity = 11;

struct TMOUSECONFIGINFO {
    TBUTTONFUNCINFO ButtonFuncInfo[kButtonEntryCapacity];
    TBUTTONFUNCINFO VWheelButtonFuncInfo[2];   // 0 = wheel up, 1 = wheel down
    TBUTTONFUNCINFO HWheelButtonFuncInfo[2];   // reserved
    std::uint16_t VWheelType;                  // reserved
    std::uint16_t HWheelType;                  // reserved
    std::uint16_t VWheelSpeed;                 // wheel lines per notch, 1-10 or 20
    std::uint16_t HWheelSpeed;                 // reserved
    std::int8_t HWVWheelValue;                 // hardware wheel value, 7 bits
    std::int8_t WheelLedOnOff;                 // 1 = light on
    std::uint16_t DoubleClickSpeed;            // milliseconds
    std::uint16_t PointerSpeed;                // 1-20
    std::uint16_t PointerAcceleration;         // 1 = enhance pointer precision
    std::uint16_t UseSystemPointerSpeedSetting; // reserved
    std::uint16_t ReportRate;                  // Hz
    std::int32_t CurrentCPIIndex;
    std::uint16_t CurrentCPIX;                 // reserved
    std::uint16_t CurrentCPIY;                 // reserved
    std::uint16_t MinCPI;                      // reserved
    std::uint16_t MaxCPI;                      // reserved
    std::uint16_t UseDiffentXY[kCpiLevelCapacity];
    std::uint16_t UseCPIOnScreenFlyShow;       // reserved
    TCPILEVELINFO CPIState[kCpiLevelCapacity];
    TCPILEVELINFO HWCPIState[kCpiLevelCapacity];
    std::uint16_t CPILevel;                    // levels in use, 1-4
    std::uint16_t AutoSwitchProfileWhenAppRun; // reserved
    std::uint8_t ApplicationList[10260];       // reserved
    TLEDCONFIG LEDConfig;
    TSENSORLIFT Sensorlift;                    // reserved
    std::uint8_t pad0;
    std::int32_t ButtonCount;
    TPROFILE_MACRO_PATH ProfilePath;           // reserved
    TPROFILE_MACRO_PATH MacroPath;             // reserved
    std::int32_t ApplyCPISettingEachProfile;
    std::int32_t ApplyAccelaration;
    std::int32_t ApplyDiffirentXY;
    std::int32_t FireKeySpeed;
    std::int32_t FireKeyCount;
};

struct TOtherConfig {
    std::int32_t ShowNumLock;
    std::int32_t ShowCapsLock;
    std::int32_t ShowScrollLock;
    std::int32_t ShowLockStatePop;
    std::uint8_t HelpFile[4];      // meaningless inside a stored profile
    std::int32_t Nologo;
};

constexpr std::int32_t kProfileFileVersion = 259;
constexpr std::int32_t kTestProfileFileVersion = 258;

struct TMOUSEPROFILEINFO {
    TProfileHeader ProfileHeader;
    TFUNCTIONLIST FunctionList;               // reserved
    TMOUSECONFIGINFO ConfigInfo;
    TFUNCTIONLIST HWheelFunctionList;         // reserved
    TFUNCTIONLIST VWheelFunctionList;         // reserved
    TMACROKEYINFOLIST MacroKeyInfoList;
    TMACROINFOLIST_TO_DEVICE MacroInfoToDevice; // reserved
    TOtherConfig OtherConfig;                 // reserved inside a profile
};

constexpr int kProfileFileNameUnits = 21;  // 20 characters and a NUL
constexpr int kProfilePathUnits = 1024;    // 1023 characters and a NUL

// Where one profile is stored.
struct TProfileSetting {
    std::uint16_t Marker;
    Utf16Text<kProfilePathUnits> FilePath;
    Utf16Text<kProfilePathUnits> KeyPath;
    Utf16Text<kProfileFileNameUnits> FileName;
    Utf16Text<kProfilePathUnits> MacroPath;
    std::uint8_t SaveToFile;       // 1 = in its file, 0 = in the registry
    std::uint8_t pad0;
};

constexpr int kProfileCount = 5;
constexpr int kModeCount = 2;

struct TProfileSettingGroup {
    std::int32_t CurrentProfileGroup;           // active hardware mode, 0 or 1
    std::int32_t ProfileIndexOfProfileGroup[kModeCount];
    TProfileSetting ProfileSettingList[kProfileCount];
    std::uint8_t pad0[2];
};

struct TALLGAMESINFO {
    TProfileSetting Allgameset[kProfileCount];
    std::uint8_t pad0[2];
    std::int32_t CurrentGame;       // current profile, 0 to 4
    std::int32_t CurrentLanguage;   // index in the language file
};

#pragma pack(pop)

// --- Sizes -----------------------------------------------------------------

static_assert(sizeof(TProfileHeader) == 60);
static_assert(sizeof(TFUNCTIONLIST) == 800);
static_assert(sizeof(TSINGLEKEYINFO) == 4);
static_assert(sizeof(TCOMBOKEYINFO) == 10);
static_assert(sizeof(THID_CODE_INFO) == 6);
static_assert(sizeof(TFIREKEYINFO) == 4);
static_assert(sizeof(TMACROKEY) == 6);
static_assert(sizeof(TMACROKEYINFO) == 892);
static_assert(sizeof(TMACROKEYINFOLIST) == 18736);
static_assert(sizeof(TMACROINFOLIST_TO_DEVICE) == 4464);
static_assert(sizeof(TBUTTONFUNCINFO) == 3772);
static_assert(sizeof(TCPILEVELINFO) == 6);
static_assert(sizeof(TLEDCONFIG) == 6);
static_assert(sizeof(TSENSORLIFT) == 1);
static_assert(sizeof(TPROFILE_MACRO_PATH) == 1026);
static_assert(sizeof(TMOUSECONFIGINFO) == 84204);
static_assert(sizeof(TOtherConfig) == 24);
static_assert(sizeof(TMOUSEPROFILEINFO) == 109888);
static_assert(sizeof(TProfileSetting) == 6190);
static_assert(sizeof(TProfileSettingGroup) == 30964);
static_assert(sizeof(TALLGAMESINFO) == 30960);

// --- Offsets fixed by the format -------------------------------------------

static_assert(offsetof(TMOUSEPROFILEINFO, FunctionList) == 60);
static_assert(offsetof(TMOUSEPROFILEINFO, ConfigInfo) == 860);
static_assert(offsetof(TMOUSEPROFILEINFO, HWheelFunctionList) == 85064);
static_assert(offsetof(TMOUSEPROFILEINFO, VWheelFunctionList) == 85864);
static_assert(offsetof(TMOUSEPROFILEINFO, MacroKeyInfoList) == 86664);
static_assert(offsetof(TMOUSEPROFILEINFO, MacroInfoToDevice) == 105400);
static_assert(offsetof(TMOUSEPROFILEINFO, OtherConfig) == 109864);

static_assert(offsetof(TProfileHeader, FFileType) == 4);
static_assert(offsetof(TProfileHeader, FFileName) == 12);
static_assert(offsetof(TProfileHeader, FProfileSize) == 56);

static_assert(offsetof(TMOUSECONFIGINFO, VWheelButtonFuncInfo) == 56580);
static_assert(offsetof(TMOUSECONFIGINFO, HWheelButtonFuncInfo) == 64124);
static_assert(offsetof(TMOUSECONFIGINFO, VWheelType) == 71668);
static_assert(offsetof(TMOUSECONFIGINFO, HWheelType) == 71670);
static_assert(offsetof(TMOUSECONFIGINFO, VWheelSpeed) == 71672);
static_assert(offsetof(TMOUSECONFIGINFO, HWheelSpeed) == 71674);
static_assert(offsetof(TMOUSECONFIGINFO, HWVWheelValue) == 71676);
static_assert(offsetof(TMOUSECONFIGINFO, WheelLedOnOff) == 71677);
static_assert(offsetof(TMOUSECONFIGINFO, DoubleClickSpeed) == 71678);
static_assert(offsetof(TMOUSECONFIGINFO, PointerSpeed) == 71680);
static_assert(offsetof(TMOUSECONFIGINFO, PointerAcceleration) == 71682);
static_assert(offsetof(TMOUSECONFIGINFO, UseSystemPointerSpeedSetting) == 71684);
static_assert(offsetof(TMOUSECONFIGINFO, ReportRate) == 71686);
static_assert(offsetof(TMOUSECONFIGINFO, CurrentCPIIndex) == 71688);
static_assert(offsetof(TMOUSECONFIGINFO, CurrentCPIX) == 71692);
static_assert(offsetof(TMOUSECONFIGINFO, CurrentCPIY) == 71694);
static_assert(offsetof(TMOUSECONFIGINFO, MinCPI) == 71696);
static_assert(offsetof(TMOUSECONFIGINFO, MaxCPI) == 71698);
static_assert(offsetof(TMOUSECONFIGINFO, UseDiffentXY) == 71700);
static_assert(offsetof(TMOUSECONFIGINFO, UseCPIOnScreenFlyShow) == 71722);
static_assert(offsetof(TMOUSECONFIGINFO, CPIState) == 71724);
static_assert(offsetof(TMOUSECONFIGINFO, HWCPIState) == 71790);
static_assert(offsetof(TMOUSECONFIGINFO, CPILevel) == 71856);
static_assert(offsetof(TMOUSECONFIGINFO, AutoSwitchProfileWhenAppRun) == 71858);
static_assert(offsetof(TMOUSECONFIGINFO, ApplicationList) == 71860);
static_assert(offsetof(TMOUSECONFIGINFO, LEDConfig) == 82120);
static_assert(offsetof(TMOUSECONFIGINFO, Sensorlift) == 82126);
static_assert(offsetof(TMOUSECONFIGINFO, ButtonCount) == 82128);
static_assert(offsetof(TMOUSECONFIGINFO, ProfilePath) == 82132);
static_assert(offsetof(TMOUSECONFIGINFO, MacroPath) == 83158);
static_assert(offsetof(TMOUSECONFIGINFO, ApplyCPISettingEachProfile) == 84184);
static_assert(offsetof(TMOUSECONFIGINFO, ApplyAccelaration) == 84188);
static_assert(offsetof(TMOUSECONFIGINFO, ApplyDiffirentXY) == 84192);
static_assert(offsetof(TMOUSECONFIGINFO, FireKeySpeed) == 84196);
static_assert(offsetof(TMOUSECONFIGINFO, FireKeyCount) == 84200);

static_assert(offsetof(TBUTTONFUNCINFO, SingleKeyInfo) == 2);
static_assert(offsetof(TBUTTONFUNCINFO, ComboKeyInfo) == 6);
static_assert(offsetof(TBUTTONFUNCINFO, MediaKeyInfo) == 16);
static_assert(offsetof(TBUTTONFUNCINFO, MacroKeyInfo) == 24);
static_assert(offsetof(TBUTTONFUNCINFO, FireKeyInfo) == 916);
static_assert(offsetof(TBUTTONFUNCINFO, WheelParam) == 924);
static_assert(offsetof(TBUTTONFUNCINFO, RawParam) == 3748);
static_assert(offsetof(TBUTTONFUNCINFO, ButtonIndex) == 3752);
static_assert(offsetof(TBUTTONFUNCINFO, FunctionIndex) == 3754);
static_assert(offsetof(TBUTTONFUNCINFO, FunctionClass) == 3756);
static_assert(offsetof(TBUTTONFUNCINFO, DeviceCode) == 3760);
static_assert(offsetof(TBUTTONFUNCINFO, MenuID) == 3764);

static_assert(offsetof(TMACROKEYINFO, MacroListCount) == 768);
static_assert(offsetof(TMACROKEYINFO, nAutoAddDelay) == 772);
static_assert(offsetof(TMACROKEYINFO, nLoopCount) == 774);
static_assert(offsetof(TMACROKEYINFO, nMacroIndex) == 776);
static_assert(offsetof(TMACROKEYINFO, MacroUse) == 778);
static_assert(offsetof(TMACROKEYINFO, szMacroName) == 780);
static_assert(offsetof(TMACROKEYINFO, Version) == 880);
static_assert(offsetof(TMACROKEYINFO, HaveErrors) == 884);
static_assert(offsetof(TMACROKEYINFO, ErrorCount) == 888);
static_assert(offsetof(TMACROKEYINFOLIST, nMacroInfoCount) == 18732);
static_assert(offsetof(TMACROINFOLIST_TO_DEVICE, nMacroInfoCount) == 4460);

static_assert(offsetof(TOtherConfig, HelpFile) == 16);
static_assert(offsetof(TOtherConfig, Nologo) == 20);

static_assert(offsetof(TProfileSetting, FilePath) == 2);
static_assert(offsetof(TProfileSetting, KeyPath) == 2050);
static_assert(offsetof(TProfileSetting, FileName) == 4098);
static_assert(offsetof(TProfileSetting, MacroPath) == 4140);
static_assert(offsetof(TProfileSetting, SaveToFile) == 6188);
static_assert(offsetof(TProfileSettingGroup, ProfileIndexOfProfileGroup) == 4);
static_assert(offsetof(TProfileSettingGroup, ProfileSettingList) == 12);
static_assert(offsetof(TALLGAMESINFO, CurrentGame) == 30952);
static_assert(offsetof(TALLGAMESINFO, CurrentLanguage) == 30956);

// The records must stay plain bytes: no constructors, no padding of our own.
static_assert(std::is_trivially_copyable_v<TMOUSEPROFILEINFO>);
static_assert(std::is_standard_layout_v<TMOUSEPROFILEINFO>);
static_assert(std::is_trivially_copyable_v<TProfileSettingGroup>);
static_assert(std::is_trivially_copyable_v<TALLGAMESINFO>);

} // namespace k4812
