#include "ui/controls/CheckBox.h"
#include "ui/controls/RadioButton.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

TEST(CheckBoxTest, ReportsEveryChangeOfTheTickTheProgramsToo)
{
    CheckBox box;
    QSignalSpy toggled(&box, &QAbstractButton::toggled);
    box.setChecked(true);
    box.setChecked(true); // no change
    QTest::mouseClick(&box, Qt::LeftButton);
    QTest::keyClick(&box, Qt::Key_Space);
    ASSERT_EQ(toggled.count(), 3);
    EXPECT_TRUE(toggled.at(0).at(0).toBool());
    EXPECT_FALSE(toggled.at(1).at(0).toBool());
    EXPECT_TRUE(box.isChecked());
}

// Two named groups side by side under one parent, as on the Advanced page.
class RadioGroupTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 4; ++i) {
            rate[i] = new RadioButton(&page);
            rate[i]->setGroupName(QStringLiteral("REPORTRATERADIO"));
            rate[i]->setText(QStringLiteral("Rate %1").arg(i));
            rate[i]->setGeometry(0, i * 20, 100, 18);
        }
        for (int i = 0; i < 2; ++i) {
            light[i] = new RadioButton(&page);
            light[i]->setGroupName(QStringLiteral("LIGHTSGROUPRADIO"));
            light[i]->setGeometry(120, i * 20, 100, 18);
        }
        rate[0]->setChecked(true);
        light[0]->setChecked(true);
        page.show();
    }

    int checkedRate() const
    {
        int found = -1;
        for (int i = 0; i < 4; ++i) {
            if (rate[i]->isChecked()) {
                EXPECT_EQ(found, -1) << "two radios of one group ticked";
                found = i;
            }
        }
        return found;
    }

    QWidget page;
    RadioButton* rate[4] = {};
    RadioButton* light[2] = {};
};

TEST_F(RadioGroupTest, TickingOneReleasesTheOthersOfItsGroupOnly)
{
    QSignalSpy oldOne(rate[0], &QAbstractButton::toggled);
    QSignalSpy newOne(rate[2], &QAbstractButton::toggled);
    rate[2]->setChecked(true); // the program's change is reported on both
    EXPECT_EQ(checkedRate(), 2);
    EXPECT_EQ(oldOne.count(), 1);
    EXPECT_EQ(newOne.count(), 1);
    EXPECT_TRUE(light[0]->isChecked()) << "another group is left alone";

    QTest::mouseClick(rate[1], Qt::LeftButton);
    EXPECT_EQ(checkedRate(), 1);
    QTest::mouseClick(rate[1], Qt::LeftButton); // a click on the ticked one keeps it
    EXPECT_EQ(checkedRate(), 1);
    EXPECT_TRUE(light[0]->isChecked());
}

TEST_F(RadioGroupTest, ArrowsMoveTheTickThroughTheGroup)
{
    rate[0]->setFocus();
    QTest::keyClick(rate[0], Qt::Key_Down);
    EXPECT_EQ(checkedRate(), 1);
    QTest::keyClick(rate[1], Qt::Key_Right);
    EXPECT_EQ(checkedRate(), 2);
    rate[3]->setEnabled(false);
    QTest::keyClick(rate[2], Qt::Key_Down); // skips the disabled one, wraps around
    EXPECT_EQ(checkedRate(), 0);
    QTest::keyClick(rate[0], Qt::Key_Up);
    EXPECT_EQ(checkedRate(), 2);
    EXPECT_TRUE(light[0]->isChecked());
}

TEST_F(RadioGroupTest, ProgramCanReleaseTheWholeGroup)
{
    rate[0]->setChecked(false);
    EXPECT_EQ(checkedRate(), -1);
}

} // namespace
} // namespace k4812
