// The skin the build draws holds every image the windows ask for, under the
// group they ask in, with a 2x variant of twice the size.

#include "ui/skin/ImageDataBase.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

namespace k4812 {
namespace {

const QString kSkin = QStringLiteral(K4812_BIN_DIR "/Images/0409/");

struct Expected {
    QString group; // empty: the skin folder itself
    QString name;
    QSize size;    // empty: any size
};

QList<Expected> namedImages()
{
    QList<Expected> expected = {
        {"dialog", "mainback.png", {850, 655}},      {"dialog", "messagedialog.png", {458, 246}},
        {"dialog", "HelpPage-back.png", {446, 446}}, {"dialog", "warning-icon.png", {80, 80}},
        {"dialog", "macrodialog.png", {}},           {"controls", "DPISetting-back.png", {}},
        {"controls", "Trackbar-back.png", {}},       {"controls", "testarea.png", {}},
        {"buttons", "mode-1.png", {}},               {"buttons", "mode-2.png", {}},
        {"", "radio-unchecked.png", {}},             {"", "radio-checked.png", {}},
        {"dialog", "startrecord-1.png", {}},         {"dialog", "startrecord-2.png", {}},
        {"dialog", "stoprecord-1.png", {}},          {"dialog", "stoprecord-2.png", {}},
    };
    const auto faces = [&expected](const QString& group, const QString& stem, QSize size) {
        for (int face = 1; face <= 3; ++face)
            expected.append({group, QStringLiteral("%1-%2.png").arg(stem).arg(face), size});
    };
    for (const char* stem : {"preset", "profile1", "Profile5", "ButtonAssign"})
        faces("buttons", stem, {});
    for (const char* stem : {"help", "min", "close"})
        faces("buttons", stem, {35, 35});
    faces("dialog", "close", {35, 35});
    faces("dialog", "DLG-OK", {});
    faces("", "min", {35, 35});
    return expected;
}

TEST(GeneratedSkinTest, EveryNamedImageExistsAtBothDensities)
{
    for (const Expected& e : namedImages()) {
        const QString path = kSkin + (e.group.isEmpty() ? QString() : e.group + QLatin1Char('/')) + e.name;
        const QImage normal(path);
        const QImage doubled(highDensityFileName(path));
        ASSERT_FALSE(normal.isNull()) << qPrintable(path);
        ASSERT_FALSE(doubled.isNull()) << qPrintable(highDensityFileName(path));
        EXPECT_EQ(doubled.size(), normal.size() * 2) << qPrintable(e.name);
        if (!e.size.isEmpty()) {
            EXPECT_EQ(normal.size(), e.size) << qPrintable(e.name);
        }
    }
}

TEST(GeneratedSkinTest, SwatchesShowTheSixLightColours)
{
    const QColor colours[] = {QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0xFF, 0x00), QColor(0x00, 0xFF, 0x00),
                              QColor(0x03, 0x61, 0x60), QColor(0xFF, 0x00, 0xFF), QColor(0x00, 0x00, 0xFF)};
    for (int i = 0; i < 6; ++i) {
        for (const QString& file : {QStringLiteral("c%1.png"), QStringLiteral("c%1@2x.png")}) {
            const QImage swatch(kSkin + QStringLiteral("buttons/") + file.arg(i + 1));
            ASSERT_FALSE(swatch.isNull()) << i;
            // Below the highlight, the swatch is its colour.
            const QColor shown = swatch.pixelColor(swatch.width() / 2, swatch.height() * 3 / 4);
            EXPECT_EQ(shown.rgb(), colours[i].rgb()) << qPrintable(file.arg(i + 1));
        }
    }
}

} // namespace
} // namespace k4812
