#include "ui/controls/NumberBox.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

class NumberBoxTest : public testing::Test {
protected:
    void SetUp() override
    {
        box.setRange(100, 3500);
        box.setStep(100);
        box.setValue(800);
        box.show();
        box.setFocus();
    }

    QString shown() const { return box.findChild<QLineEdit*>()->text(); }

    NumberBox box;
    QSignalSpy changes{&box, &NumberBox::valueChanged};
};

TEST_F(NumberBoxTest, ProgramChangesAreNeverReported)
{
    box.setValue(1600);
    box.setValue(50);     // clamped
    box.setRange(100, 900); // clamps 100 -> stays; then a narrower range
    box.setValue(3000);
    EXPECT_EQ(box.value(), 900);
    EXPECT_EQ(shown(), QStringLiteral("900"));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(NumberBoxTest, KeysStepWithinTheRangeAndAreReported)
{
    struct Case {
        Qt::Key key;
        int from;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_Up, 800, 900},      {Qt::Key_Down, 800, 700},    {Qt::Key_PageUp, 800, 1800},
        {Qt::Key_PageDown, 800, 100}, {Qt::Key_Up, 3500, 3500},   {Qt::Key_Down, 100, 100},
        {Qt::Key_PageUp, 3000, 3500},
    };
    for (const Case& c : cases) {
        box.setValue(c.from);
        changes.clear();
        QTest::keyClick(&box, c.key);
        EXPECT_EQ(box.value(), c.expected) << "key " << c.key << " from " << c.from;
        EXPECT_EQ(changes.count(), c.expected != c.from ? 1 : 0) << "key " << c.key << " from " << c.from;
    }
}

TEST_F(NumberBoxTest, TypedValueIsCommittedOnceWithEnterAndClamped)
{
    QLineEdit* edit = box.findChild<QLineEdit*>();
    edit->selectAll();
    QTest::keyClicks(&box, QStringLiteral("1250"));
    EXPECT_EQ(changes.count(), 0) << "no value until the typing is committed";
    QTest::keyClick(&box, Qt::Key_Return);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 1250);

    edit->selectAll();
    QTest::keyClicks(&box, QStringLiteral("99"));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.value(), 100);
    EXPECT_EQ(shown(), QStringLiteral("100"));
    EXPECT_EQ(changes.count(), 2);

    edit->selectAll();
    QTest::keyClicks(&box, QStringLiteral("abc")); // refused by the validator
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.value(), 100);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(NumberBoxTest, WheelDeltasAddUpToANotch)
{
    auto wheel = [this](int delta) {
        QWheelEvent event(QPointF(5, 5), box.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&box, &event);
    };
    wheel(40);
    wheel(40);
    EXPECT_EQ(box.value(), 800);
    wheel(40);
    EXPECT_EQ(box.value(), 900);
    wheel(-240);
    EXPECT_EQ(box.value(), 700);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(NumberBoxTest, PressReportsAClick)
{
    QSignalSpy clicks(&box, &NumberBox::clicked);
    QTest::mouseClick(&box, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(changes.count(), 0);
}

} // namespace
} // namespace k4812
