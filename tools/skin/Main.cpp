// k4812-skin: draws the program's skin into a skin folder, every image at 1x
// ("name.png") and 2x ("name@2x.png"). Run by the build; the images are
// original art drawn with QPainter from the table in SkinTable.cpp.
//
//   k4812-skin OUTPUT_FOLDER

#include "CompactImage.h"
#include "FastPng.h"
#include "SkinTable.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

namespace {

bool writeImage(const k4812::skin::SkinEntry& entry, const QString& path, int scale)
{
    QImage image(entry.size * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.scale(scale, scale);
        entry.paint(painter, QSizeF(entry.size));
    }
    // Written whole or not at all, so an interrupted build leaves no half image.
    const QByteArray png = k4812::skin::fastDecodingPng(k4812::skin::compactForm(image));
    QSaveFile file(path);
    if (png.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(png) != png.size() || !file.commit()) {
        std::fprintf(stderr, "k4812-skin: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: k4812-skin OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(args[1]);
    int written = 0;
    for (const k4812::skin::SkinEntry& entry : k4812::skin::skinTable()) {
        const QString folder = entry.group.isEmpty() ? out.path() : out.filePath(entry.group);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "k4812-skin: cannot create %s\n", qPrintable(folder));
            return 1;
        }
        const QFileInfo name(entry.name);
        const QString normal = folder + QLatin1Char('/') + entry.name;
        const QString doubled =
            folder + QLatin1Char('/') + name.completeBaseName() + QStringLiteral("@2x.") + name.suffix();
        if (!writeImage(entry, normal, 1) || !writeImage(entry, doubled, 2))
            return 1;
        written += 2;
    }
    std::printf("k4812-skin: %d images in %s\n", written, qPrintable(out.path()));
    return 0;
}
