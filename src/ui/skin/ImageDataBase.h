#pragma once
// The skin image store: finds a skin image by name in the skin folder, loads
// it once and hands out copies. The cache is keyed by the name alone: the
// first file loaded under a name serves every later request for that name,
// whatever folder the later request gives. "EMPTY" stands for no image. A
// missing or unreadable file changes nothing and is not remembered, so a
// later request tries the file again.
//
// A large image that is mostly flat colour is kept in tiles (TiledImage),
// compacted on the thread that read it, so the whole decoded image is not
// kept; the shared store keeps the tiles between starts too (SkinTileCache).
// "@2x" images are kept whole.
//
// Beside "name.png" the store also loads "name@2x.png" when the program runs
// on a high-density screen; the controls draw whichever fits the screen.
//
// One shared instance (imageDataBase()) serves the whole program, with the
// skin folder "Images/0409/" of the program folder as its base path. Used
// from the user-interface thread only; only prefetch() reads files on a
// thread of its own.

#include "ui/skin/SkinImage.h"

#include <QList>
#include <QString>

#include <QHash>

#include <functional>
#include <future>
#include <vector>

namespace k4812 {

struct TuiImageData {
    QString ImageName;  // the name it was requested by, "close-1.png"
    QString ImagePath;  // the file it was loaded from
    SkinImage Image;
};

class TImageDataBase {
public:
    static constexpr const char* kEmptyImageName = "EMPTY";
    // Reads an image file; a null image when it cannot.
    using ImageLoader = std::function<QImage(const QString& path)>;

    // Base path: the program folder.
    TImageDataBase();
    explicit TImageDataBase(const QString& APath);
    ~TImageDataBase();
    TImageDataBase(const TImageDataBase&) = delete;
    TImageDataBase& operator=(const TImageDataBase&) = delete;

    // Base path := APath with a "/" appended when missing; the cache is cleared.
    void SetImageBasePath(const QString& APath);
    const QString& ImageBasePath() const { return m_basePath; }

    // Copies the named image into ATargetImage: "EMPTY" gives an empty
    // image; a cached name its cached image; else the file AImagePath + name
    // when AImagePath is given, or base path + AImageSubPath + "/" + name,
    // which is loaded and cached. A file that does not load leaves
    // ATargetImage as it was.
    void AssignIMAGE(SkinImage& ATargetImage, const QString& AImageName, const QString& AImageSubPath = {},
                     const QString& AImagePath = {});
    // The same for one plain pixmap (the 1x image).
    void AssignIMAGE(QPixmap& ATargetImage, const QString& AImageName, const QString& AImageSubPath = {},
                     const QString& AImagePath = {});
    // The named image, loaded from base path + name (or AImagePath + name)
    // when not cached; no subfolder. A null image when it does not load.
    SkinImage IMAGE(const QString& AImageName, const QString& AImagePath = {});

    // Convenience for the windows: the image AssignIMAGE would give an empty target.
    SkinImage image(const QString& AImageName, const QString& AImageSubPath = {});

    // Starts reading the file AssignIMAGE would load for this name and
    // subfolder on a thread of its own, so a large image is decoded while the
    // window is still being built; the request that needs it waits for the
    // read instead of starting it. Nothing happens for a cached name. The
    // reader must be safe to run on another thread (the default one is).
    void prefetch(const QString& AImageName, const QString& AImageSubPath = {});
    // The same for a list of images, read one after another, in the list's
    // order, on one thread (with their "@2x" files when those are loaded).
    struct ImageRef {
        QString name;
        QString subPath;
    };
    void prefetch(const QList<ImageRef>& images);

    const QList<TuiImageData>& cache() const { return m_cache; }
    void clearCache();

    // Whether "@2x" files are loaded too; by default when a screen of the
    // application has a pixel ratio above 1.
    void setLoadHighDensity(bool on) { m_loadHighDensity = on; }
    bool loadsHighDensity() const;
    // Replaces the file reader (tests count the reads with it). The tile
    // cache serves the store's own reader only, so this turns it off.
    void setLoader(ImageLoader loader)
    {
        m_loader = std::move(loader);
        m_tileCacheFolder.clear();
    }
    // Where the tiles of large images are kept between starts
    // (SkinTileCache); empty, the default, keeps none. For the store's own
    // reader: set it before any setLoader().
    void setTileCacheFolder(const QString& folder) { m_tileCacheFolder = folder; }
    // The store's own file reader, for a replacement that wraps it.
    static QImage readFile(const QString& path);

private:
    const TuiImageData* find(const QString& name) const;
    // A file as read: whole, or in tiles (then `image` is null).
    struct Decoded {
        QImage image;
        std::shared_ptr<const TiledImage> tiles;
    };
    static Decoded decode(const ImageLoader& loader, const QString& path, bool tile, const QString& tileCacheFolder);

    const TuiImageData* load(const QString& name, const QString& path);
    QString pathOf(const QString& name, const QString& subPath, const QString& imagePath) const;
    Decoded read(const QString& path, bool tile);

    QString m_basePath;
    QList<TuiImageData> m_cache;
    ImageLoader m_loader;
    QString m_tileCacheFolder;
    QHash<QString, std::shared_future<Decoded>> m_pending; // path -> read under way
    std::vector<std::future<void>> m_readers;             // the prefetch threads, waited for when the cache goes
    int m_loadHighDensity = -1; // -1: decide from the screens
};

// The program's shared store; base path programFolder() + "/Images/0409/".
TImageDataBase& imageDataBase();

// The "@2x" file name of an image file: "a/close-1.png" -> "a/close-1@2x.png".
QString highDensityFileName(const QString& path);

} // namespace k4812
