#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinLabel.h"
#include "ui/skin/Theme.h"
#include "ui/windows/SkinDialog.h"
#include "ui/windows/SkinWindow.h"

#include "UiTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

class SkinWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        window.setBackground(test::solidSkin({300, 200}, Qt::darkGray, Qt::gray));
        close = new SkinButton(&window);
        close->setGeometry(250, 10, 35, 35);
        title = new SkinLabel(&window);
        title->setText(QStringLiteral("K4812_CONFIG"));
        title->setGeometry(10, 10, 120, 20);
        window.move(100, 100);
        window.show();
    }

    // A mouse event at `windowPoint` of the window where it stood when the
    // gesture began (the pointer does not move with the window). It goes to
    // the widget under the point, as Qt delivers it; a label passes a press
    // on to the window, a button keeps it.
    void send(QEvent::Type type, QPoint windowPoint, Qt::MouseButtons held)
    {
        const QPoint global = m_origin + windowPoint;
        const QPoint inWindow = window.mapFromGlobal(global);
        QWidget* target = m_grabber;
        if (!target) {
            target = window.childAt(inWindow);
            if (!target)
                target = &window;
        }
        if (type == QEvent::MouseButtonPress)
            m_grabber = target;
        if (type == QEvent::MouseButtonRelease)
            m_grabber = nullptr;
        QMouseEvent event(type, target->mapFromGlobal(global), global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    void drag(QPoint from, QPoint by)
    {
        m_origin = window.mapToGlobal(QPoint(0, 0));
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from + by / 2, Qt::LeftButton);
        send(QEvent::MouseMove, from + by, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, from + by, Qt::NoButton);
    }

    QPoint m_origin;
    QWidget* m_grabber = nullptr;

    SkinWindow window{nullptr, 80};
    SkinButton* close = nullptr;
    SkinLabel* title = nullptr;
};

TEST_F(SkinWindowTest, BackgroundSetsTheSizeAndFollowsThePixelRatio)
{
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(test::pixelAt(test::renderAt(window, 1.0), {150, 150}), QColor(Qt::darkGray));
    const QImage at2 = test::renderAt(window, 2.0);
    EXPECT_EQ(at2.size(), QSize(600, 400));
    EXPECT_EQ(test::pixelAt(at2, {150, 150}), QColor(Qt::gray));
}

// A skin's rounded corner is transparent: an opaque window shows the theme's
// colour there (not the palette's light one), a translucent one lets it through.
TEST(SkinWindowCorners, AreTheThemesColourUnlessTheWindowIsTranslucent)
{
    QImage skin = test::solidImage({60, 40}, Qt::darkGray);
    skin.setPixelColor(0, 0, Qt::transparent);
    for (const bool translucent : {false, true}) {
        SkinWindow window(nullptr, 20);
        window.setAttribute(Qt::WA_TranslucentBackground, translucent);
        window.setBackground(SkinImage(skin));
        const QImage shown = test::renderAt(window, 1.0);
        EXPECT_EQ(test::pixelAt(shown, {0, 0}), translucent ? QColor(Qt::transparent) : theme::windowBack())
            << "translucent " << translucent;
        EXPECT_EQ(test::pixelAt(shown, {30, 20}), QColor(Qt::darkGray));
    }
}

TEST_F(SkinWindowTest, DraggingTheTopBarMovesTheWindowWhenTheSystemWillNot)
{
    // The offscreen platform refuses a system move: the window follows by itself.
    const QPoint start = window.pos();
    drag({150, 40}, {30, 20});
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
    drag({20, 15}, {-10, 5}); // on the title label
    EXPECT_EQ(window.pos(), start + QPoint(20, 25));
    EXPECT_EQ(window.dragger().state(), TopBarDragger::Drag::None);
}

TEST_F(SkinWindowTest, SystemMoveIsTriedFirst)
{
    int asked = 0;
    window.dragger().setSystemMove([&asked](QWindow*) { return ++asked > 0; });
    const QPoint start = window.pos();
    m_origin = window.mapToGlobal(QPoint(0, 0));
    send(QEvent::MouseButtonPress, {150, 40}, Qt::LeftButton);
    send(QEvent::MouseMove, {170, 60}, Qt::LeftButton);
    send(QEvent::MouseMove, {180, 70}, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window.dragger().state(), TopBarDragger::Drag::System);
    EXPECT_EQ(window.pos(), start) << "the window system moves it";
    // The compositor may swallow the release: the next press starts afresh.
    send(QEvent::MouseButtonPress, {150, 150}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {150, 150}, Qt::NoButton);
    EXPECT_EQ(window.dragger().state(), TopBarDragger::Drag::None);
}

TEST_F(SkinWindowTest, NoDragOnAControlOrBelowTheTopBar)
{
    QSignalSpy clicked(close, &QAbstractButton::clicked);
    const QPoint start = window.pos();
    drag({260, 20}, {30, 30});
    EXPECT_EQ(clicked.count(), 0) << "released away from the button";
    EXPECT_EQ(window.pos(), start);
    drag({150, 120}, {30, 30});
    EXPECT_EQ(window.pos(), start);
    EXPECT_FALSE(window.dragger().canStartDragAt({260, 20}));
    EXPECT_TRUE(window.dragger().canStartDragAt({20, 15}));
    EXPECT_FALSE(window.dragger().canStartDragAt({20, 80}));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(SkinDialogTest, EscapeAndCloseGiveTheCancelResult)
{
    SkinDialog dialog;
    dialog.setBackground(test::solidSkin({458, 246}, Qt::black));
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), SkinDialog::kResultCancel);
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });
    EXPECT_EQ(dialog.exec(), SkinDialog::kResultCancel);
    EXPECT_EQ(dialog.size(), QSize(458, 246));
}

TEST(SkinDialogTest, IsCentredOnItsOwner)
{
    SkinWindow owner(nullptr, 80);
    owner.setBackground(test::solidSkin({850, 655}, Qt::black));
    owner.move(50, 40);
    owner.show();
    SkinDialog dialog(&owner);
    dialog.setBackground(test::solidSkin({458, 246}, Qt::black));
    dialog.centreOn(&owner);
    EXPECT_EQ(dialog.pos(), owner.mapToGlobal(QPoint((850 - 458) / 2, (655 - 246) / 2)));
}

} // namespace
} // namespace k4812
