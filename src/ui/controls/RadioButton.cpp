#include "ui/controls/RadioButton.h"

#include <QKeyEvent>
#include "ui/skin/Theme.h"

#include <QPainter>

namespace k4812 {

RadioButton::RadioButton(QWidget* parent) : CheckBox(parent)
{
    // Releasing the others is done here, by group name; Qt's own exclusivity
    // would tie the buttons of one parent together whatever their group.
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked)
            releaseOthers();
    });
}

void RadioButton::setGroupName(const QString& name)
{
    m_groupName = name;
    if (isChecked())
        releaseOthers();
}

QList<RadioButton*> RadioButton::group() const
{
    if (m_groupName.isEmpty())
        return {const_cast<RadioButton*>(this)};
    QList<RadioButton*> members;
    const auto all = window()->findChildren<RadioButton*>();
    for (RadioButton* button : all) {
        if (button->m_groupName == m_groupName)
            members.append(button);
    }
    if (!members.contains(this))
        members.append(const_cast<RadioButton*>(this)); // not in a window yet
    return members;
}

void RadioButton::releaseOthers()
{
    const auto members = group();
    for (RadioButton* other : members) {
        if (other != this && other->isChecked())
            other->setChecked(false);
    }
}

void RadioButton::nextCheckState()
{
    if (!isChecked())
        setChecked(true);
}

void RadioButton::keyPressEvent(QKeyEvent* event)
{
    int direction = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: direction = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: direction = 1; break;
    default: CheckBox::keyPressEvent(event); return;
    }
    QList<RadioButton*> members = group();
    members.removeIf([this](RadioButton* b) { return b != this && (!b->isEnabled() || !b->isVisibleTo(window())); });
    const qsizetype count = members.size();
    const qsizetype here = members.indexOf(this);
    if (count > 1 && here >= 0) {
        RadioButton* next = members[(here + direction + count) % count];
        next->setFocus(Qt::OtherFocusReason);
        next->click();
    }
    event->accept();
}

void RadioButton::paintFallbackBox(QPainter& painter, const QRectF& box) const
{
    painter.drawEllipse(box);
    if (isChecked()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(isEnabled() ? theme::accent() : Qt::gray);
        painter.drawEllipse(box.center(), box.width() * 0.25, box.height() * 0.25);
    }
}

} // namespace k4812
