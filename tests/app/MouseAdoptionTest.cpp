// The first start with a mouse set up elsewhere: the window asks once
// whether to keep what the mouse holds, and either answer is remembered.

#include "MainWindowFixture.h"

#include "records/RecordBytes.h"
#include "ui/controls/RadioButton.h"
#include "wire/MemoryMap.h"

#include <QCoreApplication>

namespace k4812::test {
namespace {

constexpr const char* kQuestion = "Mouse settings|The mouse already holds settings. Use them for Mode 1 and Mode 2?|";

class MouseAdoptionTest : public MainWindowFixture {
protected:
    // Mode 1's bank at 1000 Hz and Mode 2's at 125 Hz; the factory has 500 Hz in both.
    void configureMouseElsewhere() { emulator->mouse().state().memory[kReportRateAddress] = 0x81; }

    TK4812CfgMain& openOffering()
    {
        TK4812CfgMain::Services s = services();
        s.offerMouseSettings = true;
        window = std::make_unique<TK4812CfgMain>(*dm, *hid, s);
        started = window->FormCreate();
        if (started)
            window->show();
        QCoreApplication::processEvents(); // the question comes once the window is up
        return *window;
    }

    // The stored report rate of the profile bound to `mode`.
    int storedRate(int mode)
    {
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        dm->ReadProfileInfo(*profile, dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[mode]);
        return profile->ConfigInfo.ReportRate;
    }
    // The profile manager as the next start makes it.
    void restart()
    {
        window.reset();
        dm.reset();
        dm = std::make_unique<TDM>();
    }

};

TEST_F(MouseAdoptionTest, OkKeepsBothBanksAndCancelKeepsTheFactoryProfiles)
{
    struct Case {
        const char* name;
        int answer;
        const char* radioShown;
        int mode1Rate;
        int mode2Rate;
    };
    const Case cases[] = {
        {"OK", 1, "RD1000HZ", 1000, 125},
        {"Cancel", 2, "RD500HZ", 500, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestEnvironment fresh; // a home folder with nothing stored yet
        fresh.set("K4812_PROGRAM_DIR", QStringLiteral(K4812_BIN_DIR));
        restart();
        ASSERT_TRUE(dm->FirstStart());
        emulator->mouse().state().memory = initialEmulatorMemory();
        configureMouseElsewhere();
        dialogs.clear();
        answers = {c.answer};

        const std::vector<std::uint8_t> held = emulator->mouse().state().memory;
        TK4812CfgMain& w = openOffering();
        ASSERT_TRUE(started);
        ASSERT_EQ(dialogs.size(), 1);
        EXPECT_EQ(dialogs.first(), QLatin1String(kQuestion));
        EXPECT_TRUE(window->findChild<RadioButton*>(QLatin1String(c.radioShown))->isChecked());
        EXPECT_FALSE(w.state().SettingsChanged);
        EXPECT_EQ(emulator->mouse().state().memory, held) << "reading the mouse changes nothing in it";

        // Stored at once, and asked once: the next start is not a first start.
        restart();
        EXPECT_FALSE(dm->FirstStart());
        EXPECT_EQ(storedRate(0), c.mode1Rate);
        EXPECT_EQ(storedRate(1), c.mode2Rate);
        window.reset();
        dm.reset();
    }
}

TEST_F(MouseAdoptionTest, AFactoryMouseOrAnEarlierStartAsksNothing)
{
    openOffering(); // a fresh home and a factory mouse: the fixture fails on any dialog
    ASSERT_TRUE(started);
    EXPECT_TRUE(dialogs.isEmpty());
    dm->SaveProfileGroupSettingInfoToRegistry();
    restart();
    configureMouseElsewhere();
    openOffering();
    ASSERT_TRUE(started);
    EXPECT_TRUE(dialogs.isEmpty()) << "settings were stored before: the mouse is not read";
}

} // namespace
} // namespace k4812::test
