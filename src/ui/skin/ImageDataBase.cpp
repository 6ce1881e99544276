#include "ui/skin/ImageDataBase.h"

#include "platform/storage/ProgramFolder.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>

namespace k4812 {
namespace {

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QImage readImageFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

TImageDataBase::TImageDataBase() : TImageDataBase(programFolder()) {}

TImageDataBase::TImageDataBase(const QString& APath) : m_basePath(withSlash(APath)), m_loader(readImageFile) {}

TImageDataBase::~TImageDataBase() = default;

void TImageDataBase::SetImageBasePath(const QString& APath)
{
    m_basePath = withSlash(APath);
    m_cache.clear();
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
    QImage normal = m_loader(path);
    if (normal.isNull() || normal.width() <= 0 || normal.height() <= 0)
        return nullptr;
    QImage highDensity;
    if (loadsHighDensity()) {
        highDensity = m_loader(highDensityFileName(path));
        // A 2x file that does not match its 1x image is ignored rather than drawn distorted.
        if (!highDensity.isNull() && highDensity.size() != normal.size() * 2)
            highDensity = QImage();
    }
    m_cache.append({name, path, SkinImage(std::move(normal), std::move(highDensity))});
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
    QString path;
    if (!AImagePath.isEmpty())
        path = AImagePath + AImageName;
    else if (!AImageSubPath.isEmpty())
        path = m_basePath + AImageSubPath + QLatin1Char('/') + AImageName;
    else
        path = m_basePath + AImageName;
    if (const TuiImageData* loaded = load(AImageName, path))
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

TImageDataBase& imageDataBase()
{
    static TImageDataBase shared(programFolder() + QStringLiteral("/Images/0409/"));
    return shared;
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
