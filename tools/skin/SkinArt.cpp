#include "SkinArt.h"

#include "ui/skin/Theme.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace k4812::skin {
namespace {

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QRectF inner(QSizeF size, qreal inset)
{
    return QRectF(QPointF(0, 0), size).adjusted(inset, inset, -inset, -inset);
}

void faceBody(QPainter& p, QSizeF size, QColor top, QColor bottom, QColor edge, qreal radius)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 0.5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(box, radius, radius);
}

} // namespace

void paintButtonFace(QPainter& p, QSizeF size, Face face)
{
    switch (face) {
    case Face::Normal: faceBody(p, size, theme::controlHot(), theme::controlBack(), theme::controlEdge(), 4); break;
    case Face::Hot:
        faceBody(p, size, theme::controlHot().lighter(120), theme::controlHot(), theme::accent(), 4);
        break;
    case Face::Pressed:
        faceBody(p, size, theme::controlPressed(), theme::controlBack(), theme::accent(), 4);
        p.setPen(Qt::NoPen);
        p.setBrush(theme::accent());
        p.drawRoundedRect(QRectF(6, size.height() - 4, size.width() - 12, 2), 1, 1);
        break;
    }
}

void paintAccentButtonFace(QPainter& p, QSizeF size, Face face)
{
    switch (face) {
    case Face::Normal: faceBody(p, size, theme::controlHot(), theme::controlBack(), theme::accentDark(), 5); break;
    case Face::Hot: faceBody(p, size, theme::accentDark(), theme::accentDark().darker(140), theme::accent(), 5); break;
    case Face::Pressed: faceBody(p, size, theme::accent(), theme::accentDark(), theme::accent().lighter(120), 5); break;
    }
}

void paintGlyphButton(QPainter& p, QSizeF size, Face face, char glyph)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 3.5);
    QColor back = face == Face::Normal ? Qt::transparent : (face == Face::Hot ? theme::controlHot() : theme::accentDark());
    if (glyph == 'x' && face != Face::Normal)
        back = face == Face::Hot ? QColor(0xc0, 0x30, 0x20) : QColor(0x90, 0x20, 0x10);
    p.setPen(face == Face::Normal ? QPen(theme::controlEdge(), 1) : Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(box, 6, 6);
    const QColor ink = face == Face::Normal ? theme::textDim() : theme::text();
    QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = box.center();
    const qreal r = box.width() * 0.2;
    if (glyph == 'x') {
        p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
        p.drawLine(c + QPointF(-r, r), c + QPointF(r, -r));
    } else if (glyph == '-') {
        p.drawLine(c + QPointF(-r, r * 0.6), c + QPointF(r, r * 0.6));
    } else { // '?'
        QPainterPath hook;
        hook.moveTo(c + QPointF(-r * 0.8, -r * 0.55));
        hook.arcTo(QRectF(c.x() - r * 0.8, c.y() - r * 1.35, r * 1.6, r * 1.5), 180, -250);
        hook.quadTo(c + QPointF(0, -r * 0.05), c + QPointF(0, r * 0.35));
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(c + QPointF(0, r * 1.0), 1.4, 1.4);
    }
}

void paintSwatch(QPainter& p, QSizeF size, QColor colour)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1.5);
    p.setPen(QPen(theme::controlEdge(), 1));
    p.setBrush(colour);
    p.drawRoundedRect(box, 4, 4);
    // A soft highlight so the swatch reads as a button.
    QLinearGradient shine(box.topLeft(), box.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 70));
    shine.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
}

void paintRecordButton(QPainter& p, QSizeF size, Face face, bool stop)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1.5);
    p.setPen(QPen(face == Face::Normal ? theme::controlEdge() : theme::accent(), 1.5));
    p.setBrush(face == Face::Normal ? theme::controlBack() : theme::controlHot());
    p.drawEllipse(box);
    p.setPen(Qt::NoPen);
    const QPointF c = box.center();
    const qreal r = box.width() * 0.22;
    if (stop) {
        p.setBrush(theme::text());
        p.drawRoundedRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 2, 2);
    } else {
        p.setBrush(QColor(0xe5, 0x39, 0x35));
        p.drawEllipse(c, r * 1.1, r * 1.1);
    }
}

void paintRadio(QPainter& p, QSizeF size, bool checked)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1.5);
    p.setPen(QPen(checked ? theme::accent() : theme::controlEdge(), 1.5));
    p.setBrush(theme::controlPressed());
    p.drawEllipse(box);
    if (checked) {
        p.setPen(Qt::NoPen);
        p.setBrush(theme::accent());
        p.drawEllipse(box.center(), box.width() * 0.27, box.height() * 0.27);
    }
}

