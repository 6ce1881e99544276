// The skin generator stores each drawn image in its smallest lossless PNG
// form; what the program decodes must be the very pixels that were drawn.

#include "CompactImage.h"
#include "FastPng.h"

#include <QBuffer>
#include <QFile>
#include <QHashSeed>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

QImage drawn(const std::function<void(QPainter&)>& paint)
{
    QImage image(40, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter);
    return image;
}

QImage throughPng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return QImage::fromData(bytes, "PNG");
}

struct Case {
    const char* name;
    std::function<void(QPainter&)> paint;
    QImage::Format expected;
};

// The cases: one per form the generator stores.
std::vector<Case> formCases()
{
    // Every pixel its own colour: more than a palette holds.
    const auto pixels = [](int alphaStep) {
        return [alphaStep](QPainter& p) {
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    p.fillRect(x, y, 1, 1, QColor(x * 6, y * 8, 100, 255 - alphaStep * x));
        };
    };
    return {
        {"few colours with transparent corners",
         [](QPainter& p) {
             p.setRenderHint(QPainter::Antialiasing, false);
             p.fillRect(2, 2, 30, 20, QColor(50, 60, 70));
             p.fillRect(10, 10, 5, 5, QColor(255, 255, 255, 128));
         },
         QImage::Format_Indexed8},
        {"many colours, opaque", pixels(0), QImage::Format_RGB32},
        {"many colours, partly transparent", pixels(6), QImage::Format_ARGB32},
    };
}

// The filter byte that starts each row of a PNG's pixel data (8 bits per sample).
std::vector<int> rowFilters(const QByteArray& png)
{
    QByteArray deflated;
    int width = 0;
    int height = 0;
    int samples = 0;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (type == "IHDR") {
            width = int(qFromBigEndian<quint32>(png.constData() + at + 8));
            height = int(qFromBigEndian<quint32>(png.constData() + at + 12));
            const int colourType = png[at + 17];
            samples = colourType == 6 ? 4 : colourType == 2 ? 3 : colourType == 4 ? 2 : 1;
        }
        if (type == "IDAT")
            deflated += png.mid(at + 8, length);
        at += 12 + qsizetype(length);
    }
    const qsizetype rowBytes = qsizetype(width) * samples + 1;
    // qUncompress wants the inflated size in front of the zlib stream.
    QByteArray framed(4, '\0');
    qToBigEndian(quint32(rowBytes * height), framed.data());
    const QByteArray raw = qUncompress(framed + deflated);
    std::vector<int> filters;
    for (qsizetype y = 0; y < height && y * rowBytes < raw.size(); ++y)
        filters.push_back(raw[y * rowBytes]);
    return filters;
}

TEST(SkinCompactImage, DecodesToTheDrawnPixelsInTheSmallestForm)
{
    for (const Case& c : formCases()) {
        SCOPED_TRACE(c.name);
        const QImage image = drawn(c.paint);
        const QImage compact = k4812::skin::compactForm(image);
        EXPECT_EQ(compact.format(), c.expected);
        EXPECT_EQ(throughPng(compact).convertToFormat(QImage::Format_ARGB32),
                  image.convertToFormat(QImage::Format_ARGB32));
    }
}

TEST(SkinCompactImage, FastDecodingPngKeepsThePixelsWithEveryRowUnfiltered)
{
    for (const Case& c : formCases()) {
        SCOPED_TRACE(c.name);
        const QImage image = drawn(c.paint);
        const QImage compact = k4812::skin::compactForm(image);
        const QByteArray png = k4812::skin::fastDecodingPng(compact);
        ASSERT_FALSE(png.isEmpty());
        const QImage decoded = QImage::fromData(png, "PNG");
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_ARGB32), image.convertToFormat(QImage::Format_ARGB32));
        // Unfiltered rows are what makes the file fast to decode.
        EXPECT_EQ(rowFilters(png), std::vector<int>(std::size_t(image.height()), 0));
    }
    EXPECT_TRUE(k4812::skin::fastDecodingPng(QImage()).isEmpty());
}

// The same art must give the same file in every build: the palette may not
// follow a hash's order, which changes with each process's seed.
TEST(SkinCompactImage, ThePaletteIsTheSameWhateverTheHashSeed)
{
    const QImage image = drawn([](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int i = 0; i < 40; ++i)
            p.fillRect(i, 0, 1, 30, QColor(i * 6, 255 - i * 5, 90, i < 20 ? 255 : 100 + i));
    });
    QHashSeed::setDeterministicGlobalSeed();
    const QImage first = k4812::skin::compactForm(image);
    QHashSeed::resetRandomGlobalSeed();
    const QImage second = k4812::skin::compactForm(image);
    ASSERT_EQ(first.format(), QImage::Format_Indexed8);
    EXPECT_EQ(first.colorTable(), second.colorTable());
    EXPECT_EQ(k4812::skin::fastDecodingPng(first), k4812::skin::fastDecodingPng(second));
    // Opaque colours last, so the PNG's alpha table stops before them.
    const QList<QRgb> table = first.colorTable();
    EXPECT_TRUE(std::is_partitioned(table.begin(), table.end(), [](QRgb c) { return qAlpha(c) < 255; }));
}

// The window's background, decoded at every start, is the file the build
// wrote that way.
TEST(SkinCompactImage, TheBuiltBackgroundIsStoredUnfiltered)
{
    for (const char* name : {"mainback.png", "mainback@2x.png"}) {
        QFile file(QStringLiteral(K4812_BIN_DIR "/Images/0409/dialog/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QImage image = QImage::fromData(file.readAll(), "PNG");
        file.seek(0);
        EXPECT_EQ(rowFilters(file.readAll()), std::vector<int>(std::size_t(image.height()), 0)) << name;
    }
}

} // namespace
