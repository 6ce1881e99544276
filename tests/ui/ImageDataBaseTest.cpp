#include "ui/skin/ImageDataBase.h"
#include "ui/skin/UiStyleSheet.h"

#include "TestEnvironment.h"
#include "UiTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

#include <mutex>
#include <stdexcept>
#include <thread>

namespace k4812 {
namespace {

// A skin folder with "close-1.png" in two groups (red in buttons, blue in
// dialog), a 2x variant of one image and a file that is no image.
class ImageDataBaseTest : public testing::Test {
protected:
    void SetUp() override
    {
        write("buttons/close-1.png", {35, 35}, Qt::red);
        write("dialog/close-1.png", {35, 35}, Qt::blue);
        write("dialog/messagedialog.png", {458, 246}, Qt::darkGray);
        write("dialog/messagedialog@2x.png", {916, 492}, Qt::gray);
        write("controls/wrong@2x.png", {10, 10}, Qt::gray);
        write("controls/wrong.png", {10, 10}, Qt::green);
        test::writeFile(env.path("skin/controls/broken.png"), "not an image");
        store.setLoadHighDensity(true);
        store.setLoader([this](const QString& path) {
            reads.append(path);
            return defaultLoader(path);
        });
    }

    void write(const QString& relative, QSize size, QColor colour)
    {
        const QString path = env.path("skin/" + relative);
        QDir().mkpath(QFileInfo(path).path());
        ASSERT_TRUE(test::solidImage(size, colour).save(path));
    }

