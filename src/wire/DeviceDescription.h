#pragma once
// What the mouse would do, as read back from its settings memory: the
// inverse of the encoders, per bank and for the bytes both banks share.
// Filled by DecodeDeviceMemory (DeviceDecoding.h); tests compare it with the
// profile that was sent, and k4812ctl shows it.

#include "wire/MemoryMap.h"
#include "records/Records.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace k4812 {

// A HID usage with the name of the key (or keys) it stands for; an empty name
// when no key of the key table has the usage. Usage 0 is "no key".
struct DecodedKey {
    int usage = 0;
    QString name;
    bool operator==(const DecodedKey&) const = default;
};

// One entry of the button block. `function` names the device function code
// ("Click", "Single Key", "Disable", ...); the fields after it are filled for
// the codes that use them and stay 0 / empty otherwise.
struct DecodedButton {
    int entry = 0;         // position in the block, the mouse's own button order
    int windowEntry = 0;   // the window's button entry (1 to 7) it carries; 0 for the fixed eighth and beyond
    std::uint8_t code = 0;
    std::array<std::uint8_t, 3> parameters{};
    QString function;

    int wheelParameter = 0;    // Wheel Up, Wheel Down
    int hidModifiers = 0;      // Combo Key: the HID modifier byte as sent
    int modifierBits = 0;      // Combo Key: the same as the profile keeps it (1 Alt, 2 Ctrl, 4 Shift, 8 Win)
    DecodedKey key1;           // Single Key, Combo Key
    DecodedKey key2;           // Combo Key
    DecodedKey media;          // media key (consumer usage); usage 0 is Disable
    int mediaSecondValue = 0;  // the media entry's third byte (0 for every key the window offers)
    int macroBlock = -1;       // Macro: block 0 to 4 (-1 when the entry names none)
    int macroLength = 0;       // Macro: bytes of the block it plays
    int fireCount = 0;         // Fire Key
    int fireDelay = 0;         // Fire Key

    QString text;   // one line for people, e.g. "Ctrl+C" or "Macro 0 (33 bytes)"
};

struct DecodedCpiLevel {
    int enabled = 0;
    int xCode = 0;
    int yCode = 0;
    int xCpi = 0;   // the step a code stands for; 0 for a code outside 1 to 8
    int yCpi = 0;
};

struct DecodedCpi {
    int levelCount = 0;    // CPILevel as sent
    int activeLevel = 0;   // CurrentCPIIndex as sent (0-based)
    std::array<DecodedCpiLevel, 10> levels{};
};

// One macro action of a block (three bytes).
struct DecodedMacroAction {
    std::array<std::uint8_t, 3> bytes{};
    int type = 0;    // bits 0-6 of byte 0
    int state = 0;   // bit 7 of byte 0: 1 = down
    DecodedKey key;          // key action: usage (byte 1) and name
    int extendedFlag = 0;    // key action: byte 2
    int delayMs = 0;         // delay action: 10 ms units times 10
    QString text;
};

// One macro block. A block plays only when a button entry names it, and it
// plays as many bytes as that entry says; a block no entry names is shown as
// unused, with no actions.
struct DecodedMacro {
    int block = 0;
    bool used = false;
    int length = 0;        // bytes in use, from the (first) button entry naming it
    std::vector<DecodedMacroAction> actions;
    int loopCount = 0;     // from the loop entry that ends the macro; 0 = none
    QStringList problems;  // lengths that disagree or do not fit, cut entries
};

struct DecodedBank {
    int bank = 0;
    int buttonCount = 0;   // byte 0 of the button block
    std::vector<DecodedButton> buttons;
    DecodedCpi cpi;
    TLEDCONFIG light{};
    std::array<DecodedMacro, kMacroBlockCount> macros{};
    QStringList problems;   // a button count beyond the block's 16 entries
};

// A light as the preview command carries it: no BREATH_SECOND.
struct DecodedPreviewLight {
    TLEDCONFIG light{};   // BREATH_SECOND is 0
    std::array<std::uint8_t, 5> bytes{};
};

struct DeviceDescription {
    std::array<DecodedBank, kBankCount> banks{};

    std::uint8_t activeBankByte = 0;
    int activeBank = 0;   // any value other than 0 selects bank 1

    std::uint8_t reportRateByte = 0;
    std::array<int, kBankCount> reportRateCode{};
    std::array<int, kBankCount> reportRateHz{};   // 0 for a code the mouse does not define

    std::uint8_t wheelLightByte = 0;
    bool wheelLightOn = false;
    int wheelValue = 0;

    // Known only to the emulator: the last activation command received and
    // the light shown by the last preview.
    std::optional<std::array<std::uint8_t, 2>> lastActivation;
    std::optional<DecodedPreviewLight> shownLight;
};

} // namespace k4812
