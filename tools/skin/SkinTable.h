#pragma once
// Every image the windows ask for: its group (subfolder of Images/0409, empty
// for the top folder), its file name, its size in logical pixels and how it
// is drawn. One row per file; a new window adds its rows here.

#include <QList>
#include <QPainter>
#include <QSize>
#include <QString>

#include <functional>

namespace k4812::skin {

struct SkinEntry {
    QString group;
    QString name;
    QSize size;
    std::function<void(QPainter&, QSizeF)> paint;
};

QList<SkinEntry> skinTable();

} // namespace k4812::skin
