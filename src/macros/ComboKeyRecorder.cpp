#include "macros/ComboKeyRecorder.h"

#include "wire/KeyCodeTable.h"

#include <algorithm>

namespace k4812 {

namespace {

// The modifiers in the order the recorder writes them, with their left and
// right virtual keys and their bit of nModifier.
struct HeldModifier {
    int left;
    int right;
    std::uint16_t bit;
    const char* text;
};
constexpr HeldModifier kHeldModifiers[] = {
    {0xA2, 0xA3, 0x02, "Ctrl+"},
    {0xA4, 0xA5, 0x01, "Alt+"},
    {0x5B, 0x5C, 0x08, "Win+"},
    {0xA0, 0xA1, 0x04, "Shift+"},
};

// Milliseconds between two stamps of a clock that wraps at 2^32, either way round.
std::uint32_t interval(std::uint32_t a, std::uint32_t b)
{
    return std::min(std::uint32_t(a - b), std::uint32_t(b - a));
}

} // namespace

bool ComboKeyRecorder::isModifierKey(std::uint32_t virtualKey)
{
    return std::any_of(std::begin(kHeldModifiers), std::end(kHeldModifiers), [virtualKey](const HeldModifier& m) {
        return virtualKey == std::uint32_t(m.left) || virtualKey == std::uint32_t(m.right);
    });
}

ComboKeyRecorder::Outcome ComboKeyRecorder::record(const TKBDLLHOOKSTRUCT& event, const KeyHeld& held)
{
    if ((event.flags & kKeyFlagReleased) != 0 || isModifierKey(event.vkCode))
        return {};

    const auto vk = std::uint16_t(event.vkCode);
    const std::uint16_t extended = (event.flags & kKeyFlagExtended) != 0 ? 1 : 0;

    FComboKeyString.clear();
    FComboKeyInfo.nModifier = 0;
    if (FComboKeyInfo.nKeyValue1 != 0 && FComboKeyInfo.nKeyValue2 != 0) {
        FComboKeyInfo.nKeyValue1 = FComboKeyInfo.nKeyValue2 = 0;
        FComboKeyInfo.nKeyValue1Extended = FComboKeyInfo.nKeyValue2Extended = 0;
    }
    for (const HeldModifier& m : kHeldModifiers) {
        if (held && (held(m.left) || held(m.right))) {
            FComboKeyInfo.nModifier |= m.bit;
            FComboKeyString += QLatin1String(m.text);
        }
    }

    // A first press of the recording (no earlier stamp) always starts anew,
    // even when the clock is within 100 ms of zero.
    if (FLastTimeKeyboardCombo == 0 || interval(event.time, FLastTimeKeyboardCombo) > kPairingMs) {
        FComboKeyInfo.nKeyValue1 = vk;
        FComboKeyInfo.nKeyValue1Extended = extended;
        FComboKeyInfo.nKeyValue2 = 0;
        FComboKeyInfo.nKeyValue2Extended = 0;   // no stale flag beside an empty key
    } else if (FComboKeyInfo.nKeyValue1 == 0) {
        FComboKeyInfo.nKeyValue1 = vk;
        FComboKeyInfo.nKeyValue1Extended = extended;
    } else if (FComboKeyInfo.nKeyValue2 == 0) {
        if (vk == FComboKeyInfo.nKeyValue1) {
            FComboKeyInfo.nKeyValue1Extended = extended;   // a repeat of the first key
        } else {
            FComboKeyInfo.nKeyValue2 = vk;
            FComboKeyInfo.nKeyValue2Extended = extended;
        }
    }
    FLastTimeKeyboardCombo = event.time;

    Outcome outcome;
    outcome.blocked = true;
    if (FComboKeyInfo.nKeyValue1 != 0) {
        QString keys = KeyNameOf(FComboKeyInfo.nKeyValue1, FComboKeyInfo.nKeyValue1Extended);
        if (FComboKeyInfo.nKeyValue2 != 0)
            keys += QLatin1Char('+') + KeyNameOf(FComboKeyInfo.nKeyValue2, FComboKeyInfo.nKeyValue2Extended);
        if (!keys.isEmpty()) {
            FComboKeyString += keys;
            outcome.combo = FComboKeyInfo;
            outcome.text = FComboKeyString;
        }
    }
    return outcome;
}

} // namespace k4812
