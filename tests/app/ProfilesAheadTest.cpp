// The profiles loaded while the toolkit starts: with the single-instance
// lock held, and never for a screenshot or beside a running copy.

#include "app/ProfilesAhead.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <vector>

namespace k4812 {
namespace {

void start(std::vector<const char*> args)
{
    args.insert(args.begin(), "k4812-config");
    startLoadingProfiles(int(args.size()), const_cast<char**>(args.data()));
}

TEST(ProfilesAhead, LoadsTheProfilesWithTheLockHeld)
{
    test::TestEnvironment env;
    start({"--device=emulator"});
    std::unique_ptr<ProfilesLoadedAhead> ahead = takeProfilesLoadedAhead();
    ASSERT_NE(ahead, nullptr);
    ASSERT_NE(ahead->dm, nullptr) << ahead->error.toStdString();
    EXPECT_EQ(TDM::instance(), ahead->dm.get());
    ASSERT_NE(ahead->lock, nullptr);
    EXPECT_TRUE(ahead->lock->isHeld());
    SingleInstanceLock second;
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(second.anotherInstance());
    EXPECT_EQ(takeProfilesLoadedAhead(), nullptr) << "taken once";
}

TEST(ProfilesAhead, BeginsNothingForAScreenshotOrBesideARunningCopy)
{
    test::TestEnvironment env;
    for (const std::vector<const char*>& args : {std::vector<const char*>{"--screenshot", "window.png"},
                                                  std::vector<const char*>{"--screenshot=window.png"}}) {
        start(args);
        EXPECT_EQ(takeProfilesLoadedAhead(), nullptr) << args[0];
    }
    SingleInstanceLock running;
    ASSERT_TRUE(running.tryAcquire());
    start({});
    EXPECT_EQ(takeProfilesLoadedAhead(), nullptr);
    EXPECT_EQ(TDM::instance(), nullptr) << "nothing was loaded";
}

} // namespace
} // namespace k4812
