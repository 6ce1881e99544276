#include "ui/skin/ImageDataBase.h"

#include "platform/storage/ProgramFolder.h"
#include "ui/skin/SkinTileCache.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QtEndian>

#include <system_error>

namespace k4812 {
namespace {

// A skin file larger than this is decoded as it is, never looked up in the tile cache.
constexpr qint64 kLargestTiledFile = 16 * 1024 * 1024;

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// The bytes of a PNG file whose header gives an image large enough to be
// kept in tiles; empty for any other file, of which only the header is read.
QByteArray bytesOfAPngWorthTiling(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // The signature, then the IHDR chunk's length and name, then width and height (big endian).
    const QByteArray head = file.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
        return {};
    const quint32 width = qFromBigEndian<quint32>(head.constData() + 16);
    const quint32 height = qFromBigEndian<quint32>(head.constData() + 20);
    if (qint64(width) * height * 4 < kLeastTiledBytes || file.size() > kLargestTiledFile)
        return {};
    return head + file.readAll();
}

// The image as the store holds it; converted in place: the image just read
// is not shared, so no second buffer is made.
QImage premultiplied(QImage image)
{
    return image.isNull() ? QImage() : std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A PNG file's bytes already read (to look up their tiles), decoded as readFile would.
QImage decodePngBytes(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    return premultiplied(reader.read());
}

QImage readAs(const QString& path, const QByteArray& format)
{
    QImageReader reader(path, format);
    // Told the format, the reader goes straight to its handler; left to find
    // it, the reader loads every image-format plugin to ask whether it reads
    // the file, which costs more than decoding a small image.
    reader.setAutoDetectImageFormat(format.isEmpty());
    reader.setAutoTransform(false);
    return reader.read();
}

} // namespace

TImageDataBase::TImageDataBase() : TImageDataBase(programFolder()) {}

QImage TImageDataBase::readFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    // Skin files are PNG files; one in another format under a skin name
    // still loads, found by the reader.
    QImage image = readAs(path, QByteArrayLiteral("png"));
    if (image.isNull())
        image = readAs(path, {});
    return premultiplied(std::move(image));
}

TImageDataBase::TImageDataBase(const QString& APath)
    : m_basePath(withSlash(APath)), m_loader(&TImageDataBase::readFile)
{
}

TImageDataBase::~TImageDataBase() = default;

void TImageDataBase::SetImageBasePath(const QString& APath)
{
    m_basePath = withSlash(APath);
    clearCache();
}

void TImageDataBase::clearCache()
{
    m_cache.clear();
    for (const auto& pending : std::as_const(m_pending))
        pending.wait();
    m_pending.clear();
    m_readers.clear(); // each waits for its thread
}

QString TImageDataBase::pathOf(const QString& name, const QString& subPath, const QString& imagePath) const
{
    if (!imagePath.isEmpty())
        return imagePath + name;
    if (!subPath.isEmpty())
        return m_basePath + subPath + QLatin1Char('/') + name;
    return m_basePath + name;
}

void TImageDataBase::prefetch(const QString& AImageName, const QString& AImageSubPath)
{
    prefetch(QList<ImageRef>{{AImageName, AImageSubPath}});
}

void TImageDataBase::prefetch(const QList<ImageRef>& images)
{
    const bool highDensity = loadsHighDensity();
    QStringList paths;
    std::vector<bool> tile; // the 1x files are kept in tiles when that pays
    for (const ImageRef& image : images) {
        if (image.name == QLatin1String(kEmptyImageName) || find(image.name))
            continue;
        const QString path = pathOf(image.name, image.subPath, {});
        if (m_pending.contains(path) || paths.contains(path))
            continue;
        paths.append(path);
        tile.push_back(true);
        if (highDensity) {
            paths.append(highDensityFileName(path));
            tile.push_back(false);
        }
    }
    if (paths.isEmpty())
        return;
    auto results = std::make_shared<std::vector<std::promise<Decoded>>>(std::size_t(paths.size()));
    QList<std::shared_future<Decoded>> futures;
    for (auto& result : *results)
        futures.append(result.get_future().share());
    try {
        m_readers.push_back(std::async(std::launch::async, [loader = m_loader, paths, tile, results,
                                                            tileCache = m_tileCacheFolder] {
            for (qsizetype i = 0; i < paths.size(); ++i) {
                // A read that fails in any way is a file that did not load; the files after it are still read.
                Decoded decoded;
                try {
                    decoded = decode(loader, paths[i], tile[std::size_t(i)], tileCache);
                } catch (...) {
                    decoded = Decoded();
                }
                (*results)[std::size_t(i)].set_value(std::move(decoded));
            }
        }));
    } catch (const std::system_error&) {
        return; // no thread to spare: the files are read when they are needed
    }
    for (qsizetype i = 0; i < paths.size(); ++i)
        m_pending.insert(paths[i], futures[i]);
}

TImageDataBase::Decoded TImageDataBase::decode(const ImageLoader& loader, const QString& path, bool tile,
                                               const QString& tileCacheFolder)
{
    const SkinTileCache cache(tile ? tileCacheFolder : QString());
    const QByteArray fileBytes = tile && !tileCacheFolder.isEmpty() ? bytesOfAPngWorthTiling(path) : QByteArray();
    if (!fileBytes.isEmpty()) {
        if (std::shared_ptr<const TiledImage> kept = cache.find(fileBytes))
            return {QImage(), std::move(kept)};
    }
    // The bytes of a file looked up in vain are not read again: with the
    // cache on, the reader is the store's own (setLoader turns it off).
    Decoded decoded{fileBytes.isEmpty() ? loader(path) : decodePngBytes(fileBytes), nullptr};
    if (tile) {
        decoded.tiles = tiledIfSmaller(decoded.image);
        if (decoded.tiles) {
            decoded.image = QImage(); // the whole image goes as soon as its tiles are made
            if (!fileBytes.isEmpty())
                cache.keep(fileBytes, *decoded.tiles);
        }
    }
    return decoded;
}

TImageDataBase::Decoded TImageDataBase::read(const QString& path, bool tile)
{
    const auto pending = m_pending.constFind(path);
    if (pending == m_pending.cend())
        return decode(m_loader, path, tile, m_tileCacheFolder);
    Decoded decoded = pending->get();
    m_pending.erase(pending);
    return decoded;
}

bool TImageDataBase::loadsHighDensity() const
{
    if (m_loadHighDensity >= 0)
        return m_loadHighDensity != 0;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    const auto screens = QGuiApplication::screens();
    for (const QScreen* screen : screens) {
        if (screen->devicePixelRatio() > 1.0)
            return true;
    }
    return false;
}

const TuiImageData* TImageDataBase::find(const QString& name) const
{
    for (const TuiImageData& entry : m_cache) {
        if (entry.ImageName == name) // exact, case-sensitive
            return &entry;
    }
    return nullptr;
}

const TuiImageData* TImageDataBase::load(const QString& name, const QString& path)
{
    Decoded normal = read(path, true);
    const QSize size = normal.tiles ? normal.tiles->size() : normal.image.size();
    if (size.width() <= 0 || size.height() <= 0)
        return nullptr;
    QImage highDensity;
    if (loadsHighDensity()) {
        highDensity = read(highDensityFileName(path), false).image;
        // A 2x file that does not match its 1x image is ignored rather than drawn distorted.
        if (!highDensity.isNull() && highDensity.size() != size * 2)
            highDensity = QImage();
    }
    m_cache.append({name, path,
                    normal.tiles ? SkinImage(std::move(normal.tiles), std::move(highDensity))
                                 : SkinImage(std::move(normal.image), std::move(highDensity))});
    return &m_cache.constLast();
}

void TImageDataBase::AssignIMAGE(SkinImage& ATargetImage, const QString& AImageName, const QString& AImageSubPath,
                                 const QString& AImagePath)
{
    if (AImageName == QLatin1String(kEmptyImageName)) {
        ATargetImage = SkinImage();
        return;
    }
    if (const TuiImageData* cached = find(AImageName)) {
        ATargetImage = cached->Image;
        return;
    }
    if (const TuiImageData* loaded = load(AImageName, pathOf(AImageName, AImageSubPath, AImagePath)))
        ATargetImage = loaded->Image;
}

void TImageDataBase::AssignIMAGE(QPixmap& ATargetImage, const QString& AImageName, const QString& AImageSubPath,
                                 const QString& AImagePath)
{
    SkinImage image;
    if (AImageName != QLatin1String(kEmptyImageName)) {
        AssignIMAGE(image, AImageName, AImageSubPath, AImagePath);
        if (image.isNull())
            return; // not loaded: the target keeps what it had
    }
    ATargetImage = image.isNull() ? QPixmap() : QPixmap::fromImage(image.normal());
}

SkinImage TImageDataBase::IMAGE(const QString& AImageName, const QString& AImagePath)
{
    if (const TuiImageData* cached = find(AImageName))
        return cached->Image;
    const QString path = (AImagePath.isEmpty() ? m_basePath : AImagePath) + AImageName;
    const TuiImageData* loaded = load(AImageName, path);
    return loaded ? loaded->Image : SkinImage();
}

SkinImage TImageDataBase::image(const QString& AImageName, const QString& AImageSubPath)
{
    SkinImage result;
    AssignIMAGE(result, AImageName, AImageSubPath);
    return result;
}

namespace {

TImageDataBase& sharedStore()
{
    static TImageDataBase& shared = []() -> TImageDataBase& {
        static TImageDataBase store(programFolder() + QStringLiteral("/Images/0409/"));
        store.setTileCacheFolder(SkinTileCache::defaultFolder());
        return store;
    }();
    return shared;
}

void releaseSharedImages()
{
    // The cached images hold pixmaps, which must go before the application does.
    sharedStore().clearCache();
}

} // namespace

TImageDataBase& imageDataBase()
{
    static const bool releasedWithTheApplication = [] {
        if (QCoreApplication::instance())
            qAddPostRoutine(releaseSharedImages);
        return true;
    }();
    (void)releasedWithTheApplication;
    return sharedStore();
}

QString highDensityFileName(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    const QString folder = path.left(path.size() - info.fileName().size());
    if (suffix.isEmpty())
        return folder + info.fileName() + QStringLiteral("@2x");
    return folder + info.completeBaseName() + QStringLiteral("@2x.") + suffix;
}

} // namespace k4812
