#include "i18n/Translation.h"
#include "ui/controls/BusyIndicator.h"
#include "ui/controls/Glow.h"
#include "ui/controls/ImageView.h"
#include "ui/controls/NumberBox.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TabControl.h"
#include "ui/controls/TextBox.h"
#include "ui/controls/TextSource.h"
#include "ui/controls/WheelAccumulator.h"

#include "UiTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

TEST(WheelAccumulatorTest, StepsOnlyForWholeNotches)
{
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.add(60), 0);
    EXPECT_EQ(wheel.add(60), 1);
    EXPECT_EQ(wheel.add(360), 3);
    EXPECT_EQ(wheel.add(100), 0);
    EXPECT_EQ(wheel.add(-100), 0) << "a turn back starts from nothing";
    EXPECT_EQ(wheel.add(-20), -1);
    EXPECT_EQ(wheel.add(std::numeric_limits<int>::max()), std::numeric_limits<int>::max() / 120);
}

TEST(GlowTest, SwitchesPerControl)
{
    NumberBox x1;
    NumberBox y1;
    setGlowColor(&x1, QColor(0xFF0056FF));
    setGlowEnabled(&x1, true);
    setGlowEnabled(&y1, false);
    EXPECT_TRUE(isGlowEnabled(&x1));
    EXPECT_FALSE(isGlowEnabled(&y1));
    EXPECT_EQ(glowColor(&x1), QColor(0xFF0056FF));
    setGlowEnabled(&x1, false);
    EXPECT_FALSE(isGlowEnabled(&x1));
    EXPECT_EQ(glowColor(&x1), QColor(0xFF0056FF)) << "the colour is kept for the next time";
}

TEST(BusyIndicatorTest, ShowsAndTurnsOnlyWhileRunning)
{
    QWidget window;
    auto* indicator = new BusyIndicator(&window);
    window.show();
    EXPECT_FALSE(indicator->isVisible());
    QSignalSpy running(indicator, &BusyIndicator::runningChanged);
    indicator->start();
    indicator->start();
    EXPECT_TRUE(indicator->isVisible());
    for (int i = 0; i < BusyIndicator::kFrames + 2; ++i)
        indicator->advanceFrame();
    EXPECT_EQ(indicator->frame(), 2);
    indicator->stop();
    EXPECT_FALSE(indicator->isVisible());
    EXPECT_EQ(running.count(), 2);
}

TEST(ImageViewTest, TurnsOnceAndBack)
{
    ImageView view;
    view.setImage(test::solidSkin({40, 40}, Qt::white));
    EXPECT_EQ(view.size(), QSize(40, 40));
    view.setTurnDuration(1000);
    QSignalSpy doubleClicks(&view, &ImageView::doubleClicked);
    QTest::mouseDClick(&view, Qt::LeftButton);
    EXPECT_EQ(doubleClicks.count(), 1);
    view.startRotation();
    EXPECT_TRUE(view.isRotating());
    const std::pair<int, qreal> times[] = {{0, 0.0}, {500, 180.0}, {1000, 360.0}, {1500, 180.0}, {2000, 0.0}};
    for (const auto& [ms, angle] : times) {
        view.rotation()->setCurrentTime(ms);
        EXPECT_NEAR(view.angle(), angle, 0.5) << ms << " ms";
    }
    EXPECT_FALSE(view.isRotating());
}

TEST(TextBoxTest, HandsOnKeysAndEditsOnlyWhenAllowed)
{
    TextBox box;
    QSignalSpy down(&box, &TextBox::keyDown);
    QSignalSpy up(&box, &TextBox::keyUp);
    QTest::keyClick(&box, Qt::Key_A);
    EXPECT_EQ(box.text(), QStringLiteral("a"));
    box.setKeysEditText(false);
    QTest::keyClick(&box, Qt::Key_F5);
    QTest::keyClick(&box, Qt::Key_B);
    EXPECT_EQ(box.text(), QStringLiteral("a"));
    ASSERT_EQ(down.count(), 3);
    EXPECT_EQ(down.at(1).at(0).toInt(), int(Qt::Key_F5));
    EXPECT_EQ(up.count(), 3);
}

// A language switch shows every remembered text in the new language,
// translated from its English source.
TEST(TextSourceTest, RetranslatesFromTheEnglishSource)
{
    QWidget window;
    auto* ok = new SkinButton(&window);
    auto* label = new SkinLabel(&window);
    auto* close = new SkinButton(&window);
    auto* tabs = new TabControl(&window);
    setSourceText(ok, QStringLiteral("Apply"));
    setSourceText(label, QStringLiteral("CPI Level:"));
    setSourceAccessibleName(close, QStringLiteral("Close"));
    tabs->addPage(new QWidget, QStringLiteral("Sensitivity"));

    setActiveTranslation(TranslationList({QStringLiteral("Apply=Anwenden"), QStringLiteral("Close=Schliessen"),
                                          QStringLiteral("Sensitivity=Empfindlichkeit")}));
    retranslateTexts(&window);
    EXPECT_EQ(ok->text(), QStringLiteral("Anwenden"));
    EXPECT_EQ(label->text(), QStringLiteral("CPI Level:")) << "no line: English";
    EXPECT_EQ(close->accessibleName(), QStringLiteral("Schliessen"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Empfindlichkeit"));

    setActiveTranslation(TranslationList({QStringLiteral("Apply=Appliquer")}));
    retranslateTexts(&window);
    EXPECT_EQ(ok->text(), QStringLiteral("Appliquer"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("Sensitivity"));
    clearActiveTranslation();
    retranslateTexts(&window);
    EXPECT_EQ(close->accessibleName(), QStringLiteral("Close"));
}

} // namespace
} // namespace k4812
