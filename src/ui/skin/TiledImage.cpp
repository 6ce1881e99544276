#include "ui/skin/TiledImage.h"

#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

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
    // Every offset into the pixels must fit 32 bits.
    if (image.isNull() || qsizetype(image.width()) * image.height() > std::numeric_limits<qint32>::max())
        return;
    m_width = image.width();
    m_height = image.height();
    m_columns = (m_width + kTile - 1) / kTile;
    m_rows = (m_height + kTile - 1) / kTile;
    const std::size_t tiles = std::size_t(m_columns) * std::size_t(m_rows);
    m_kind.assign(tiles, Kind::Flat);
    m_value.assign(tiles, 0);
    m_offset.assign(tiles, 0);
    // First what each tile is and how many values it needs, so the values
    // are held in one buffer of the exact size.
    qint32 count = 0;
    const auto at = [&image](int x, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]; };
    for (int index = 0; index < int(tiles); ++index) {
        const QRect rect = tileRect(index);
        bool rowsFlat = true;    // each row of one value
        bool columnsFlat = true; // each column of one value
        const QRgb* top = reinterpret_cast<const QRgb*>(image.constScanLine(rect.top())) + rect.left();
        for (int y = rect.top(); y <= rect.bottom() && (rowsFlat || columnsFlat); ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y)) + rect.left();
            rowsFlat = rowsFlat && std::all_of(line, line + rect.width(), [&](QRgb v) { return v == line[0]; });
            columnsFlat = columnsFlat && std::memcmp(line, top, std::size_t(rect.width()) * 4) == 0;
        }
        const std::size_t i = std::size_t(index);
        m_value[i] = at(rect.left(), rect.top());
        m_offset[i] = count;
        if (rowsFlat && columnsFlat) {
            m_kind[i] = Kind::Flat;
        } else if (rowsFlat) {
            m_kind[i] = Kind::Rows;
            count += rect.height();
        } else if (columnsFlat) {
            m_kind[i] = Kind::Columns;
            count += rect.width();
        } else {
            m_kind[i] = Kind::Pixels;
            count += rect.width() * rect.height();
        }
    }
    m_pixels.resize(std::size_t(count));
    for (int index = 0; index < int(tiles); ++index) {
        const QRect rect = tileRect(index);
        QRgb* out = m_pixels.data() + m_offset[std::size_t(index)];
        switch (m_kind[std::size_t(index)]) {
        case Kind::Flat:
            break;
        case Kind::Rows:
            for (int y = 0; y < rect.height(); ++y)
                out[y] = at(rect.left(), rect.top() + y);
            break;
        case Kind::Columns:
            std::memcpy(out, &reinterpret_cast<const QRgb*>(image.constScanLine(rect.top()))[rect.left()],
                        std::size_t(rect.width()) * 4);
            break;
        case Kind::Pixels:
            for (int y = 0; y < rect.height(); ++y)
                std::memcpy(out + qsizetype(y) * rect.width(),
                            &reinterpret_cast<const QRgb*>(image.constScanLine(rect.top() + y))[rect.left()],
                            std::size_t(rect.width()) * 4);
            break;
        }
    }
}

qsizetype TiledImage::bytes() const
{
    return qsizetype(sizeof(*this) + m_kind.size() * sizeof(Kind) + m_value.size() * sizeof(QRgb) +
                     m_offset.size() * sizeof(qint32) + m_pixels.size() * sizeof(QRgb));
}

QRect TiledImage::tileRect(int index) const
{
    const int x0 = (index % m_columns) * kTile;
    const int y0 = (index / m_columns) * kTile;
    return {x0, y0, qMin(kTile, m_width - x0), qMin(kTile, m_height - y0)};
}

