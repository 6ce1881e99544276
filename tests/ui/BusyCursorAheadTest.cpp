#include "ui/controls/BusyCursorAhead.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

namespace k4812 {
namespace {

// Only X11 loads cursor shapes one by one; elsewhere (here the offscreen
// platform, which has no display connection) nothing is started.
TEST(BusyCursorAhead, DoesNothingWithoutAnX11Display)
{
    ASSERT_NE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    EXPECT_FALSE(prepareBusyCursor());
}

} // namespace
} // namespace k4812
