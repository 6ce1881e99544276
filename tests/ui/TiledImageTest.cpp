// A skin image held in tiles must paint the very pixels the whole image
// paints, on any backdrop, for any part that is exposed.

#include "ui/skin/ImageDataBase.h"
#include "ui/skin/SkinImage.h"
#include "ui/skin/TiledImage.h"
#include "ui/windows/SkinWindow.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

namespace k4812 {
namespace {

QImage premultiplied(QSize size, const std::function<void(QImage&)>& fill)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    fill(image);
    return image;
}

QImage loadSkin(const char* group, const char* name)
{
    return QImage(QStringLiteral(K4812_BIN_DIR "/Images/0409/%1/%2").arg(QLatin1String(group), QLatin1String(name)))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

struct Case {
    const char* name;
    QImage image;
};

// Flat tiles of every kind (opaque, half transparent, transparent), noisy
// tiles, sizes that are no multiple of the tile, and the built skin's backgrounds.
std::vector<Case> cases()
{
    const auto noise = [](QImage& image) {
        QRandomGenerator random(7);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qPremultiply(random.generate()));
    };
    const auto patches = [](QImage& image) {
        QPainter p(&image);
        p.fillRect(0, 0, 40, 40, QColor(10, 20, 30));
        p.fillRect(40, 0, 30, 40, QColor(200, 100, 50, 128));
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(255, 255, 255, 90));
        p.drawEllipse(5, 5, 50, 30);
    };
    return {
        {"one pixel", premultiplied({1, 1}, [](QImage& i) { i.fill(qRgba(9, 8, 7, 200)); })},
        {"one tile exactly", premultiplied({16, 16}, noise)},
        {"noise, odd size", premultiplied({37, 21}, noise)},
        {"flat patches with a blended ellipse", premultiplied({83, 45}, patches)},
        {"all transparent", premultiplied({50, 33}, [](QImage&) {})},
        {"gradients down and across, half transparent", premultiplied({70, 50}, [](QImage& i) {
             for (int y = 0; y < i.height(); ++y)
                 for (int x = 0; x < i.width(); ++x)
                     i.setPixel(x, y, qPremultiply(x < 35 ? qRgba(y * 5, 40, 90, 100 + y) : qRgba(20, x * 3, 60, 255)));
         })},
        {"window background", loadSkin("dialog", "mainback.png")},
        {"message background", loadSkin("dialog", "messagedialog.png")},
        {"help background", loadSkin("dialog", "HelpPage-back.png")},
    };
}

// A backdrop with colour and alpha changing from pixel to pixel, so that any
// difference in blending shows.
QImage backdrop(QSize size)
{
    return premultiplied(size, [](QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qPremultiply(qRgba(x * 7, y * 5, (x + y) * 3, 128 + (x * y) % 128)));
    });
}

TEST(TiledImage, HoldsAndGivesBackEveryPixel)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.image.isNull());
        const TiledImage tiled(c.image);
        EXPECT_EQ(tiled.size(), c.image.size());
        EXPECT_EQ(tiled.toImage(), c.image);
        const QRect r = c.image.rect();
        for (QPoint at : {r.topLeft(), r.bottomRight(), r.center(), QPoint(r.width() / 3, r.height() - 1)})
            EXPECT_EQ(tiled.pixel(at), c.image.pixel(at)) << at.x() << "," << at.y();
        EXPECT_EQ(tiled.pixel({-1, 0}), 0u);
        EXPECT_EQ(tiled.pixel({r.width(), 0}), 0u);
    }
    EXPECT_TRUE(TiledImage(QImage()).isNull());
}

TEST(TiledImage, ComesBackWholeFromItsBytes)
{
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const TiledImage back = TiledImage::fromBytes(TiledImage(c.image).toBytes());
        ASSERT_FALSE(back.isNull());
        EXPECT_EQ(back.toImage(), c.image);
    }
    EXPECT_TRUE(TiledImage().toBytes().isEmpty());
}

// Bytes that toBytes() did not write give no image: nothing is read past
// their end and no size is taken on trust.
TEST(TiledImage, RefusesBytesItDidNotWrite)
{
    // All its tiles are flat: a tile made to hold values has none to read.
    const QByteArray good = TiledImage(cases()[4].image).toBytes();
    const auto changed = [&good](const std::function<void(QByteArray&)>& change) {
        QByteArray bytes = good;
        change(bytes);
        return bytes;
    };
    const auto setWord = [](QByteArray& bytes, qsizetype at, quint32 value) {
        qToLittleEndian(value, bytes.data() + at);
    };
    const struct {
        const char* name;
        QByteArray bytes;
    } bad[] = {
        {"nothing", QByteArray()},
        {"the header alone", good.left(16)},
        {"cut short by one byte", good.chopped(1)},
        {"one byte too many", good + '\0'},
        {"another magic", changed([](QByteArray& b) { b[7] = '2'; })},
        {"an unknown kind of tile", changed([](QByteArray& b) { b[16] = char(4); })},
        {"a kind needing more values than follow", changed([](QByteArray& b) { b[16] = char(3); })},
        {"no width", changed([&](QByteArray& b) { setWord(b, 8, 0); })},
        {"a width the body cannot hold", changed([&](QByteArray& b) { setWord(b, 8, 0x7fffffff); })},
        {"a size past 32-bit offsets", changed([&](QByteArray& b) {
             setWord(b, 8, 0x10000);
             setWord(b, 12, 0x10000);
         })},
    };
    for (const auto& b : bad)
        EXPECT_TRUE(TiledImage::fromBytes(b.bytes).isNull()) << b.name;
}