void paintCheck(QPainter& p, QSizeF size, bool checked)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1.5);
    p.setPen(QPen(checked ? theme::accent() : theme::controlEdge(), 1.5));
    p.setBrush(theme::controlPressed());
    p.drawRoundedRect(box, 2.5, 2.5);
    if (checked) {
        p.setPen(QPen(theme::accent(), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QList<QPointF>{{box.left() + box.width() * 0.22, box.top() + box.height() * 0.52},
                                      {box.left() + box.width() * 0.42, box.top() + box.height() * 0.74},
                                      {box.left() + box.width() * 0.8, box.top() + box.height() * 0.28}});
    }
}

void paintWarningIcon(QPainter& p, QSizeF size)
{
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath triangle;
    triangle.moveTo(w * 0.5, h * 0.1);
    triangle.lineTo(w * 0.93, h * 0.86);
    triangle.lineTo(w * 0.07, h * 0.86);
    triangle.closeSubpath();
    QRadialGradient glow(QPointF(w / 2, h / 2), w / 2);
    glow.setColorAt(0, withAlpha(theme::warning(), 90));
    glow.setColorAt(1, withAlpha(theme::warning(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QRectF(0, 0, w, h));
    p.setPen(QPen(theme::warning(), w * 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(withAlpha(theme::warning(), 40));
    p.drawPath(triangle);
    p.setPen(QPen(theme::warning(), w * 0.075, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.5, h * 0.37), QPointF(w * 0.5, h * 0.6));
    p.setPen(Qt::NoPen);
    p.setBrush(theme::warning());
    p.drawEllipse(QPointF(w * 0.5, h * 0.73), w * 0.045, w * 0.045);
}

void paintErrorIcon(QPainter& p, QSizeF size)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawEllipse(box);
    p.setPen(QPen(Qt::white, box.width() * 0.14, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = box.center();
    p.drawLine(c + QPointF(0, -box.height() * 0.25), c + QPointF(0, box.height() * 0.05));
    p.drawPoint(c + QPointF(0, box.height() * 0.25));
}

void paintKeyIcon(QPainter& p, QSizeF size, bool down)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1.5);
    p.setPen(QPen(theme::controlEdge(), 1));
    p.setBrush(theme::controlBack());
    p.drawRoundedRect(box, 3, 3);
    const QPointF c = box.center();
    const qreal r = box.width() * 0.25;
    p.setPen(QPen(down ? theme::accent() : theme::textDim(), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal dir = down ? 1 : -1;
    p.drawLine(c + QPointF(0, -r * dir), c + QPointF(0, r * dir));
    p.drawPolyline(QList<QPointF>{c + QPointF(-r * 0.7, r * dir * 0.3), c + QPointF(0, r * dir),
                                  c + QPointF(r * 0.7, r * dir * 0.3)});
}

void paintArrow(QPainter& p, QSizeF size, bool up)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 1);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::controlBack());
    p.drawRoundedRect(box, 3, 3);
    const QPointF c = box.center();
    const qreal r = qMin(box.width(), box.height()) * 0.28;
    const qreal dir = up ? -1 : 1;
    QPainterPath tri;
    tri.moveTo(c + QPointF(-r, -r * 0.5 * dir));
    tri.lineTo(c + QPointF(r, -r * 0.5 * dir));
    tri.lineTo(c + QPointF(0, r * 0.6 * dir));
    tri.closeSubpath();
    p.setBrush(theme::textDim());
    p.drawPath(tri);
}

void paintTestArea(QPainter& p, QSizeF size)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 2);
    const QPointF c = box.center();
    const qreal r = box.width() / 2;
    p.setBrush(Qt::NoBrush);
    for (int ring = 0; ring < 3; ++ring) {
        p.setPen(QPen(ring == 0 ? theme::accent() : theme::controlEdge(), ring == 0 ? 3 : 1.5));
        p.drawEllipse(c, r * (1.0 - ring * 0.3), r * (1.0 - ring * 0.3));
    }
    // A marker off the centre makes the turn visible.
    p.setPen(QPen(theme::text(), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0, -r * 0.95), c + QPointF(0, -r * 0.55));
    p.setPen(Qt::NoPen);
    p.setBrush(theme::accent());
    p.drawEllipse(c, r * 0.12, r * 0.12);
}

