// Part of every test program. A test program that used D-Bus ends with Qt's
// D-Bus connection thread being stopped by one of Qt's global destructors;
// the thread frees its own thread data a moment after that destructor has
// stopped waiting for it. Under the sanitizers the leak check runs at exit
// right after the global destructors, and now and then it came in between
// and reported that data (252 bytes inside Qt) as leaked.
//
// Registered before anything of Qt's, this runs after Qt's global
// destructors: it waits until no thread of the process is still named
// "QDBusConnection", at most two seconds. Other threads are not waited for.

#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fstream>
#include <string>

namespace {

bool dbusThreadRuns()
{
    DIR* tasks = ::opendir("/proc/self/task");
    if (tasks == nullptr)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream comm(std::string("/proc/self/task/") + entry->d_name + "/comm");
        std::string name;
        if (std::getline(comm, name) && name == "QDBusConnection") {
            found = true;
            break;
        }
    }
    ::closedir(tasks);
    return found;
}

void waitForTheDBusThread()
{
    const timespec step{0, 1000000}; // 1 ms
    for (int i = 0; i < 2000 && dbusThreadRuns(); ++i)
        ::nanosleep(&step, nullptr);
}

[[maybe_unused]] const int registered = std::atexit(waitForTheDBusThread);

} // namespace
