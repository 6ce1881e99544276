#include "platform/desktop/MonitorLinkNames.h"
#include "sequences/ApplySequence.h"
#include "platform/storage/Registry.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/RadioButton.h"

#include "PagesFixture.h"

#include <QDir>
#include <QProcess>
#include <QTest>

using namespace k4812;

namespace {

class ProfileControlsTest : public test::PagesFixture {
protected:
    std::optional<int> profileIdValue()
    {
        const auto v = dm->registry().readValue(HKEY_CURRENT_USER, QString::fromLatin1(kProfileKeyPath),
                                                QStringLiteral("ProfileID"));
        if (!v || v->data.size() < 4)
            return std::nullopt;
        return int(std::uint8_t(v->data[0]));
    }

    QString emulatorShow()
    {
        QProcess ctl;
        ctl.start(QStringLiteral(K4812_BIN_DIR "/k4812ctl"),
                  {QStringLiteral("--device=emulator:") + stateFile(), QStringLiteral("emulator"),
                   QStringLiteral("show")});
        EXPECT_TRUE(ctl.waitForFinished(30000));
        return QString::fromUtf8(ctl.readAllStandardOutput());
    }
};

} // namespace

TEST_F(ProfileControlsTest, AProfileButtonBindsTheProfileToTheActiveMode)
{
    QTest::mouseClick(find<QAbstractButton>("Mode 2"), Qt::LeftButton);
    ASSERT_EQ(dm->FProfileGroupIndex(), 1);
    const int mode1Profile = dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[0];
    host.monitor.clear();

    QTest::mouseClick(find<QAbstractButton>("PROFILE3"), Qt::LeftButton);
    EXPECT_EQ(dm->FProfileIndex(), 2);
    EXPECT_EQ(dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[1], 2);
    EXPECT_EQ(dm->FProfileSettingGroup().ProfileIndexOfProfileGroup[0], mode1Profile);
    ASSERT_EQ(host.monitor.size(), 1u);
    EXPECT_FALSE(host.monitor[0].sent) << "posted";
    EXPECT_EQ(host.monitor[0].message, (WindowMessage{UM_DEVICE_SETTINGS_CHANGED, 1, 2}));
    EXPECT_EQ(profileIdValue(), 2);
    EXPECT_TRUE(find<QAbstractButton>("PROFILE3")->isEnabled());

    // What the mouse holds, as the command line sees it in the same state file.
    const QString shown = emulatorShow();
    EXPECT_TRUE(shown.contains(QStringLiteral("active bank: 1 (byte 02)"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("last activation: 01 02"))) << shown.toStdString();
}

TEST_F(ProfileControlsTest, TheActiveModeButtonSendsNothing)
{
    const std::size_t before = logSize();
    QTest::mouseClick(find<QAbstractButton>("Mode 1"), Qt::LeftButton);
    EXPECT_EQ(logSize(), before);
    EXPECT_TRUE(host.monitor.empty());
    EXPECT_TRUE(find<QAbstractButton>("Mode 1")->isChecked());
    EXPECT_FALSE(find<QAbstractButton>("Mode 2")->isChecked());
    EXPECT_TRUE(find<QAbstractButton>("Mode 1")->isEnabled());
}

TEST_F(ProfileControlsTest, ImportAndExportKeepALongFileWhole)
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    profile->ConfigInfo.ReportRate = 250;
    QByteArray bytes = recordToBytes(*profile);
    bytes.append(QByteArray(200000 - bytes.size(), '\x5a'));
    const QString chosen = env.path("mine/Imported.pfd");
    ASSERT_TRUE(test::writeFile(chosen, bytes));

    dialogs.answers = {chosen};
    controls->PresetItemClick(ProfileControls::LoadFromFile);
    EXPECT_EQ(dialogs.folders, QStringList{dm->profilesFolder()});
    EXPECT_TRUE(questions.isEmpty()) << questions.join('\n').toStdString();
    EXPECT_EQ(config().ReportRate, 250);
    EXPECT_TRUE(find<RadioButton>("RD250HZ")->isChecked()) << "the pages show the loaded profile";

    const QString exported = env.path("mine/Exported");
    dialogs.answers = {exported};
    controls->PresetItemClick(ProfileControls::SaveToFile);
    EXPECT_EQ(test::readFile(exported + ".pfd"), bytes) << "all 200000 bytes, with the default suffix";
}

