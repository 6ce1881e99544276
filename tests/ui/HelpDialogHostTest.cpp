// The program's help dialog host stores the chosen language through the
// store runner it is given (the window's storage thread), never beside it.

#include "platform/storage/StorageError.h"
#include "profiles/ProfileManager.h"
#include "ui/dialogs/HelpDialogHost.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace k4812;

TEST(ProgramHelpDialogHost, StoresTheLanguageOnlyInsideTheRunner)
{
    test::TestEnvironment env;
    TDM dm;
    struct Case {
        const char* name;
        std::function<void(const std::function<void()>&)> runner;
        const char* result; // a part of the answer; empty: stored
    } cases[] = {
        {"runs the store", [](const std::function<void()>& store) { store(); }, ""},
        {"skips the store", [](const std::function<void()>&) {}, "could not be stored"},
        {"throws", [](const std::function<void()>&) { throw StorageError(QStringLiteral("disk on fire")); },
         "disk on fire"},
    };
    for (const Case& c : cases) {
        int runs = 0;
        ProgramHelpDialogHost host([&](const std::function<void()>& store) {
            ++runs;
            c.runner(store);
        });
        const QString answer = host.storeCurrentLanguage(1);
        EXPECT_EQ(runs, 1) << c.name;
        if (*c.result == '\0')
            EXPECT_EQ(answer, QString()) << c.name;
        else
            EXPECT_TRUE(answer.contains(QLatin1String(c.result))) << c.name << ": " << answer.toStdString();
    }
}
