#include "ui/skin/SkinTileCache.h"

#include "platform/storage/ProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

namespace k4812 {

namespace {

constexpr auto kDigest = QCryptographicHash::Sha1;
constexpr qsizetype kDigestBytes = 20;
// No skin image's tiles come near this; a larger file is no entry of ours.
constexpr qint64 kLargestEntry = 64 * 1024 * 1024;

} // namespace

QString SkinTileCache::defaultFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    return cache + QLatin1Char('/') + QLatin1String(kApplicationName) + QLatin1String("/skin-tiles");
}

QString SkinTileCache::entryPath(const QByteArray& fileBytes) const
{
    return m_folder + QLatin1Char('/') +
           QString::fromLatin1(QCryptographicHash::hash(fileBytes, kDigest).toHex()) + QLatin1String(".tiles");
}

std::shared_ptr<const TiledImage> SkinTileCache::find(const QByteArray& fileBytes) const
{
    if (m_folder.isEmpty())
        return nullptr;
    QFile file(entryPath(fileBytes));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestEntry)
        return nullptr;
    const QByteArray entry = file.readAll();
    if (entry.size() < kDigestBytes)
        return nullptr;
    const QByteArrayView tiles = QByteArrayView(entry).sliced(kDigestBytes);
    if (QCryptographicHash::hash(tiles, kDigest) != QByteArrayView(entry).first(kDigestBytes))
        return nullptr;
    auto image = std::make_shared<const TiledImage>(TiledImage::fromBytes(tiles));
    return image->isNull() ? nullptr : image;
}

void SkinTileCache::keep(const QByteArray& fileBytes, const TiledImage& tiles) const
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return;
    const QByteArray bytes = tiles.toBytes();
    // Written beside the entry and renamed over it, so a reader meets the
    // old entry or the whole new one. Not synced: an entry cut short by a
    // crash fails its digest and is written again.
    QTemporaryFile file(m_folder + QLatin1String("/.entry-XXXXXX"));
    if (!file.open())
        return;
    const bool written = file.write(QCryptographicHash::hash(bytes, kDigest)) == kDigestBytes &&
                         file.write(bytes) == bytes.size() && file.flush();
    if (written &&
        std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(entryPath(fileBytes)).constData()) == 0)
        file.setAutoRemove(false);
}

} // namespace k4812
