#include "sequences/Pauser.h"

#include <chrono>
#include <thread>

namespace k4812 {

void SleepingPauser::pause(int milliseconds)
{
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace k4812
