// The pairing of X11's release-press repeats: which events go on, in which
// order, and which release is dropped as part of a repeat.

#include "macros/KeyRepeatPairing.h"

#include <gtest/gtest.h>

#include <Qt>

#include <string>
#include <vector>

namespace k4812 {
namespace {

constexpr std::uint32_t kX = 53, kY = 29;   // X11 keycodes of X and Y (evdev + 8)

LinuxKeyEvent down(std::uint32_t keycode, std::uint32_t time, bool repeat = false)
{
    LinuxKeyEvent e;
    e.key.nativeScanCode = keycode;
    e.time = time;
    e.autoRepeat = repeat;
    return e;
}

LinuxKeyEvent up(std::uint32_t keycode, std::uint32_t time, bool repeat = false)
{
    LinuxKeyEvent e = down(keycode, time, repeat);
    e.released = true;
    return e;
}

// "P53@100" (a press), "R53@100" (a release), "p53@100" (a press flagged as a repeat).
std::string text(const LinuxKeyEvent& e)
{
    const char kind = e.released ? 'R' : (e.autoRepeat ? 'p' : 'P');
    return kind + std::to_string(e.key.nativeScanCode) + '@' + std::to_string(e.time);
}

// Plays `events`, then the end of input (flush), and returns what went on, in order.
std::vector<std::string> play(const std::vector<LinuxKeyEvent>& events)
{
    KeyRepeatPairing pairing;
    std::vector<std::string> out;
    for (const LinuxKeyEvent& e : events) {
        const KeyRepeatPairing::Step step = pairing.next(e);
        if (step.heldRelease)
            out.push_back(text(*step.heldRelease));
        if (step.event)
            out.push_back(text(*step.event));
    }
    if (const auto held = pairing.flush())
        out.push_back(text(*held));
    EXPECT_FALSE(pairing.holding());
    return out;
}

struct Case {
    const char* name;
    std::vector<LinuxKeyEvent> events;
    std::vector<std::string> delivered;
};

TEST(KeyRepeatPairing, PairsOnlyAReleaseAndAPressOfOneKeyAtOneTime)
{
    const Case cases[] = {
        {"a held key: repeats become presses, the last release stays",
         {down(kX, 100), up(kX, 700), down(kX, 700), up(kX, 745), down(kX, 745), up(kX, 900)},
         {"P53@100", "p53@700", "p53@745", "R53@900"}},
        {"a release and a later press are two key strokes",
         {down(kX, 100), up(kX, 150), down(kX, 151), up(kX, 200)},
         {"P53@100", "R53@150", "P53@151", "R53@200"}},
        {"another key's press at the same time does not pair",
         {down(kX, 100), up(kX, 150), down(kY, 150), up(kY, 180)},
         {"P53@100", "R53@150", "P29@150", "R29@180"}},
        {"a release after a release lets the first go",
         {down(kX, 100), down(kY, 110), up(kX, 150), up(kY, 150)},
         {"P53@100", "P29@110", "R53@150", "R29@150"}},
        {"a release without time stamp cannot pair and goes at once",
         {down(kX, 0), up(kX, 0), down(kX, 0)},
         {"P53@0", "R53@0", "P53@0"}},
        {"a release flagged as a repeat is not held (nor paired)",
         {up(kX, 700, true), down(kX, 700, true)},
         {"R53@700", "p53@700"}},
        {"a release at the end of input goes on flush",
         {down(kX, 100), up(kX, 200)},
         {"P53@100", "R53@200"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(play(c.events), c.delivered) << c.name;
}

TEST(KeyRepeatPairing, KeysWithoutKeycodeAreToldApartByQtKeyAndKeypad)
{
    LinuxKeyEvent release;
    release.released = true;
    release.time = 500;
    release.key.qtKey = Qt::Key_5;
    LinuxKeyEvent keypadPress = release;
    keypadPress.released = false;
    keypadPress.key.keypad = true;
    LinuxKeyEvent samePress = keypadPress;
    samePress.key.keypad = false;

    KeyRepeatPairing pairing;
    EXPECT_FALSE(pairing.next(release).event);
    KeyRepeatPairing::Step other = pairing.next(keypadPress);
    ASSERT_TRUE(other.heldRelease) << "keypad 5 is another key than 5";
    EXPECT_FALSE(other.event->autoRepeat);

    EXPECT_FALSE(pairing.next(release).event);
    KeyRepeatPairing::Step repeat = pairing.next(samePress);
    EXPECT_FALSE(repeat.heldRelease);
    ASSERT_TRUE(repeat.event);
    EXPECT_TRUE(repeat.event->autoRepeat);
}

} // namespace
} // namespace k4812