TEST(TiledImage, DrawsTheSamePixelsAsTheWholeImage)
{
    const QPoint at(5, 3);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const QSize canvas = c.image.size() + QSize(12, 9);
        const TiledImage tiled(c.image);
        // The whole image; a part exposed, cut across tiles, as a window repaints it.
        for (QRect exposed : {QRect(QPoint(0, 0), canvas), QRect(at + QPoint(7, 11), QSize(29, 19))}) {
            QImage whole = backdrop(canvas);
            QImage tiles = whole;
            {
                QPainter p(&whole);
                p.setClipRect(exposed);
                p.drawImage(at, c.image);
            }
            {
                QPainter p(&tiles);
                p.setClipRect(exposed);
                ASSERT_TRUE(TiledImage::drawsExactlyOn(p));
                tiled.draw(p, at, exposed);
            }
            EXPECT_EQ(tiles, whole) << "exposed " << exposed.x() << "," << exposed.y();
        }
    }
}

TEST(TiledImage, KeptInTilesOnlyWhenLargeAndMostlyFlat)
{
    const auto flat = [](QSize size) { return premultiplied(size, [](QImage& i) { i.fill(qRgb(1, 2, 3)); }); };
    const auto noisy = [](QSize size) {
        return premultiplied(size, [](QImage& i) {
            for (int y = 0; y < i.height(); ++y)
                for (int x = 0; x < i.width(); ++x)
                    i.setPixel(x, y, qRgb(x, y, x ^ y));
        });
    };
    EXPECT_EQ(tiledIfSmaller(flat({100, 50})), nullptr) << "small: kept whole";
    EXPECT_EQ(tiledIfSmaller(noisy({300, 300})), nullptr) << "no flat tile: kept whole";
    const auto tiled = tiledIfSmaller(flat({300, 300}));
    ASSERT_NE(tiled, nullptr);
    EXPECT_LT(tiled->bytes(), 300 * 300 * 4 / 20);
    const auto background = tiledIfSmaller(loadSkin("dialog", "mainback.png"));
    ASSERT_NE(background, nullptr);
    EXPECT_LT(background->bytes(), 850 * 655 * 4 / 8);
}

// Where the tiles cannot give the same pixels (scaled, turned, half
// transparent, a 2x screen) the whole image is drawn, as before.
TEST(TiledImage, SkinImagePaintsAlikeHeldWholeOrInTiles)
{
    const QImage image = loadSkin("dialog", "messagedialog.png");
    const SkinImage whole(image);
    const SkinImage tiles(tiledIfSmaller(image));
    ASSERT_TRUE(tiles.isTiled());
    EXPECT_TRUE(tiles == whole);
    EXPECT_EQ(tiles.normal(), image);
    struct Paint {
        const char* name;
        qreal ratio;
        std::function<void(QPainter&)> setUp;
        QRect target;
    };
    const QRect own(QPoint(3, 4), image.size());
    const std::vector<Paint> paints = {
        {"own size", 1.0, [](QPainter&) {}, own},
        {"stretched", 1.0, [](QPainter&) {}, QRect(0, 0, 500, 300)},
        {"half a pixel off", 1.0, [](QPainter& p) { p.translate(0.5, 0); }, own},
        {"turned", 1.0, [](QPainter& p) { p.rotate(3); }, own},
        {"half transparent", 1.0, [](QPainter& p) { p.setOpacity(0.5); }, own},
        {"on a 2x screen", 2.0, [](QPainter&) {}, own},
    };
    for (const Paint& paint : paints) {
        SCOPED_TRACE(paint.name);
        QImage a = backdrop(QSize(520, 320) * paint.ratio);
        a.setDevicePixelRatio(paint.ratio);
        QImage b = a;
        for (auto [target, image_] : {std::pair{&a, &whole}, std::pair{&b, &tiles}}) {
            QPainter p(target);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            paint.setUp(p);
            image_->draw(p, paint.target);
        }
        EXPECT_EQ(a, b);
    }
}

TEST(TiledImage, WindowBackgroundPaintsAlikeHeldWholeOrInTiles)
{
    const QImage image = loadSkin("dialog", "mainback.png");
    QImage shots[2];
    const SkinImage backgrounds[2] = {SkinImage(image), SkinImage(tiledIfSmaller(image))};
    for (int i = 0; i < 2; ++i) {
        SkinWindow window;
        window.setBackground(backgrounds[i]);
        shots[i] = QImage(window.size(), QImage::Format_ARGB32_Premultiplied);
        shots[i].fill(Qt::white);
        window.render(&shots[i]);
    }
    EXPECT_TRUE(backgrounds[1].isTiled());
    EXPECT_EQ(shots[0], shots[1]);
}

TEST(TiledImage, StoreKeepsLargeFlatImagesInTiles)
{
    TImageDataBase store(QStringLiteral(K4812_BIN_DIR "/Images/0409/"));
    store.setLoadHighDensity(false);
    store.prefetch(QStringLiteral("mainback.png"), QStringLiteral("dialog"));
    const SkinImage back = store.image(QStringLiteral("mainback.png"), QStringLiteral("dialog"));
    EXPECT_TRUE(back.isTiled());
    EXPECT_EQ(back.normal(), loadSkin("dialog", "mainback.png"));
    const SkinImage message = store.image(QStringLiteral("messagedialog.png"), QStringLiteral("dialog"));
    EXPECT_TRUE(message.isTiled()) << "read on this thread";
    EXPECT_FALSE(store.image(QStringLiteral("close-1.png"), QStringLiteral("buttons")).isTiled());
}

} // namespace
} // namespace k4812
