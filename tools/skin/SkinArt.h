#pragma once
// The drawing routines of the skin: each paints one image into a painter
// whose coordinates are the image's logical pixels (the caller scales for
// the 2x variant). Shapes only, no text: captions are the controls' own.

#include <QColor>
#include <QPainter>
#include <QSizeF>

namespace k4812::skin {

// The three faces of a button: normal, hot (under the mouse), pressed.
enum class Face { Normal, Hot, Pressed };

void paintButtonFace(QPainter& p, QSizeF size, Face face);
void paintAccentButtonFace(QPainter& p, QSizeF size, Face face); // OK/Cancel, mode buttons
void paintGlyphButton(QPainter& p, QSizeF size, Face face, char glyph); // '?', '-', 'x'
void paintSwatch(QPainter& p, QSizeF size, QColor colour);
void paintRecordButton(QPainter& p, QSizeF size, Face face, bool stop);
void paintRadio(QPainter& p, QSizeF size, bool checked);
void paintCheck(QPainter& p, QSizeF size, bool checked);
void paintWarningIcon(QPainter& p, QSizeF size);
void paintErrorIcon(QPainter& p, QSizeF size);
void paintKeyIcon(QPainter& p, QSizeF size, bool down);
void paintArrow(QPainter& p, QSizeF size, bool up);
void paintTestArea(QPainter& p, QSizeF size);
void paintTrackBack(QPainter& p, QSizeF size, int ticks);
// A dialog background: a top bar of `topBar` pixels over a panel.
void paintDialogBack(QPainter& p, QSizeF size, qreal topBar);
// The main window: top bar 80, left area 500, right area 350, bottom bar 53.
void paintMainBack(QPainter& p, QSizeF size);

} // namespace k4812::skin
