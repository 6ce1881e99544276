// The tiles of large skin images kept between starts: found only for the
// very file they were made from, never used when damaged, and a store that
// has them shows the same pixels as one that decodes the file.

#include "ui/skin/ImageDataBase.h"
#include "ui/skin/SkinTileCache.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

QImage picture(QColor fill)
{
    QImage image(200, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    QPainter p(&image);
    p.fillRect(20, 30, 90, 40, QColor(10, 200, 30, 128));
    return image;
}

QByteArray pngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

TEST(SkinTileCache, FindsTheTilesOnlyForTheFileTheyWereKeptFor)
{
    QTemporaryDir folder;
    const SkinTileCache cache(folder.filePath(QStringLiteral("tiles")));
    const QByteArray file = pngOf(picture(Qt::white));
    EXPECT_EQ(cache.find(file), nullptr) << "nothing kept yet";
    cache.keep(file, TiledImage(picture(Qt::white)));
    const auto found = cache.find(file);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->toImage(), picture(Qt::white));
    EXPECT_EQ(cache.find(pngOf(picture(Qt::black))), nullptr) << "another file's content";
    EXPECT_EQ(SkinTileCache(QString()).find(file), nullptr) << "no folder keeps nothing";
}

TEST(SkinTileCache, ADamagedEntryIsNotUsed)
{
    QTemporaryDir folder;
    const SkinTileCache cache(folder.path());
    const QByteArray file = pngOf(picture(Qt::white));
    cache.keep(file, TiledImage(picture(Qt::white)));
    const QString entry = cache.entryPath(file);
    const QByteArray good = readAll(entry);
    ASSERT_FALSE(good.isEmpty());
    QByteArray flipped = good;
    flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x40);
    for (const QByteArray& damaged : {good.left(good.size() / 2), flipped, QByteArray("K4812"), QByteArray()}) {
        writeAll(entry, damaged);
        EXPECT_EQ(cache.find(file), nullptr) << damaged.size() << " bytes";
    }
}

TEST(SkinTileCache, AFolderThatCannotBeMadeKeepsNothingAndSaysNothing)
{
    QTemporaryDir folder;
    writeAll(folder.filePath(QStringLiteral("file")), "not a folder");
    const SkinTileCache cache(folder.filePath(QStringLiteral("file/tiles")));
    const QByteArray file = pngOf(picture(Qt::white));
    cache.keep(file, TiledImage(picture(Qt::white)));
    EXPECT_EQ(cache.find(file), nullptr);
}

class StoreWithTileCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_skin.isValid());
        writeAll(m_skin.filePath(QStringLiteral("back.png")), pngOf(picture(Qt::white)));
    }
    SkinImage load() const
    {
        TImageDataBase store(m_skin.path());
        store.setLoadHighDensity(false);
        store.setTileCacheFolder(cacheFolder());
        return store.image(QStringLiteral("back.png"));
    }
    QString cacheFolder() const { return m_cache.filePath(QStringLiteral("tiles")); }
    QByteArray fileBytes() const { return readAll(m_skin.filePath(QStringLiteral("back.png"))); }

    QTemporaryDir m_skin;
    QTemporaryDir m_cache;
};

// The first start decodes and keeps the tiles; the next one shows them.
TEST_F(StoreWithTileCache, KeepsTheTilesOfTheFirstLoadForTheNext)
{
    const SkinImage first = load();
    ASSERT_TRUE(first.isTiled());
    EXPECT_EQ(first.normal(), picture(Qt::white));
    const SkinTileCache cache(cacheFolder());
    ASSERT_NE(cache.find(fileBytes()), nullptr);
    // Tiles of another picture kept under this file's name show that the next load takes them.
    cache.keep(fileBytes(), TiledImage(picture(Qt::yellow)));
    EXPECT_EQ(load().normal(), picture(Qt::yellow));
}

TEST_F(StoreWithTileCache, ADamagedEntryIsDecodedAgainAndReplaced)
{
    load();
    const QString entry = SkinTileCache(cacheFolder()).entryPath(fileBytes());
    writeAll(entry, readAll(entry).chopped(10));
    const SkinImage again = load();
    EXPECT_EQ(again.normal(), picture(Qt::white));
    EXPECT_NE(SkinTileCache(cacheFolder()).find(fileBytes()), nullptr) << "written again";
}

TEST_F(StoreWithTileCache, AChangedSkinFileIsNeverShownWithItsOldTiles)
{
    load();
    writeAll(m_skin.filePath(QStringLiteral("back.png")), pngOf(picture(Qt::black)));
    EXPECT_EQ(load().normal(), picture(Qt::black));
}

// A replaced reader (the tests' counting one) reads every file itself.
TEST_F(StoreWithTileCache, AReplacedReaderIsNeverBypassed)
{
    load();
    TImageDataBase store(m_skin.path());
    store.setLoadHighDensity(false);
    store.setTileCacheFolder(cacheFolder());
    int reads = 0;
    store.setLoader([&reads](const QString& path) {
        ++reads;
        return TImageDataBase::readFile(path);
    });
    EXPECT_EQ(store.image(QStringLiteral("back.png")).normal(), picture(Qt::white));
    EXPECT_EQ(reads, 1);
}

} // namespace
} // namespace k4812