void paintTrackBack(QPainter& p, QSizeF size, int ticks)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 0.5);
    p.setPen(QPen(theme::panelEdge(), 1));
    p.setBrush(theme::controlPressed());
    p.drawRoundedRect(box, box.height() / 2, box.height() / 2);
    // Ticks under the track, inside the margin the track bar keeps for its thumb.
    const qreal left = 10;
    const qreal right = size.width() - 10;
    p.setPen(QPen(theme::controlEdge(), 1));
    for (int i = 0; i <= ticks; ++i) {
        const qreal x = left + (right - left) * i / ticks;
        p.drawLine(QPointF(x, size.height() - 7), QPointF(x, size.height() - (i % 5 == 0 ? 3 : 5)));
    }
}

void paintDialogBack(QPainter& p, QSizeF size, qreal topBar)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = inner(size, 0.5);
    p.setPen(QPen(theme::panelEdge(), 1));
    p.setBrush(theme::windowBack());
    p.drawRoundedRect(box, 8, 8);
    QPainterPath bar;
    bar.addRoundedRect(box, 8, 8);
    QPainterPath topPart;
    topPart.addRect(QRectF(0, 0, size.width(), topBar));
    p.setPen(Qt::NoPen);
    p.setBrush(theme::barBack());
    p.drawPath(bar.intersected(topPart));
    QLinearGradient line(0, 0, size.width(), 0);
    line.setColorAt(0, withAlpha(theme::accent(), 0));
    line.setColorAt(0.2, theme::accent());
    line.setColorAt(0.8, theme::accent());
    line.setColorAt(1, withAlpha(theme::accent(), 0));
    p.setBrush(line);
    p.drawRect(QRectF(1, topBar - 1, size.width() - 2, 2));
}

void paintMainBack(QPainter& p, QSizeF size)
{
    constexpr qreal kTop = 80;
    constexpr qreal kBottom = 53;
    constexpr qreal kLeft = 500;
    const qreal w = size.width();
    const qreal h = size.height();
    paintDialogBack(p, size, kTop);
    // Left area: the mouse, drawn as an outline, for the button-set entries around it.
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF left(12, kTop + 12, kLeft - 18, h - kTop - kBottom - 24);
    p.setPen(QPen(theme::panelEdge(), 1));
    p.setBrush(theme::panelBack());
    p.drawRoundedRect(left, 8, 8);
    const QPointF mc(left.center().x(), left.top() + left.height() * 0.46);
    const qreal mw = 120;
    const qreal mh = 200;
    QPainterPath mouse;
    mouse.addRoundedRect(QRectF(mc.x() - mw / 2, mc.y() - mh / 2, mw, mh), mw / 2, mw / 2.2);
    QRadialGradient body(mc, mh * 0.7);
    body.setColorAt(0, theme::controlHot());
    body.setColorAt(1, theme::barBack());
    p.setBrush(body);
    p.setPen(QPen(theme::controlEdge(), 1.5));
    p.drawPath(mouse);
    p.setPen(QPen(theme::controlEdge(), 1.2));
    p.drawLine(QPointF(mc.x(), mc.y() - mh / 2), QPointF(mc.x(), mc.y() - mh * 0.12));
    p.drawLine(QPointF(mc.x() - mw / 2, mc.y() - mh * 0.12), QPointF(mc.x() + mw / 2, mc.y() - mh * 0.12));
    p.setPen(Qt::NoPen);
    p.setBrush(theme::accent());
    p.drawRoundedRect(QRectF(mc.x() - 5, mc.y() - mh * 0.38, 10, 26), 5, 5); // the wheel
    QLinearGradient stripe(0, mc.y() + mh * 0.3, 0, mc.y() + mh * 0.42);
    stripe.setColorAt(0, withAlpha(theme::accent(), 0));
    stripe.setColorAt(1, withAlpha(theme::accent(), 140));
    p.setBrush(stripe);
    p.drawRoundedRect(QRectF(mc.x() - mw * 0.3, mc.y() + mh * 0.3, mw * 0.6, mh * 0.12), 6, 6);
    // Right area: the panel behind the tab pages.
    const QRectF right(kLeft + 6, kTop + 12, w - kLeft - 18, h - kTop - kBottom - 24);
    p.setPen(QPen(theme::panelEdge(), 1));
    p.setBrush(theme::panelBack());
    p.drawRoundedRect(right, 8, 8);
    // Bottom bar.
    QPainterPath whole;
    whole.addRoundedRect(inner(size, 0.5), 8, 8);
    QPainterPath bottom;
    bottom.addRect(QRectF(0, h - kBottom, w, kBottom));
    p.setPen(Qt::NoPen);
    p.setBrush(theme::barBack());
    p.drawPath(whole.intersected(bottom));
    p.setBrush(theme::panelEdge());
    p.drawRect(QRectF(1, h - kBottom, w - 2, 1));
}

} // namespace k4812::skin
