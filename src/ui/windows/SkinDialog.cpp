#include "ui/windows/SkinDialog.h"

#include "ui/controls/UiFont.h"
#include "ui/windows/SkinWindow.h"

#include <QPaintEvent>
#include <QScreen>

namespace k4812 {

SkinDialog::SkinDialog(QWidget* parent, int topBarHeight)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_dragger(new TopBarDragger(this, topBarHeight))
{
    setModal(true);
    setFont(uiFont(9));
    useSkinCorners(*this);
}

void SkinDialog::setBackground(const SkinImage& image)
{
    m_background = image;
    if (!image.isNull())
        setFixedSize(image.size());
    update();
}

void SkinDialog::reject()
{
    done(m_rejectResult);
}

void SkinDialog::centreOn(const QWidget* owner)
{
    if (!owner)
        owner = parentWidget();
    QRect area;
    if (owner && owner->isVisible())
        area = QRect(owner->window()->mapToGlobal(QPoint(0, 0)), owner->window()->size());
    else if (const QScreen* screen = this->screen())
        area = screen->availableGeometry();
    if (area.isValid())
        move(area.topLeft() + QPoint((area.width() - width()) / 2, (area.height() - height()) / 2));
}

void SkinDialog::paintEvent(QPaintEvent* event)
{
    paintSkinBackground(*this, m_background, event->rect());
}

void SkinDialog::showEvent(QShowEvent* event)
{
    centreOn();
    QDialog::showEvent(event);
}

} // namespace k4812