TEST_F(ProfileControlsTest, ATwoByteFileIsRefusedWithAMessage)
{
    const QByteArray before = dm->FProfileGroup(0)->stream();
    const QString chosen = env.path("mine/Tiny.pfd");
    ASSERT_TRUE(test::writeFile(chosen, QByteArray("\x03\x01", 2)));
    dialogs.answers = {chosen};
    controls->PresetItemClick(ProfileControls::LoadFromFile);
    EXPECT_EQ(dm->FProfileGroup(0)->stream(), before);
    EXPECT_EQ(dm->FProfileGroup(0)->FileName(), QStringLiteral("Profile1.pfd"));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].startsWith(QStringLiteral("Warning|This file is not a profile")));

    // A cancelled dialog does nothing and says nothing.
    controls->PresetItemClick(ProfileControls::LoadFromFile);
    controls->PresetItemClick(ProfileControls::SaveToFile);
    EXPECT_EQ(questions.size(), 1);
}

TEST_F(ProfileControlsTest, ResetAllChangesNothingOnTheMouseUntilApply)
{
    config().ReportRate = 1000;
    dm->SaveBackToCurrentProfileInfo();
    advanced->LoadAdvancedPage();
    state.SettingsChanged = false;
    const std::size_t before = logSize();

    answer = 2;
    QTest::mouseClick(find<QAbstractButton>("Reset All"), Qt::LeftButton);
    EXPECT_EQ(config().ReportRate, 1000) << "Cancel keeps the profile";
    EXPECT_FALSE(state.SettingsChanged);

    answer = 1;
    QTest::mouseClick(find<QAbstractButton>("Reset All"), Qt::LeftButton);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[1], QStringLiteral("Reset This Profile|Are you sure you want to reset this profile ?|"
                                           "Reset the current profile back to factory setting."));
    EXPECT_EQ(config().ReportRate, 500);
    EXPECT_TRUE(find<RadioButton>("RD500HZ")->isChecked());
    EXPECT_TRUE(state.SettingsChanged);
    EXPECT_EQ(logSize(), before) << "nothing reaches the mouse";
}

TEST_F(ProfileControlsTest, APresetLoadsIntoTheCurrentProfile)
{
    auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
    applyProfileDefaults(*profile);
    profile->ConfigInfo.ReportRate = 125;
    ASSERT_TRUE(test::writeFile(env.path("program/PresetProfile2.pfd"), recordToBytes(*profile)));
    controls->PresetItemClick(ProfileControls::RealTimeStrategy);
    EXPECT_EQ(config().ReportRate, 125);
    EXPECT_EQ(dm->FProfileGroup(0)->FileName(), QStringLiteral("Profile1.pfd"));

    controls->PresetItemClick(ProfileControls::RolePlaying); // not installed
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("The preset profile is missing.")));
    EXPECT_EQ(config().ReportRate, 125);
}

TEST_F(ProfileControlsTest, ReadFromMouseFillsThePagesAndStoresNothingUntilApplied)
{
    // The mouse's Mode 1 bank gets 1000 Hz; the working copy then says 250.
    config().ReportRate = 1000;
    ASSERT_TRUE(ApplySettings(*dm, *device, state, host));
    config().ReportRate = 250;
    const auto onDisk = [&] {
        const TuiProfile& store = *dm->FProfileGroup(dm->FProfileIndex());
        return test::readFile(store.FilePath() + store.FileName());
    };
    const QByteArray stored = onDisk();
    ASSERT_FALSE(stored.isEmpty());
    state.SettingsChanged = false;

    controls->PresetItemClick(ProfileControls::ReadFromMouse);
    EXPECT_TRUE(questions.isEmpty()) << questions.join('\n').toStdString();
    EXPECT_EQ(config().ReportRate, 1000);
    EXPECT_TRUE(find<RadioButton>("RD1000HZ")->isChecked()) << "the pages show what the mouse holds";
    EXPECT_TRUE(state.SettingsChanged);
    EXPECT_EQ(onDisk(), stored) << "nothing stored before OK or Apply";

    // A read that fails says so and changes nothing.
    config().ReportRate = 250;
    EmulatorFaults gone;
    gone.unplugAfter = 0;
    emulator->mouse().setFaults(gone);
    controls->PresetItemClick(ProfileControls::ReadFromMouse);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.first().contains("The settings could not be read from the mouse.")) << questions.first().toStdString();
    EXPECT_EQ(config().ReportRate, 250);
    EXPECT_EQ(onDisk(), stored);
}
