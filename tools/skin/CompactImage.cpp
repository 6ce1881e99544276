#include "CompactImage.h"

#include <QList>
#include <QSet>

#include <algorithm>
#include <utility>

namespace k4812::skin {

QImage compactForm(const QImage& drawn)
{
    const QImage argb = drawn.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> colours;
    bool opaque = true;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            opaque = opaque && qAlpha(line[x]) == 255;
            if (colours.size() <= 256)
                colours.insert(line[x]);
        }
    }
    if (colours.size() <= 256) {
        // A set's order changes with each process's hash seed; the table must
        // not, or the same art gives different files. Opaque colours go last:
        // the PNG then needs no alpha byte for them.
        QList<QRgb> table(colours.cbegin(), colours.cend());
        std::sort(table.begin(), table.end(), [](QRgb a, QRgb b) {
            return std::make_pair(qAlpha(a), a) < std::make_pair(qAlpha(b), b);
        });
        return argb.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither | Qt::AvoidDither);
    }
    return opaque ? argb.convertToFormat(QImage::Format_RGB32) : argb;
}

} // namespace k4812::skin
