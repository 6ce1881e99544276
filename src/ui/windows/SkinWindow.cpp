#include "ui/windows/SkinWindow.h"

#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>

namespace k4812 {

SkinWindow::SkinWindow(QWidget* parent, int topBarHeight)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_dragger(new TopBarDragger(this, topBarHeight))
{
    setFont(uiFont(9));
    useSkinCorners(*this);
}

void SkinWindow::setBackground(const SkinImage& image)
{
    m_background = image;
    if (!image.isNull())
        setFixedSize(image.size());
    update();
}

void SkinWindow::paintEvent(QPaintEvent* event)
{
    paintSkinBackground(*this, m_background, event->rect());
}

void paintSkinBackground(QWidget& window, const SkinImage& background, const QRect& exposed)
{
    QPainter painter(&window);
    if (background.isNull()) {
        painter.fillRect(window.rect(), theme::windowBack());
        return;
    }
    if (!window.testAttribute(Qt::WA_TranslucentBackground))
        painter.fillRect(window.rect(), theme::windowBack());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize size = background.size();
    if (window.width() != size.width() || window.height() <= size.height() || size.height() < 3) {
        background.draw(painter, window.rect(), exposed);
        return;
    }
    const QPixmap pixmap = background.pixmapFor(paintPixelRatio(painter));
    // A window grown taller than its skin (a message dialog with a long
    // text): the top and bottom halves are drawn as they are and the row
    // between them is stretched over the gap, so the bars and rounded
    // corners keep their shape.
    const qreal scale = pixmap.width() / qreal(size.width()); // image pixels per logical pixel
    const int half = size.height() / 2;
    const int gap = window.height() - size.height();
    const auto source = [scale](int y, int h, int w) { return QRectF(0, y * scale, w * scale, h * scale); };
    const int w = size.width();
    painter.drawPixmap(QRectF(0, 0, w, half), pixmap, source(0, half, w));
    painter.drawPixmap(QRectF(0, half, w, gap + 1), pixmap, source(half, 1, w));
    painter.drawPixmap(QRectF(0, half + gap, w, size.height() - half), pixmap,
                       source(half, size.height() - half, w));
}

void useSkinCorners(QWidget& window)
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window.setAttribute(Qt::WA_TranslucentBackground);
}

} // namespace k4812
