#include "FastPng.h"

#include <png.h>

#include <csetjmp>
#include <vector>

namespace k4812::skin {
namespace {

// zlib level 3: at level 4 and above, deflate's lazy matching makes the
// background inflate about a third slower.
constexpr int kCompressionLevel = 3;

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<QByteArray*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

void noFlush(png_structp) {}

// The image's rows as PNG stores them, and its colour type.
struct Rows {
    QImage pixels; // Indexed8, RGB888 or RGBA8888 (not premultiplied)
    int colourType = 0;
};

Rows pngRows(const QImage& compact)
{
    switch (compact.format()) {
    case QImage::Format_Indexed8: return {compact, PNG_COLOR_TYPE_PALETTE};
    case QImage::Format_RGB32:
    case QImage::Format_RGB888: return {compact.convertToFormat(QImage::Format_RGB888), PNG_COLOR_TYPE_RGB};
    default: return {compact.convertToFormat(QImage::Format_RGBA8888), PNG_COLOR_TYPE_RGBA};
    }
}

bool write(const Rows& rows, QByteArray& out)
{
    // Everything is prepared before setjmp: what a longjmp may skip back over is only libpng's own state.
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    if (rows.colourType == PNG_COLOR_TYPE_PALETTE) {
        const QList<QRgb> table = rows.pixels.colorTable();
        for (QRgb colour : table) {
            palette.push_back({png_byte(qRed(colour)), png_byte(qGreen(colour)), png_byte(qBlue(colour))});
            alphas.push_back(png_byte(qAlpha(colour)));
        }
        // Trailing opaque entries need no alpha byte.
        while (!alphas.empty() && alphas.back() == 255)
            alphas.pop_back();
    }
    std::vector<png_bytep> lines;
    for (int y = 0; y < rows.pixels.height(); ++y)
        lines.push_back(const_cast<png_bytep>(rows.pixels.constScanLine(y))); // libpng only reads them

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_IHDR(png, info, png_uint_32(rows.pixels.width()), png_uint_32(rows.pixels.height()), 8, rows.colourType,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty())
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!alphas.empty())
        png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, kCompressionLevel);
    png_write_info(png, info);
    png_write_image(png, lines.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

QByteArray fastDecodingPng(const QImage& compact)
{
    if (compact.isNull())
        return {};
    QByteArray out;
    if (!write(pngRows(compact), out))
        return {};
    return out;
}

} // namespace k4812::skin
