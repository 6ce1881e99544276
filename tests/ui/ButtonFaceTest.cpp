#include "ui/controls/ButtonFace.h"
#include "ui/controls/SkinButton.h"

#include "UiTestSupport.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

struct FaceCase {
    ButtonFaceState state;
    ButtonFace face;
};

TEST(ButtonFaceTest, FaceFollowsTheState)
{
    const FaceCase cases[] = {
        {{true, false, false, false, false}, ButtonFace::Normal},
        {{true, false, false, true, false}, ButtonFace::Hot},
        {{true, false, false, false, true}, ButtonFace::Hot},     // keyboard focus is visible
        {{true, true, false, true, false}, ButtonFace::Pressed},
        {{true, false, true, false, false}, ButtonFace::Pressed}, // staying pressed
        {{true, false, true, true, true}, ButtonFace::Pressed},
        {{false, false, true, true, true}, ButtonFace::Disabled},
        {{false, true, false, false, false}, ButtonFace::Disabled},
    };
    for (const FaceCase& c : cases) {
        EXPECT_EQ(selectFace(c.state), c.face)
            << "enabled " << c.state.enabled << " down " << c.state.down << " checked " << c.state.checked
            << " hovered " << c.state.hovered << " focused " << c.state.focused;
    }
}

TEST(ButtonFaceTest, MissingFacesFallBack)
{
    const unsigned normalOnly = faceBit(ButtonFace::Normal);
    const unsigned noPressed = normalOnly | faceBit(ButtonFace::Hot);
    const unsigned all = noPressed | faceBit(ButtonFace::Pressed) | faceBit(ButtonFace::Disabled);
    EXPECT_EQ(availableFace(ButtonFace::Pressed, noPressed), ButtonFace::Hot);
    EXPECT_EQ(availableFace(ButtonFace::Pressed, normalOnly), ButtonFace::Normal);
    EXPECT_EQ(availableFace(ButtonFace::Disabled, noPressed), ButtonFace::Normal);
    EXPECT_EQ(availableFace(ButtonFace::Hot, 0), ButtonFace::Normal);
    for (ButtonFace face : {ButtonFace::Normal, ButtonFace::Hot, ButtonFace::Pressed, ButtonFace::Disabled})
        EXPECT_EQ(availableFace(face, all), face);
}

class SkinButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        button.setFaces(test::solidSkin({40, 20}, Qt::red, Qt::darkRed), test::solidSkin({40, 20}, Qt::green),
                        test::solidSkin({40, 20}, Qt::blue));
    }

    QColor shownColour(qreal ratio = 1.0) { return test::pixelAt(test::renderAt(button, ratio), {20, 10}); }

    SkinButton button;
};

TEST_F(SkinButtonTest, PaintsTheFaceOfItsState)
{
    EXPECT_EQ(button.size(), QSize(40, 20));
    EXPECT_EQ(shownColour(), QColor(Qt::red));
    button.setDown(true);
    EXPECT_EQ(button.currentFace(), ButtonFace::Pressed);
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    button.setDown(false);
    button.setEnabled(false); // no disabled face: the normal one, dimmed
    EXPECT_EQ(button.currentFace(), ButtonFace::Normal);
    const QColor dimmed = shownColour();
    EXPECT_LT(dimmed.alpha(), 255);
    EXPECT_GT(dimmed.red(), 0);
}

TEST_F(SkinButtonTest, RendersTheHighDensityFaceAtRatioTwo)
{
    const QImage at1 = test::renderAt(button, 1.0);
    const QImage at2 = test::renderAt(button, 2.0);
    EXPECT_EQ(at1.size(), QSize(40, 20));
    EXPECT_EQ(at2.size(), QSize(80, 40));
    EXPECT_EQ(test::pixelAt(at1, {20, 10}), QColor(Qt::red));
    EXPECT_EQ(test::pixelAt(at2, {20, 10}), QColor(Qt::darkRed));
    // A face without a 2x variant is scaled up rather than left out.
    button.setDown(true);
    EXPECT_EQ(shownColour(2.0), QColor(Qt::blue));
}

TEST_F(SkinButtonTest, StaysPressedUntilClickedAgain)
{
    button.setStaysPressed(true);
    QSignalSpy toggled(&button, &QAbstractButton::toggled);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_TRUE(button.isChecked());
    EXPECT_EQ(shownColour(), QColor(Qt::blue));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_FALSE(button.isChecked());
    EXPECT_EQ(toggled.count(), 2);
}

TEST_F(SkinButtonTest, SpaceEnterAndReturnPressIt)
{
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&button, key);
    }
    QTest::keyClick(&button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicked.count(), 4);
    button.setEnabled(false);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 4);
}

TEST_F(SkinButtonTest, TransparentPixelsMissWithAlphaHitTest)
{
    QImage face = test::solidImage({40, 20}, Qt::transparent);
    for (int x = 10; x < 30; ++x)
        for (int y = 0; y < 20; ++y)
            face.setPixelColor(x, y, Qt::red);
    button.setFaces(SkinImage(face), {}, {});
    button.setAlphaHitTest(true);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(2, 10));
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(SkinButtonFallbackTest, WithoutFacesItStillPaintsItsCaption)
{
    SkinButton button;
    button.setText(QStringLiteral("Apply"));
    button.resize(button.sizeHint());
    const QImage image = test::renderAt(button, 1.0);
    int lit = 0;
    for (int x = 0; x < image.width(); ++x)
        lit += image.pixelColor(x, image.height() / 2).lightness() > 150 ? 1 : 0;
    EXPECT_GT(lit, 0) << "the caption is drawn";
}

} // namespace
} // namespace k4812
