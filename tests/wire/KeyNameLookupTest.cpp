#include "wire/KeyNameLookup.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(KeyNameLookupTest, NamesFindTheKeyAUserMeans)
{
    struct Case {
        const char* name;
        int virtualKey;
        int extended;
    };
    const Case cases[] = {
        {"F5", 116, 0},
        {"f5", 116, 0},
        {"VK_F5", 116, 0},
        {"a", 65, 0},
        {"1", 49, 0},
        {"ENTER", 13, 0},        // the main Enter (usage 40), not keypad Enter (88)
        {"page up", 33, 1},      // the dedicated key (75), not keypad 9 (97)
        {"Page-Up", 33, 1},
        {"PAGEUP", 33, 1},
        {"left arrow", 37, 1},
        {"NUMPAD 9", 105, 0},
        {"Keypad DEL", 46, 0},
        {"DEL", 46, 1},
        {"L WIN", 91, 1},        // a key that exists only in its extended form
        {"R CTRL", 163, 1},
        {"ESC", 27, 0},
        {"-", 109, 0},           // punctuation is matched whole
        {"-_", 189, 0},
        {"BROWSER_BACK", 166, 1},   // found, though the mouse cannot send it
    };
    for (const Case& c : cases) {
        const std::optional<NamedKey> key = KeyOfName(QString::fromLatin1(c.name));
        ASSERT_TRUE(key.has_value()) << c.name;
        EXPECT_EQ(*key, (NamedKey{c.virtualKey, c.extended})) << c.name;
    }
    for (const char* unknown : {"", "  ", "Undefined", "UNDEFINED_0C8", "F25", "ctrl+a"})
        EXPECT_FALSE(KeyOfName(QString::fromLatin1(unknown)).has_value()) << unknown;
}
