// The skin generator stores each drawn image in its smallest lossless PNG
// form; what the program decodes must be the very pixels that were drawn.

#include "CompactImage.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

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

TEST(SkinCompactImage, DecodesToTheDrawnPixelsInTheSmallestForm)
{
    // Every pixel its own colour: more than a palette holds.
    const auto pixels = [](int alphaStep) {
        return [alphaStep](QPainter& p) {
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    p.fillRect(x, y, 1, 1, QColor(x * 6, y * 8, 100, 255 - alphaStep * x));
        };
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = drawn(c.paint);
        const QImage compact = k4812::skin::compactForm(image);
        EXPECT_EQ(compact.format(), c.expected);
        EXPECT_EQ(throughPng(compact).convertToFormat(QImage::Format_ARGB32),
                  image.convertToFormat(QImage::Format_ARGB32));
    }
}

} // namespace
