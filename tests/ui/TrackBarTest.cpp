#include "ui/controls/TrackBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

class TrackBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(220, 24);
        bar.setRange(100, 3500);
        bar.setStep(100);
        bar.setValue(800);
        changes.clear();
    }

    TrackBar bar;
    QSignalSpy changes{&bar, &QAbstractSlider::valueChanged};
};

TEST_F(TrackBarTest, ValuesAreRoundedToTheStepAndClamped)
{
    const std::pair<int, int> cases[] = {{849, 800},  {850, 900},  {1649, 1600}, {0, 100},
                                         {-500, 100}, {3549, 3500}, {99999, 3500}, {std::numeric_limits<int>::max(), 3500}};
    for (const auto& [set, expected] : cases) {
        bar.setValue(set);
        EXPECT_EQ(bar.value(), expected) << "set " << set;
    }
}

TEST_F(TrackBarTest, ProgramChangesAreReportedOncePerRealChange)
{
    bar.setValue(1600);
    bar.setValue(1620); // rounds to the same value: no change
    bar.setValue(1700);
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 1600);
    EXPECT_EQ(changes.at(1).at(0).toInt(), 1700);
}

TEST_F(TrackBarTest, KeysMoveByStepPageAndToTheEnds)
{
    struct Case {
        Qt::Key key;
        int from;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_Right, 800, 900}, {Qt::Key_Up, 800, 900},         {Qt::Key_Left, 800, 700},
        {Qt::Key_Down, 800, 700},  {Qt::Key_PageUp, 800, 1100},    {Qt::Key_PageDown, 800, 500},
        {Qt::Key_Home, 800, 100},  {Qt::Key_End, 800, 3500},       {Qt::Key_Right, 3500, 3500},
        {Qt::Key_Left, 100, 100},  {Qt::Key_PageDown, 200, 100},
    };
    for (const Case& c : cases) {
        bar.setValue(c.from);
        QTest::keyClick(&bar, c.key);
        EXPECT_EQ(bar.value(), c.expected) << "key " << c.key << " from " << c.from;
    }
}

TEST_F(TrackBarTest, WheelDeltasAddUpToANotch)
{
    auto wheel = [this](int delta) {
        QWheelEvent event(QPointF(5, 5), bar.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&bar, &event);
    };
    for (int i = 0; i < 5; ++i)
        wheel(20);
    EXPECT_EQ(bar.value(), 800);
    wheel(20);
    EXPECT_EQ(bar.value(), 900);
    wheel(-60); // a turn back drops what was left over
    wheel(-60);
    EXPECT_EQ(bar.value(), 800);
}

TEST_F(TrackBarTest, MouseSetsTheValueUnderThePointer)
{
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.positionOf(2000) + 1, 12));
    EXPECT_EQ(bar.value(), 2000);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(0, 12));
    EXPECT_EQ(bar.value(), 100);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(bar.width() - 1, 12));
    EXPECT_EQ(bar.value(), 3500);
}

TEST_F(TrackBarTest, AssistiveTechnologySetsRoundedValues)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&bar);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Slider);
    QAccessibleValueInterface* value = iface->valueInterface();
    ASSERT_NE(value, nullptr);
    value->setCurrentValue(1234);
    EXPECT_EQ(bar.value(), 1200);
    EXPECT_EQ(value->currentValue().toInt(), 1200);
    EXPECT_EQ(value->minimumStepSize().toInt(), 100);
}

TEST(TrackBarRangeTest, ANewRangeOrStepMovesTheValueOntoIt)
{
    TrackBar bar;
    bar.setRange(1, 10);
    bar.setValue(7);
    QSignalSpy changes(&bar, &QAbstractSlider::valueChanged);
    bar.setStep(3); // 7 -> 6
    EXPECT_EQ(bar.value(), 6);
    bar.setRange(1, 5);
    EXPECT_EQ(bar.value(), 5);
    EXPECT_EQ(changes.count(), 2);
}

} // namespace
} // namespace k4812