    static QImage defaultLoader(const QString& path)
    {
        QImage image(path);
        return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    int readsOf(const QString& name) const
    {
        return int(std::count_if(reads.begin(), reads.end(), [&](const QString& p) { return p.endsWith(name); }));
    }

    test::TestEnvironment env;
    TImageDataBase store{env.path("skin")};
    QStringList reads;
};

TEST_F(ImageDataBaseTest, BasePathEndsWithASlash)
{
    EXPECT_EQ(store.ImageBasePath(), env.path("skin/"));
    store.SetImageBasePath(env.path("skin/"));
    EXPECT_EQ(store.ImageBasePath(), env.path("skin/"));
}

TEST_F(ImageDataBaseTest, EmptyClearsTheTarget)
{
    SkinImage target = test::solidSkin({5, 5}, Qt::white);
    store.AssignIMAGE(target, QStringLiteral("EMPTY"), QStringLiteral("dialog"));
    EXPECT_TRUE(target.isNull());
    EXPECT_EQ(target.size(), QSize(0, 0));
    QPixmap pixmap(5, 5);
    store.AssignIMAGE(pixmap, QStringLiteral("EMPTY"));
    EXPECT_TRUE(pixmap.isNull());
    EXPECT_TRUE(reads.isEmpty());
}

TEST_F(ImageDataBaseTest, SameNameIsReadOnce)
{
    SkinImage first;
    SkinImage second;
    store.AssignIMAGE(first, QStringLiteral("messagedialog.png"), QStringLiteral("dialog"));
    store.AssignIMAGE(second, QStringLiteral("messagedialog.png"), QStringLiteral("dialog"));
    EXPECT_EQ(readsOf("messagedialog.png"), 1);
    EXPECT_EQ(readsOf("messagedialog@2x.png"), 1);
    EXPECT_EQ(first.size(), QSize(458, 246));
    EXPECT_TRUE(first == second);
    ASSERT_EQ(store.cache().size(), 1);
    EXPECT_EQ(store.cache()[0].ImageName, QStringLiteral("messagedialog.png"));
    EXPECT_EQ(store.cache()[0].ImagePath, env.path("skin/dialog/messagedialog.png"));
}

TEST_F(ImageDataBaseTest, TheFirstFolderLoadedUnderANameServesEveryLaterRequest)
{
    SkinImage fromButtons;
    SkinImage fromDialog;
    store.AssignIMAGE(fromButtons, QStringLiteral("close-1.png"), QStringLiteral("buttons"));
    store.AssignIMAGE(fromDialog, QStringLiteral("close-1.png"), QStringLiteral("dialog"));
    EXPECT_EQ(fromDialog.normal().pixelColor(1, 1), QColor(Qt::red));
    // The name is compared exactly: another case is another image.
    SkinImage otherCase;
    store.AssignIMAGE(otherCase, QStringLiteral("Close-1.png"), QStringLiteral("dialog"));
    EXPECT_TRUE(otherCase.isNull());
}

TEST_F(ImageDataBaseTest, MissingOrBrokenFileChangesNothingAndIsTriedAgain)
{
    for (const char* name : {"missing.png", "broken.png"}) {
        SkinImage target = test::solidSkin({5, 5}, Qt::white);
        store.AssignIMAGE(target, QString::fromLatin1(name), QStringLiteral("controls"));
        EXPECT_EQ(target.size(), QSize(5, 5)) << name;
        store.AssignIMAGE(target, QString::fromLatin1(name), QStringLiteral("controls"));
        EXPECT_EQ(readsOf(name), 2) << name << ": not remembered as loaded";
    }
    EXPECT_TRUE(store.cache().isEmpty());
    // Written later, the file is found.
    write("controls/missing.png", {7, 7}, Qt::yellow);
    EXPECT_EQ(store.image(QStringLiteral("missing.png"), QStringLiteral("controls")).size(), QSize(7, 7));
}

// A prefetched file is read once, on its own thread, and serves the request
// that follows; what a later request finds is what a plain load finds.
TEST_F(ImageDataBaseTest, PrefetchedFileIsReadOnceAndServesTheRequest)
{
    store.prefetch(QStringLiteral("close-1.png"), QStringLiteral("dialog"));
    store.prefetch(QStringLiteral("close-1.png"), QStringLiteral("dialog"));
    const SkinImage close = store.image(QStringLiteral("close-1.png"), QStringLiteral("dialog"));
    EXPECT_EQ(close.normal().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(readsOf("dialog/close-1.png"), 1);

    // A cached name is not read again; "EMPTY" is never read.
    const qsizetype readsSoFar = reads.size();
    store.prefetch(QStringLiteral("close-1.png"), QStringLiteral("buttons"));
    store.prefetch(QLatin1String(TImageDataBase::kEmptyImageName));
    EXPECT_EQ(reads.size(), readsSoFar);

    // A missing file prefetched changes nothing and is tried again later.
    store.prefetch(QStringLiteral("missing.png"), QStringLiteral("controls"));
    SkinImage target = test::solidSkin({5, 5}, Qt::white);
    store.AssignIMAGE(target, QStringLiteral("missing.png"), QStringLiteral("controls"));
    EXPECT_EQ(target.size(), QSize(5, 5));
    write("controls/missing.png", {7, 7}, Qt::yellow);
    EXPECT_EQ(store.image(QStringLiteral("missing.png"), QStringLiteral("controls")).size(), QSize(7, 7));

    // A new base path drops a read under way: the file is read from the new folder.
    store.prefetch(QStringLiteral("messagedialog.png"), QStringLiteral("dialog"));
    store.SetImageBasePath(env.path("elsewhere"));
    EXPECT_TRUE(store.image(QStringLiteral("messagedialog.png"), QStringLiteral("dialog")).isNull());
}

// A list of images is read on one thread, in the list's order, each file
// once, with its 2x file; the requests that follow take what it read.
TEST_F(ImageDataBaseTest, PrefetchedListIsReadInItsOrderOnOneThread)
{
    std::mutex lock;
    QList<std::pair<QString, std::thread::id>> listReads;
    store.setLoader([&](const QString& path) {
        const std::lock_guard<std::mutex> guard(lock);
        listReads.append({QDir(env.path("skin")).relativeFilePath(path), std::this_thread::get_id()});
        return defaultLoader(path);
    });
    store.prefetch(QList<TImageDataBase::ImageRef>{{QStringLiteral("messagedialog.png"), QStringLiteral("dialog")},
                                                   {QStringLiteral("close-1.png"), QStringLiteral("buttons")},
                                                   {QStringLiteral("close-1.png"), QStringLiteral("buttons")},
                                                   {QLatin1String(TImageDataBase::kEmptyImageName), {}},
                                                   {QStringLiteral("missing.png"), QStringLiteral("controls")}});
    EXPECT_EQ(store.image(QStringLiteral("close-1.png"), QStringLiteral("buttons")).normal().pixelColor(1, 1),
              QColor(Qt::red));
    const SkinImage back = store.image(QStringLiteral("messagedialog.png"), QStringLiteral("dialog"));
    EXPECT_EQ(back.highDensity().size(), QSize(916, 492));
    EXPECT_TRUE(store.image(QStringLiteral("missing.png"), QStringLiteral("controls")).isNull());
    store.clearCache(); // waits for the thread

    QStringList paths;
    for (const auto& [path, thread] : listReads) {
        paths.append(path);
        EXPECT_NE(thread, std::this_thread::get_id()) << path.toStdString();
    }
    EXPECT_EQ(paths, QStringList({"dialog/messagedialog.png", "dialog/messagedialog@2x.png", "buttons/close-1.png",
                                  "buttons/close-1@2x.png", "controls/missing.png", "controls/missing@2x.png"}));
}

// A read that throws on the prefetch thread is a file that did not load:
// the files after it in the list still serve their requests, and the
// failed one is read again when asked for.
TEST_F(ImageDataBaseTest, AFailedReadInAPrefetchedListSpoilsNoOtherFile)
{
    const std::thread::id mainThread = std::this_thread::get_id();
    store.setLoader([mainThread](const QString& path) {
        if (path.endsWith(QLatin1String("buttons/close-1.png")) && std::this_thread::get_id() != mainThread)
            throw std::runtime_error("read failed");
        return defaultLoader(path);
    });
    store.prefetch(QList<TImageDataBase::ImageRef>{{QStringLiteral("close-1.png"), QStringLiteral("buttons")},
                                                   {QStringLiteral("messagedialog.png"), QStringLiteral("dialog")}});
    SkinImage close = test::solidSkin({5, 5}, Qt::white);
    store.AssignIMAGE(close, QStringLiteral("close-1.png"), QStringLiteral("buttons"));
    EXPECT_EQ(close.size(), QSize(5, 5)) << "not loaded: the target keeps what it had";
    EXPECT_EQ(store.image(QStringLiteral("messagedialog.png"), QStringLiteral("dialog")).size(), QSize(458, 246));
    EXPECT_EQ(store.image(QStringLiteral("close-1.png"), QStringLiteral("buttons")).normal().pixelColor(1, 1),
              QColor(Qt::red));
}

TEST_F(ImageDataBaseTest, HighDensityVariantIsLoadedWhenAskedAndWhenItFits)
{
    const SkinImage back = store.image(QStringLiteral("messagedialog.png"), QStringLiteral("dialog"));
    EXPECT_EQ(back.highDensity().size(), QSize(916, 492));
    EXPECT_EQ(back.pixmapFor(2.0).deviceIndependentSize().toSize(), QSize(458, 246));
    EXPECT_EQ(back.pixmapFor(1.5).devicePixelRatio(), 2.0);
    EXPECT_EQ(back.pixmapFor(1.0).size(), QSize(458, 246));
    // A 2x file of the wrong size is left out.
    EXPECT_TRUE(store.image(QStringLiteral("wrong.png"), QStringLiteral("controls")).highDensity().isNull());

    TImageDataBase lowDensity(env.path("skin"));
    lowDensity.setLoadHighDensity(false);
    EXPECT_TRUE(lowDensity.image(QStringLiteral("messagedialog.png"), QStringLiteral("dialog")).highDensity().isNull());
}

TEST_F(ImageDataBaseTest, ExplicitPathAndImageLookups)
{
    SkinImage target;
    store.AssignIMAGE(target, QStringLiteral("close-1.png"), QStringLiteral("buttons"), env.path("skin/dialog/"));
    EXPECT_EQ(target.normal().pixelColor(1, 1), QColor(Qt::blue)) << "the path wins over the subfolder";
    // IMAGE looks in the base path itself, with no subfolder.
    EXPECT_TRUE(store.IMAGE(QStringLiteral("messagedialog.png")).isNull());
    EXPECT_FALSE(store.IMAGE(QStringLiteral("messagedialog.png"), env.path("skin/dialog/")).isNull());
    store.SetImageBasePath(env.path("skin/buttons"));
    EXPECT_TRUE(store.cache().isEmpty());
    EXPECT_EQ(store.IMAGE(QStringLiteral("close-1.png")).normal().pixelColor(1, 1), QColor(Qt::red));
}

// The store's own reader: PNG files, and a skin file in another format under
// a ".png" name, load; a file that is no image does not.
TEST(ImageDataBaseReaderTest, ReadsPngFilesAndOtherFormatsUnderPngNames)
{
    test::TestEnvironment env;
    QDir().mkpath(env.path("skin"));
    ASSERT_TRUE(test::solidImage({6, 4}, Qt::red).save(env.path("skin/png.png"), "PNG"));
    ASSERT_TRUE(test::solidImage({6, 4}, Qt::blue).save(env.path("skin/bmp.png"), "BMP"));
    test::writeFile(env.path("skin/text.png"), "not an image");
    TImageDataBase store(env.path("skin"));
    store.setLoadHighDensity(false);
    EXPECT_EQ(store.image(QStringLiteral("png.png")).normal().pixelColor(1, 1), QColor(Qt::red));
    EXPECT_EQ(store.image(QStringLiteral("bmp.png")).normal().pixelColor(1, 1), QColor(Qt::blue));
    EXPECT_EQ(store.image(QStringLiteral("png.png")).normal().format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_TRUE(store.image(QStringLiteral("text.png")).isNull());
}

TEST(ImageDataBaseNamesTest, HighDensityFileNames)
{
    EXPECT_EQ(highDensityFileName(QStringLiteral("/a/close-1.png")), QStringLiteral("/a/close-1@2x.png"));
    EXPECT_EQ(highDensityFileName(QStringLiteral("/a.b/c.d.png")), QStringLiteral("/a.b/c.d@2x.png"));
    EXPECT_EQ(highDensityFileName(QStringLiteral("/a/plain")), QStringLiteral("/a/plain@2x"));
}

TEST(UiStyleSheetTest, AppliedOnlyWhenTheFileExists)
{
    test::TestEnvironment env;
    const QString before = qApp->styleSheet();
    EXPECT_FALSE(applyUiStyleSheet(env.path("images/ui.vgstyle")));
    EXPECT_EQ(qApp->styleSheet(), before);
    ASSERT_TRUE(test::writeFile(env.path("images/ui.vgstyle"), "QToolTip { color: #ff7a1a; }"));
    EXPECT_TRUE(applyUiStyleSheet(env.path("images/ui.vgstyle")));
    EXPECT_EQ(qApp->styleSheet(), QStringLiteral("QToolTip { color: #ff7a1a; }"));
    qApp->setStyleSheet(before);
}

// The style file is looked up in the program's folder without regard to the
// letter case of "images" and "ui.vgstyle": the skin folder is "Images".
TEST(UiStyleSheetTest, FoundWhateverTheLetterCaseOfItsFolderAndName)
{
    struct Case {
        const char* file; // below the program folder; nullptr for none
        bool found;
    };
    const Case cases[] = {
        {"images/ui.vgstyle", true},
        {"Images/ui.vgstyle", true},
        {"IMAGES/UI.VGSTYLE", true},
        {"Images/0409/ui.vgstyle", false}, // only in the images folder itself
        {"Images/ui.vgstyle.bak", false},
        {nullptr, false},
    };
    for (const Case& c : cases) {
        test::TestEnvironment env;
        env.set("K4812_PROGRAM_DIR", env.home());
        QDir(env.home()).mkpath(QStringLiteral("Images/0409"));
        if (c.file != nullptr) {
            ASSERT_TRUE(test::writeFile(env.path(QLatin1String(c.file)), "QToolTip { color: #ff7a1a; }"));
        }
        const QString before = qApp->styleSheet();
        EXPECT_EQ(applyUiStyleSheet(), c.found) << (c.file ? c.file : "no file");
        if (c.found) {
            EXPECT_EQ(qApp->styleSheet(), QStringLiteral("QToolTip { color: #ff7a1a; }")) << c.file;
        }
        qApp->setStyleSheet(before);
    }
    // When both spellings exist, the exact one wins.
    test::TestEnvironment env;
    ASSERT_TRUE(test::writeFile(env.path("Images/UI.VGSTYLE"), "a"));
    ASSERT_TRUE(test::writeFile(env.path("Images/ui.vgstyle"), "b"));
    env.set("K4812_PROGRAM_DIR", env.home());
    EXPECT_EQ(uiStyleSheetPath(), env.path("Images/ui.vgstyle"));
}

} // namespace
} // namespace k4812
