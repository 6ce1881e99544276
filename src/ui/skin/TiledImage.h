#pragma once
// A large skin image held compactly: cut into square tiles, a tile whose
// pixels all have one value is kept as that value, one whose rows (or
// columns) each have one value as those values (a gradient's tile), the
// others as their pixels. The skin's backgrounds are mostly flat colour, so
// the window's background takes a tenth of its 2.2 MB decoded size.
//
// Drawn at its own size (one image pixel on one device pixel), the tiles
// give exactly the pixels drawing the whole image would; only the tiles
// meeting the exposed area are drawn.

#include <QImage>
#include <QRect>

#include <memory>
#include <vector>

class QPainter;

namespace k4812 {

class TiledImage {
public:
    static constexpr int kTile = 16; // tile edge in pixels

    TiledImage() = default;
    // The image (any format; held as premultiplied ARGB32) in tiles.
    explicit TiledImage(const QImage& image);

    bool isNull() const { return m_width <= 0 || m_height <= 0; }
    QSize size() const { return {m_width, m_height}; }
    // The bytes the tiles take.
    qsizetype bytes() const;
    // Premultiplied ARGB32; 0 outside the image.
    QRgb pixel(QPoint at) const;
    // The whole image again, premultiplied ARGB32.
    QImage toImage() const;

    // The tiles as bytes, to be kept in a file, and back. fromBytes() gives
    // a null image for anything toBytes() did not write: a wrong length, an
    // unknown kind of tile, a size too large.
    QByteArray toBytes() const;
    static TiledImage fromBytes(QByteArrayView bytes);

    // Whether draw() gives on this painter what drawing the whole image
    // would: no scale, rotation or fractional shift, full opacity, the
    // usual "source over" blending, one device pixel per logical pixel.
    static bool drawsExactlyOn(QPainter& painter);
    // Draws the image with its top left corner at `topLeft`, the tiles
    // meeting `exposed` (logical coordinates) only.
    void draw(QPainter& painter, QPoint topLeft, const QRect& exposed) const;

private:
    enum class Kind : quint8 { Flat, Rows, Columns, Pixels };

    QRect tileRect(int index) const;
    // Sets the size and the tile grid; false (and a null image) for a size
    // whose pixel offsets would not fit 32 bits.
    bool setSize(int width, int height);
    // Sets every tile's offset from the kinds; the number of values they take.
    qint64 placeTiles();
    // Writes a tile's pixels, `stride` pixels from one row to the next.
    void expand(int index, QRgb* out, qsizetype stride) const;
    // A view (no copy) of the pixels of a tile held as pixels.
    QImage tileImage(int index) const;

    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<Kind> m_kind;        // per tile, row by row
    std::vector<QRgb> m_value;       // per tile: its value (flat tiles)
    std::vector<qint32> m_offset;    // per tile: where its values or pixels start in m_pixels
    std::vector<QRgb> m_pixels;      // row values, column values or a tile's rows one after another
};

// Below this decoded size (64 KiB) the tiles' bookkeeping is not worth it.
inline constexpr qsizetype kLeastTiledBytes = 64 * 1024;

// The image as a skin image holds it: in tiles when that takes at most half
// its decoded size and the image is large enough for it to matter; else null.
std::shared_ptr<const TiledImage> tiledIfSmaller(const QImage& image);

} // namespace k4812
