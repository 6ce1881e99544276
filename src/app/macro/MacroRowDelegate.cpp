#include "app/macro/MacroRowDelegate.h"

#include "app/macro/ActionRows.h"
#include "ui/skin/ImageDataBase.h"
#include "ui/skin/Theme.h"

#include <QPainter>

namespace k4812 {

QListWidgetItem* makeActionItem(const ActionRow& row)
{
    auto* item = new QListWidgetItem(row.text);
    item->setData(kRowKindRole, int(row.kind));
    item->setData(kRowActionRole, row.actionIndex);
    return item;
}

namespace {

const QString kDialogGroup = QStringLiteral("dialog");

void drawIcon(QPainter& painter, const SkinImage& image, const QRect& box)
{
    if (!image.isNull())
        image.draw(painter, box);
}

} // namespace

MacroRowDelegate::MacroRowDelegate(List list, QObject* parent) : QStyledItemDelegate(parent), m_list(list)
{
    TImageDataBase& images = imageDataBase();
    m_errorIcon = images.image(QStringLiteral("error-icon.png"), kDialogGroup);
    m_keyDown = images.image(QStringLiteral("keydown.png"), kDialogGroup);
    m_keyUp = images.image(QStringLiteral("keyup.png"), kDialogGroup);
}

QSize MacroRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight);
}

void MacroRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    const QRect r = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    if (selected)
        painter->fillRect(r, theme::accentDark());
    else if (option.state.testFlag(QStyle::State_MouseOver))
        painter->fillRect(r, theme::controlHot());
    const bool enabled = option.state.testFlag(QStyle::State_Enabled);
    painter->setPen(enabled ? theme::text() : theme::textDisabled());
    painter->setFont(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    const int iconSide = 14;
    const int iconTop = r.top() + (r.height() - iconSide) / 2;

    if (m_list == List::Macros) {
        const bool error = index.data(kRowErrorIconRole).toBool();
        QRect textBox = r.adjusted(8, 0, -8, 0);
        if (error) {
            drawIcon(*painter, m_errorIcon, QRect(r.right() - 8 - iconSide, iconTop, iconSide, iconSide));
            textBox.setRight(textBox.right() - iconSide - 4);
        }
        painter->drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, textBox.width()));
    } else {
        const auto kind = ActionRow::Kind(index.data(kRowKindRole).toInt());
        if (kind == ActionRow::Kind::Delay) {
            painter->drawText(QRect(r.left() + kElapsedColumn, r.top(), r.width() - kElapsedColumn - 4, r.height()),
                              Qt::AlignVCenter | Qt::AlignLeft, text);
        } else {
            const bool down = kind == ActionRow::Kind::KeyDown || kind == ActionRow::Kind::MouseDown;
            drawIcon(*painter, down ? m_keyDown : m_keyUp,
                     QRect(r.left() + kStatusColumn + 8, iconTop, iconSide, iconSide));
            painter->drawText(QRect(r.left() + kButtonColumn, r.top(), kElapsedColumn - kButtonColumn, r.height()),
                              Qt::AlignVCenter | Qt::AlignLeft, text);
        }
    }
    painter->restore();
}

} // namespace k4812