void TiledImage::expand(int index, QRgb* out, qsizetype stride) const
{
    const QRect rect = tileRect(index);
    const QRgb* values = m_pixels.data() + m_offset[std::size_t(index)];
    for (int y = 0; y < rect.height(); ++y) {
        QRgb* line = out + qsizetype(y) * stride;
        switch (m_kind[std::size_t(index)]) {
        case Kind::Flat:
            std::fill(line, line + rect.width(), m_value[std::size_t(index)]);
            break;
        case Kind::Rows:
            std::fill(line, line + rect.width(), values[y]);
            break;
        case Kind::Columns:
            std::memcpy(line, values, std::size_t(rect.width()) * 4);
            break;
        case Kind::Pixels:
            std::memcpy(line, values + qsizetype(y) * rect.width(), std::size_t(rect.width()) * 4);
            break;
        }
    }
}

QImage TiledImage::tileImage(int index) const
{
    const QRect rect = tileRect(index);
    return QImage(reinterpret_cast<const uchar*>(m_pixels.data() + m_offset[std::size_t(index)]), rect.width(),
                  rect.height(), qsizetype(rect.width()) * 4, QImage::Format_ARGB32_Premultiplied);
}

QRgb TiledImage::pixel(QPoint at) const
{
    if (at.x() < 0 || at.y() < 0 || at.x() >= m_width || at.y() >= m_height)
        return 0;
    const int index = (at.y() / kTile) * m_columns + at.x() / kTile;
    const QRect rect = tileRect(index);
    const int x = at.x() - rect.x();
    const int y = at.y() - rect.y();
    const QRgb* values = m_pixels.data() + m_offset[std::size_t(index)];
    switch (m_kind[std::size_t(index)]) {
    case Kind::Flat:
        return m_value[std::size_t(index)];
    case Kind::Rows:
        return values[y];
    case Kind::Columns:
        return values[x];
    case Kind::Pixels:
        break;
    }
    return values[qsizetype(y) * rect.width() + x];
}

QImage TiledImage::toImage() const
{
    if (isNull())
        return {};
    QImage image(m_width, m_height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {}; // no memory for it
    const qsizetype stride = image.bytesPerLine() / 4;
    for (int index = 0; index < m_columns * m_rows; ++index) {
        const QRect rect = tileRect(index);
        expand(index, reinterpret_cast<QRgb*>(image.scanLine(rect.y())) + rect.x(), stride);
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
    // Tiles other than opaque flat ones and those held as pixels are made
    // here and drawn as images, so they blend as the whole image would.
    QImage scratch;
    for (int row = area.top() / kTile; row <= area.bottom() / kTile; ++row) {
        // Opaque flat tiles of one value side by side are filled as one rectangle.
        int runStart = -1;
        QRgb runValue = 0;
        const auto endRun = [&](int endIndex) {
            if (runStart < 0)
                return;
            const QRect rect = tileRect(runStart).united(tileRect(endIndex - 1)).translated(topLeft);
            painter.fillRect(rect, QColor::fromRgb(runValue));
            runStart = -1;
        };
        const int first = row * m_columns + area.left() / kTile;
        const int last = row * m_columns + area.right() / kTile;
        for (int index = first; index <= last; ++index) {
            const Kind kind = m_kind[std::size_t(index)];
            const QRgb value = m_value[std::size_t(index)];
            if (kind == Kind::Flat && qAlpha(value) == 255) {
                if (runStart >= 0 && value == runValue)
                    continue;
                endRun(index);
                runStart = index;
                runValue = value;
                continue;
            }
            endRun(index);
            const QRect rect = tileRect(index);
            if (kind == Kind::Pixels) {
                painter.drawImage(rect.topLeft() + topLeft, tileImage(index));
            } else if (kind != Kind::Flat || qAlpha(value) != 0) { // a transparent flat tile changes nothing
                if (scratch.isNull())
                    scratch = QImage(kTile, kTile, QImage::Format_ARGB32_Premultiplied);
                expand(index, reinterpret_cast<QRgb*>(scratch.bits()), scratch.bytesPerLine() / 4);
                painter.drawImage(rect.topLeft() + topLeft, scratch, QRect(QPoint(0, 0), rect.size()));
            }
        }
        endRun(last + 1);
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
