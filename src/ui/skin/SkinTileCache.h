#pragma once
// The tiles of the skin's large images, kept between starts. Decoding the
// main window's 850x655 background and cutting it into tiles takes about
// 20 ms of a processor while the window is being built, beside the toolkit's
// own start; the kept tiles load in a fraction of a millisecond.
//
// An entry is named by a digest of the image file's bytes, so a changed or
// replaced skin file never finds the tiles of its old content. Each entry
// carries a digest of its own bytes: a damaged or cut-short entry is not
// used, and the image is decoded as if there were none. It is a cache:
// nothing is lost when an entry cannot be written or read.

#include "ui/skin/TiledImage.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace k4812 {

class SkinTileCache {
public:
    // The folder the entries go in; an empty folder keeps nothing.
    explicit SkinTileCache(QString folder) : m_folder(std::move(folder)) {}

    // The tiles kept for an image file of these bytes; null when there are
    // none or they cannot be used.
    std::shared_ptr<const TiledImage> find(const QByteArray& fileBytes) const;
    // Keeps the tiles for an image file of these bytes; a failure is ignored.
    void keep(const QByteArray& fileBytes, const TiledImage& tiles) const;

    // The entry's file for an image file of these bytes.
    QString entryPath(const QByteArray& fileBytes) const;

    // The program's folder: "k4812/skin-tiles" in the user's cache folder.
    static QString defaultFolder();

private:
    QString m_folder;
};

} // namespace k4812
