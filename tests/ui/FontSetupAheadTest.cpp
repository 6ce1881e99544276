#include "ui/controls/FontSetupAhead.h"

#include <gtest/gtest.h>

namespace k4812 {
namespace {

// The program starts the set-up once and waits once, but a second start
// while one runs, a wait with nothing started and a start after a wait must
// neither abort (a running std::thread replaced or left unjoined) nor block.
TEST(FontSetupAhead, StartsAndWaitsInAnyOrder)
{
    waitForFontSetup();
    startFontSetup();
    startFontSetup();
    waitForFontSetup();
    waitForFontSetup();
    startFontSetup();
    waitForFontSetup();
}

} // namespace
} // namespace k4812
