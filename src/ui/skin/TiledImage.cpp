#include "ui/skin/TiledImage.h"

#include <QPaintEngine>
#include <QtEndian>
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
    if (image.isNull() || !setSize(image.width(), image.height()))
        return;
    const std::size_t tiles = m_kind.size();
    const auto at = [&image](int x, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]; };
    // First what each tile is, so the values are held in one buffer of the exact size.
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
        m_kind[i] = rowsFlat && columnsFlat ? Kind::Flat
                    : rowsFlat             ? Kind::Rows
                    : columnsFlat          ? Kind::Columns
                                           : Kind::Pixels;
    }
    const qint64 count = placeTiles();
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

bool TiledImage::setSize(int width, int height)
{
    // Every offset into the pixels must fit 32 bits.
    if (width <= 0 || height <= 0 || qint64(width) * height > std::numeric_limits<qint32>::max())
        return false;
    m_width = width;
    m_height = height;
    m_columns = (m_width + kTile - 1) / kTile;
    m_rows = (m_height + kTile - 1) / kTile;
    const std::size_t tiles = std::size_t(m_columns) * std::size_t(m_rows);
    m_kind.assign(tiles, Kind::Flat);
    m_value.assign(tiles, 0);
    m_offset.assign(tiles, 0);
    return true;
}

qint64 TiledImage::placeTiles()
{
    qint64 count = 0;
    for (int index = 0; index < int(m_kind.size()); ++index) {
        const QRect rect = tileRect(index);
        m_offset[std::size_t(index)] = qint32(count);
        switch (m_kind[std::size_t(index)]) {
        case Kind::Flat:
            break;
        case Kind::Rows:
            count += rect.height();
            break;
        case Kind::Columns:
            count += rect.width();
            break;
        case Kind::Pixels:
            count += qint64(rect.width()) * rect.height();
            break;
        }
    }
    return count;
}

namespace {

// The bytes' layout: the magic, width, height (32 bits each, little
// endian), then one byte per tile for its kind, then per tile its value,
// then the values of the tiles that hold them (32 bits each, little endian).
constexpr char kMagic[8] = {'K', '4', '8', '1', '2', 'T', 'I', '1'};
constexpr qsizetype kHeaderBytes = sizeof kMagic + 8;

void appendWord(QByteArray& out, quint32 word)
{
    const quint32 le = qToLittleEndian(word);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

quint32 wordAt(const char* at)
{
    return qFromLittleEndian<quint32>(at);
}

} // namespace

QByteArray TiledImage::toBytes() const
{
    if (isNull())
        return {};
    QByteArray out;
    out.reserve(kHeaderBytes + qsizetype(m_kind.size()) * 5 + qsizetype(m_pixels.size()) * 4);
    out.append(kMagic, sizeof kMagic);
    appendWord(out, quint32(m_width));
    appendWord(out, quint32(m_height));
    for (const Kind kind : m_kind)
        out.append(char(kind));
    for (const QRgb value : m_value)
        appendWord(out, value);
    for (const QRgb value : m_pixels)
        appendWord(out, value);
    return out;
}

TiledImage TiledImage::fromBytes(QByteArrayView bytes)
{
    TiledImage tiled;
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return {};
    const char* at = bytes.data() + sizeof kMagic;
    const quint32 width = wordAt(at);
    const quint32 height = wordAt(at + 4);
    // The kinds and values must be there before anything is made for them.
    const qint64 tiles = (qint64(width) + kTile - 1) / kTile * ((qint64(height) + kTile - 1) / kTile);
    if (bytes.size() < kHeaderBytes + tiles * 5 || width > quint32(std::numeric_limits<int>::max()) ||
        height > quint32(std::numeric_limits<int>::max()) || !tiled.setSize(int(width), int(height)))
        return {};
    at = bytes.data() + kHeaderBytes;
    for (qsizetype i = 0; i < tiles; ++i) {
        const auto kind = quint8(at[i]);
        if (kind > quint8(Kind::Pixels))
            return {};
        tiled.m_kind[std::size_t(i)] = Kind(kind);
    }
    at += tiles;
    for (qsizetype i = 0; i < tiles; ++i)
        tiled.m_value[std::size_t(i)] = wordAt(at + i * 4);
    at += tiles * 4;
    const qint64 count = tiled.placeTiles();
    if (bytes.size() != kHeaderBytes + tiles * 5 + count * 4)
        return {};
    tiled.m_pixels.resize(std::size_t(count));
    for (qint64 i = 0; i < count; ++i)
        tiled.m_pixels[std::size_t(i)] = wordAt(at + i * 4);
    return tiled;
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
    const qsizetype decoded = qsizetype(image.width()) * image.height() * 4;
    if (image.isNull() || decoded < kLeastTiledBytes)
        return nullptr;
    auto tiled = std::make_shared<const TiledImage>(image);
    if (tiled->isNull() || tiled->bytes() > decoded / 2)
        return nullptr;
    return tiled;
}

} // namespace k4812
