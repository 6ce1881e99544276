#include "ui/windows/SkinWindow.h"

#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QPainter>

namespace k4812 {

SkinWindow::SkinWindow(QWidget* parent, int topBarHeight)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_dragger(new TopBarDragger(this, topBarHeight))
{
    setFont(uiFont(9));
}

void SkinWindow::setBackground(const SkinImage& image)
{
    m_background = image;
    if (!image.isNull())
        setFixedSize(image.size());
    update();
}

void SkinWindow::paintEvent(QPaintEvent*)
{
    paintSkinBackground(*this, m_background);
}

void paintSkinBackground(QWidget& window, const SkinImage& background)
{
    QPainter painter(&window);
    if (background.isNull()) {
        painter.fillRect(window.rect(), theme::windowBack());
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(window.rect(), background.pixmapFor(paintPixelRatio(painter)));
}

} // namespace k4812
