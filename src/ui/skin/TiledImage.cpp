#include "ui/skin/TiledImage.h"

#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace k4812 {

namespace {

bool isWhole(qreal v)
{
    return std::abs(v - std::round(v)) < 1e-9;
}

} // namespace

TiledImage::TiledImage(const QImage& source)
{
    const QImage image = source.format() == QImage::Format_ARGB32_Premultiplied
                             ? source
                             : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return;
    const int columns = (image.width() + kTile - 1) / kTile;
    const int rows = (image.height() + kTile - 1) / kTile;
    std::vector<QRgb> values(std::size_t(columns) * std::size_t(rows));
    std::vector<qsizetype> offsets(values.size(), -1);
    // First which tiles have one value and how many pixels the others take,
    // so the pixels are held in one buffer of the exact size.
    qsizetype pixelCount = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int x0 = c * kTile;
            const int y0 = r * kTile;
            const int w = qMin(kTile, image.width() - x0);
            const int h = qMin(kTile, image.height() - y0);
            const QRgb first = reinterpret_cast<const QRgb*>(image.constScanLine(y0))[x0];
            bool one = true;
            for (int y = y0; y < y0 + h && one; ++y) {
                const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y)) + x0;
                for (int x = 0; x < w; ++x) {
                    if (line[x] != first) {
                        one = false;
                        break;
                    }
                }
            }
            const std::size_t index = std::size_t(r) * std::size_t(columns) + std::size_t(c);
            values[index] = first;
            if (!one) {
                offsets[index] = pixelCount;
                pixelCount += qsizetype(w) * h;
            }
        }
    }
    std::vector<QRgb> pixels(static_cast<std::size_t>(pixelCount));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const qsizetype offset = offsets[std::size_t(r) * std::size_t(columns) + std::size_t(c)];
            if (offset < 0)
                continue;
            const int x0 = c * kTile;
            const int y0 = r * kTile;
            const int w = qMin(kTile, image.width() - x0);
            const int h = qMin(kTile, image.height() - y0);
            for (int y = 0; y < h; ++y)
                std::memcpy(pixels.data() + offset + qsizetype(y) * w,
                            reinterpret_cast<const QRgb*>(image.constScanLine(y0 + y)) + x0, std::size_t(w) * 4);
        }
    }
    m_width = image.width();
    m_height = image.height();
    m_columns = columns;
    m_rows = rows;
    m_value = std::move(values);
    m_offset = std::move(offsets);
    m_pixels = std::move(pixels);
}

qsizetype TiledImage::bytes() const
{
    return qsizetype(sizeof(*this) + m_value.size() * sizeof(QRgb) + m_offset.size() * sizeof(qsizetype) +
                     m_pixels.size() * sizeof(QRgb));
}

QRect TiledImage::tileRect(int column, int row) const
{
    const int x0 = column * kTile;
    const int y0 = row * kTile;
    return {x0, y0, qMin(kTile, m_width - x0), qMin(kTile, m_height - y0)};
}

QImage TiledImage::tileImage(int index) const
{
    const QRect rect = tileRect(index % m_columns, index / m_columns);
    return QImage(reinterpret_cast<const uchar*>(m_pixels.data() + m_offset[std::size_t(index)]), rect.width(),
                  rect.height(), qsizetype(rect.width()) * 4, QImage::Format_ARGB32_Premultiplied);
}

QRgb TiledImage::pixel(QPoint at) const
{
    if (at.x() < 0 || at.y() < 0 || at.x() >= m_width || at.y() >= m_height)
        return 0;
    const int column = at.x() / kTile;
    const int row = at.y() / kTile;
    const std::size_t index = std::size_t(row) * std::size_t(m_columns) + std::size_t(column);
    const qsizetype offset = m_offset[index];
    if (offset < 0)
        return m_value[index];
    const QRect rect = tileRect(column, row);
    return m_pixels[std::size_t(offset + qsizetype(at.y() - rect.y()) * rect.width() + (at.x() - rect.x()))];
}

QImage TiledImage::toImage() const
{
    if (isNull())
        return {};
    QImage image(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {}; // no memory for it
    for (int index = 0; index < m_columns * m_rows; ++index) {
        const QRect rect = tileRect(index % m_columns, index / m_columns);
        const qsizetype offset = m_offset[std::size_t(index)];
        for (int y = 0; y < rect.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(rect.y() + y)) + rect.x();
            if (offset < 0)
                std::fill(line, line + rect.width(), m_value[std::size_t(index)]);
            else
                std::memcpy(line, m_pixels.data() + offset + qsizetype(y) * rect.width(), std::size_t(rect.width()) * 4);
        }
    }
    return image;
}

bool TiledImage::drawsExactlyOn(QPainter& painter)
{
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice())
        return false;
    if (engine->paintDevice()->devicePixelRatioF() != 1.0)
        return false;
    const QTransform transform = painter.deviceTransform();
    return transform.type() <= QTransform::TxTranslate && isWhole(transform.dx()) && isWhole(transform.dy()) &&
           painter.opacity() == 1.0 && painter.compositionMode() == QPainter::CompositionMode_SourceOver;
}

void TiledImage::draw(QPainter& painter, QPoint topLeft, const QRect& exposed) const
{
    const QRect area = QRect(topLeft, size()).intersected(exposed).translated(-topLeft);
    if (area.isEmpty())
        return;
    QImage flat; // a tile of one partly transparent value, drawn as an image to blend alike
    for (int row = area.top() / kTile; row <= area.bottom() / kTile; ++row) {
        // Opaque tiles of one value side by side are filled as one rectangle.
        int runStart = -1;
        QRgb runValue = 0;
        const auto endRun = [&](int endColumn) {
            if (runStart < 0)
                return;
            const QRect first = tileRect(runStart, row);
            const QRect last = tileRect(endColumn - 1, row);
            painter.fillRect(QRect(first.topLeft(), last.bottomRight()).translated(topLeft), QColor::fromRgb(runValue));
            runStart = -1;
        };
        const int lastColumn = area.right() / kTile;
        for (int column = area.left() / kTile; column <= lastColumn; ++column) {
            const int index = row * m_columns + column;
            const QRgb value = m_value[std::size_t(index)];
            const bool one = m_offset[std::size_t(index)] < 0;
            if (one && qAlpha(value) == 255) {
                if (runStart >= 0 && value == runValue)
                    continue;
                endRun(column);
                runStart = column;
                runValue = value;
                continue;
            }
            endRun(column);
            const QRect rect = tileRect(column, row);
            if (!one) {
                painter.drawImage(rect.topLeft() + topLeft, tileImage(index));
            } else if (qAlpha(value) != 0) { // a fully transparent one changes nothing
                if (flat.isNull())
                    flat = QImage(kTile, kTile, QImage::Format_ARGB32_Premultiplied);
                flat.fill(value);
                painter.drawImage(rect.topLeft() + topLeft, flat, QRect(QPoint(0, 0), rect.size()));
            }
        }
        endRun(lastColumn + 1);
    }
}

std::shared_ptr<const TiledImage> tiledIfSmaller(const QImage& image)
{
    // Below 64 KiB decoded the tiles' bookkeeping is not worth it.
    constexpr qsizetype kLeastBytes = 64 * 1024;
    const qsizetype decoded = qsizetype(image.width()) * image.height() * 4;
    if (image.isNull() || decoded < kLeastBytes)
        return nullptr;
    auto tiled = std::make_shared<const TiledImage>(image);
    if (tiled->isNull() || tiled->bytes() > decoded / 2)
        return nullptr;
    return tiled;
}

} // namespace k4812
