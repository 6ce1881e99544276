// After Apply the window names the pointer settings the desktop did not
// take, once, when the apply sequence has ended; settings the desktop has no
// place for are not attempted and not named.

#include "i18n/Translation.h"
#include "platform/desktop/PointerSettings.h"
#include "platform/desktop/TuiThread.h"

#include "MainWindowFixture.h"

#include <QCoreApplication>
#include <QTest>

#include <future>
#include <set>

using namespace k4812;
using namespace k4812::test;

namespace {

// A desktop that refuses some settings (with a reason) and lacks others.
class FakeDesktop final : public PointerSettings {
public:
    std::set<PointerSetting> refused;
    std::set<PointerSetting> lacking;
    // When set, every setting waits for it: the test decides when the worker ends.
    std::shared_future<void> hold;

    QString name() const override { return QStringLiteral("fake"); }
    PointerSettingSupport support(PointerSetting setting) const override
    {
        return lacking.count(setting) != 0 ? PointerSettingSupport::no(QStringLiteral("This desktop lacks it."))
                                           : PointerSettingSupport::yes();
    }

protected:
    PointerSettingResult applyMouseAcceleration(const MouseAcceleration&) override
    {
        return outcome(PointerSetting::Acceleration);
    }
    PointerSettingResult applyMouseSpeed(int) override { return outcome(PointerSetting::PointerSpeed); }
    PointerSettingResult applyWheelScrollLines(int) override { return outcome(PointerSetting::WheelScrollLines); }
    PointerSettingResult applyDoubleClickTime(int) override { return outcome(PointerSetting::DoubleClickTime); }

private:
    PointerSettingResult outcome(PointerSetting setting)
    {
        if (hold.valid())
            hold.wait();
        if (refused.count(setting) == 0)
            return PointerSettingResult::Applied;
        return failed(setting, QStringLiteral("the %1 did not stick").arg(pointerSettingName(setting)));
    }
};

class MainWindowPointerNoticeTest : public MainWindowFixture {
protected:
    TK4812CfgMain& openOn(std::shared_ptr<FakeDesktop> fake)
    {
        desktop = std::move(fake);
        TK4812CfgMain::Services s = services();
        s.pointerSettings = [this] { return desktop; };
        window = std::make_unique<TK4812CfgMain>(*dm, *hid, std::move(s));
        started = window->FormCreate();
        if (started)
            window->show();
        return *window;
    }

    // Lets the apply's worker end and its result reach the window.
    static void letTheWorkerEnd()
    {
        TuiThread::waitForAll();
        QCoreApplication::processEvents();
    }

    std::shared_ptr<FakeDesktop> desktop;
};

const QString kNotice = QStringLiteral("Warning|The desktop did not take these pointer settings: ");

} // namespace

TEST_F(MainWindowPointerNoticeTest, NamesWhatTheDesktopDidNotTakeAfterApply)
{
    struct Case {
        const char* what;
        std::set<PointerSetting> refused;
        std::set<PointerSetting> lacking;
        QString dialog; // empty: no dialog
    };
    const Case cases[] = {
        {"the speed refused",
         {PointerSetting::PointerSpeed},
         {},
         kNotice + "pointer speed.|pointer speed: the pointer speed did not stick"},
        {"everything taken", {}, {}, QString()},
        {"acceleration and speed refused, the speed lacking",
         {PointerSetting::Acceleration, PointerSetting::PointerSpeed},
         {PointerSetting::PointerSpeed},
         kNotice + "acceleration.|acceleration: the acceleration did not stick"},
        {"acceleration and wheel refused",
         {PointerSetting::Acceleration, PointerSetting::WheelScrollLines},
         {},
         kNotice + "acceleration, wheel scroll lines.|acceleration: the acceleration did not stick\n"
                   "wheel scroll lines: the wheel scroll lines did not stick"},
    };
    for (const Case& c : cases) {
        auto fake = std::make_shared<FakeDesktop>();
        fake->refused = c.refused;
        fake->lacking = c.lacking;
        openOn(fake);
        ASSERT_TRUE(started) << c.what;
        dialogs.clear();
        if (!c.dialog.isEmpty())
            answers.push_back(1);
        QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
        letTheWorkerEnd();
        EXPECT_EQ(dialogs.join('\n').toStdString(), c.dialog.toStdString()) << c.what;
        letTheWorkerEnd();
        EXPECT_EQ(dialogs.size(), c.dialog.isEmpty() ? 0 : 1) << c.what << ": shown once";
        window.reset();
    }
}

// A worker that ends while the sequence still talks to the mouse waits for
// its end: no dialog comes between the mouse's commands.
TEST_F(MainWindowPointerNoticeTest, WaitsForTheSequenceToEnd)
{
    auto fake = std::make_shared<FakeDesktop>();
    fake->refused = {PointerSetting::PointerSpeed};
    openOn(fake);
    ASSERT_TRUE(started);
    dialogs.clear();
    QStringList duringSequence;
    duringWait = [&] {
        letTheWorkerEnd();
        duringSequence += dialogs;
    };
    answers.push_back(1);
    const std::size_t before = reportsSent();
    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
    EXPECT_GT(reportsSent(), before) << "the sequence ran";
    EXPECT_TRUE(duringSequence.isEmpty()) << duringSequence.join('\n').toStdString();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_TRUE(dialogs[0].startsWith(kNotice + "pointer speed.")) << dialogs[0].toStdString();
}

// With no mouse the apply's own warning comes first, as before, and the
// desktop's after it.
TEST_F(MainWindowPointerNoticeTest, ComesAfterTheApplysOwnWarning)
{
    auto fake = std::make_shared<FakeDesktop>();
    fake->refused = {PointerSetting::WheelScrollLines};
    openOn(fake);
    ASSERT_TRUE(started);
    setFaults("absent");
    dialogs.clear();
    answers = {1, 1};
    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
    letTheWorkerEnd();
    ASSERT_EQ(dialogs.size(), 2) << dialogs.join('\n').toStdString();
    EXPECT_TRUE(dialogs[0].contains(QLatin1String("Please connect your mouse"))) << dialogs[0].toStdString();
    EXPECT_TRUE(dialogs[1].startsWith(kNotice + "wheel scroll lines.")) << dialogs[1].toStdString();
}

// The worker may end after the window is gone: nothing is shown, nothing breaks.
TEST_F(MainWindowPointerNoticeTest, AWindowClosedMeanwhileIsLeftAlone)
{
    auto fake = std::make_shared<FakeDesktop>();
    fake->refused = {PointerSetting::PointerSpeed};
    std::promise<void> release;
    fake->hold = release.get_future().share();
    openOn(fake);
    ASSERT_TRUE(started);
    dialogs.clear();
    QTest::mouseClick(control("BSBTNAPPLY"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join('\n').toStdString();
    window.reset();
    release.set_value();
    letTheWorkerEnd();
    EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join('\n').toStdString();
}
