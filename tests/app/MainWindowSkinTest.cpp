// The main window's skin: which image each control of the pages wears.

#include "MainWindowFixture.h"

#include "ui/controls/SkinButton.h"
#include "ui/controls/TrackBar.h"
#include "ui/skin/ImageDataBase.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <mutex>
#include <thread>

namespace k4812::test {
namespace {

class MainWindowSkinTest : public MainWindowFixture {
protected:
    MainWindowSkinTest() { imageDataBase().SetImageBasePath(QStringLiteral(K4812_BIN_DIR "/Images/0409/")); }

    static SkinImage skinImage(const char* name, const char* group)
    {
        return imageDataBase().image(QLatin1String(name), QLatin1String(group));
    }
};

TEST_F(MainWindowSkinTest, ThePagesButtonsWearTheButtonSetFaces)
{
    open();
    ASSERT_TRUE(started);
    const SkinImage normal = skinImage("ButtonAssign-1.png", "buttons");
    const SkinImage hot = skinImage("ButtonAssign-2.png", "buttons");
    const SkinImage pressed = skinImage("ButtonAssign-3.png", "buttons");
    ASSERT_FALSE(normal.isNull()) << "the generated skin is found";
    for (const char* name : {"BSBTNSENSDEFAULTS", "BSBTNADVDEFAULTS", "BSBTNLIGHTPREVIEW", "BSBTNRESTORELIGHT"}) {
        auto* button = control<SkinButton>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->face(ButtonFace::Normal) == normal) << name;
        EXPECT_TRUE(button->face(ButtonFace::Hot) == hot) << name;
        EXPECT_TRUE(button->face(ButtonFace::Pressed) == pressed) << name;
        EXPECT_FALSE(button->text().isEmpty()) << name << ": the caption stays on the face";
    }
}

TEST_F(MainWindowSkinTest, TrackBarsLieOnTheirBackgrounds)
{
    open();
    ASSERT_TRUE(started);
    const struct {
        const char* track;
        const char* image;
    } cases[] = {
        {"TrackBarCPIX", "DPISetting-back.png"},
        {"TrackBarCPIY", "DPISetting-back.png"},
        {"TrackBarLIGHTSPEED", "DPISetting-back.png"},
        {"TrackBarDoubleClickSpeed", "Trackbar-back.png"},
        {"TrackBarPointerSpeed", "Trackbar-back.png"},
        {"TRACKBARSCROLLSPEED", "Trackbar-back.png"},
    };
    for (const auto& c : cases) {
        auto* track = control<TrackBar>(c.track);
        ASSERT_NE(track, nullptr);
        const SkinImage expected = skinImage(c.image, "controls");
        ASSERT_FALSE(expected.isNull()) << c.image;
        EXPECT_TRUE(track->background() == expected) << c.track;
    }
}

// The dialogs' images are read ahead once the window has painted, on the
// image store's own thread, not before its first frame.
TEST_F(MainWindowSkinTest, ReadsTheDialogsImagesAheadAfterItsFirstPaint)
{
    const std::thread::id windowThread = std::this_thread::get_id();
    std::mutex lock;
    QStringList readElsewhere;
    imageDataBase().setLoader([&](const QString& path) {
        if (std::this_thread::get_id() != windowThread) {
            const std::lock_guard<std::mutex> guard(lock);
            readElsewhere.append(QFileInfo(path).fileName());
        }
        return TImageDataBase::readFile(path);
    });
    open();
    ASSERT_TRUE(started);
    QCoreApplication::processEvents();
    {
        const std::lock_guard<std::mutex> guard(lock);
        EXPECT_FALSE(readElsewhere.contains(QStringLiteral("macrodialog.png"))) << "not before the first paint";
    }
    window->grab();
    QCoreApplication::processEvents();
    imageDataBase().clearCache(); // waits for the reading thread
    imageDataBase().setLoader(&TImageDataBase::readFile);
    EXPECT_TRUE(readElsewhere.contains(QStringLiteral("macrodialog.png"))) << readElsewhere.join(' ').toStdString();
    EXPECT_TRUE(readElsewhere.contains(QStringLiteral("messagedialog.png")));
}

} // namespace
} // namespace k4812::test
