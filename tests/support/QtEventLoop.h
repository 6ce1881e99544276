#pragma once
// A Qt application object for the tests of this program that need an event
// loop (local sockets), and a bounded wait that runs the loop.

#include <functional>

namespace k4812::test {

// Runs the event loop until `done()` holds or `timeoutMs` has passed;
// returns done(). Work finished on another thread must wake the loop with
// wakeEventLoop().
bool runEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// Wakes runEventsUntil() from another thread so it checks its condition.
void wakeEventLoop();

} // namespace k4812::test
