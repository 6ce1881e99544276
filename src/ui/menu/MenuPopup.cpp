#include "ui/menu/MenuPopup.h"

#include "i18n/Translation.h"
#include "ui/menu/MenuAccessibility.h"
#include "ui/menu/MenuKeyboard.h"
#include "ui/menu/TuiMenuEx.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace k4812 {

MenuPopup::MenuPopup(TuiMenuEx& menu, TuiMenuItemsEx& list, std::optional<std::uint64_t> selectedId)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint), m_menu(menu), m_list(list)
{
    const TMenuParams& params = menu.Parameters;
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFont(params.ItemFont);

    TuiMenuItemEx* owner = list.Owner();
    setObjectName(owner == nullptr ? menu.objectName() : menu.objectName() + QLatin1Char('.') + owner->Name());

    for (int i = 0; i < list.Count(); ++i) {
        auto* row = new MenuRow(params, this);
        row->setObjectName(list[i].Name());
        row->setItemId(list[i].ItemID());
        m_rows.push_back(row);
    }
    refresh(selectedId);
}

void MenuPopup::refresh(std::optional<std::uint64_t> selectedId)
{
    const TMenuParams& params = m_menu.Parameters;
    TuiMenuItemsEx& list = m_list;
    TuiMenuItemEx* owner = list.Owner();
    setAccessibleName(translate(owner == nullptr ? m_menu.Title : owner->Caption));
    const int height = m_menu.itemHeight();
    const QMargins margins = params.BGMargins;
    int longest = 0;
    const QFontMetrics metrics(params.ItemFont);
    const int count = std::min(list.Count(), int(m_rows.size()));
    for (int i = 0; i < count; ++i) {
        const TuiMenuItemEx& item = list[i];
        MenuRow* row = m_rows[std::size_t(i)];
        row->setText(translate(item.Caption));
        row->setIsExtender(item.IsExtender());
        row->setIsChecked(item.Checked);
        row->setGeometry(margins.left(), margins.top() + i * height, 0, height);
        longest = std::max(longest, metrics.horizontalAdvance(row->text()));
    }
    MenuSizeInput size;
    size.itemCount = list.Count();
    size.itemHeight = height;
    size.longestTextWidth = longest;
    size.marginLeft = margins.left();
    size.marginTop = margins.top();
    size.marginRight = margins.right();
    size.marginBottom = margins.bottom();
    size.screenHeight = screen() != nullptr ? screen()->geometry().height() : 0;
    size.customWidth = params.CustomWidth;
    size.customHeight = params.CustomHeight;
    QSize popupSize = menuPopupSize(size);
    // A list with a maximum item width is never wider than that; its rows
    // shorten what does not fit and keep the whole caption as tool tip.
    const int maxItem = list.ItemMaxSize();
    if (maxItem > 0)
        popupSize.setWidth(std::min(popupSize.width(), maxItem + margins.left() + margins.right()));
    setFixedSize(popupSize);
    for (MenuRow* row : m_rows) {
        row->resize(popupSize.width() - margins.left() - margins.right(), height);
        row->setToolTip(maxItem > 0 ? row->text() : QString());
    }

    // The selected look follows the list's selection; an item's own
    // IsSelected adds it where the owner asks for it.
    m_current = list.ShownSelection(selectedId);
    for (int i = 0; i < count; ++i)
        m_rows[std::size_t(i)]->setIsSelected(i == m_current || list[i].IsSelected);
}

int MenuPopup::rowAt(const QPoint& pos) const
{
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (m_rows[std::size_t(i)]->geometry().contains(pos))
            return i;
    }
    return -1;
}

QRect MenuPopup::rowGlobalRect(int row) const
{
    const MenuRow* r = m_rows[std::size_t(row)];
    return {mapToGlobal(r->pos()), r->size()};
}

void MenuPopup::setCurrentRow(int row)
{
    if (row == m_current)
        return;
    if (m_current >= 0)
        m_rows[std::size_t(m_current)]->setIsSelected(m_list[m_current].IsSelected);
    m_current = row;
    if (row >= 0)
        m_rows[std::size_t(row)]->setIsSelected(true);
    m_list.SetItemIndex(row);
    if (isVisible())
        announceFocus();
}

MenuPopup* MenuPopup::subMenu() const
{
    return m_menu.subMenuOf(*this);
}

void MenuPopup::announceFocus()
{
    QWidget* focus = m_current >= 0 ? static_cast<QWidget*>(m_rows[std::size_t(m_current)]) : this;
    QAccessibleEvent event(focus, QAccessible::Focus);
    announceMenuEvent(event);
}

void MenuPopup::announceOpened()
{
    // A list of the application's tree appears: its parent gains a child,
    // then a screen reader hears that a menu opened and where the focus is.
    QAccessibleEvent created(this, QAccessible::ObjectCreated);
    announceMenuEvent(created);
    QAccessibleEvent start(this, QAccessible::PopupMenuStart);
    announceMenuEvent(start);
    announceFocus();
}

void MenuPopup::chooseRow(int row)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    setCurrentRow(row);
    if (m_list[row].IsExtender())
        m_menu.openSubMenu(*this, row);
    else
        m_menu.chooseLeaf(m_list, &m_list[row]);
}

void MenuPopup::hoverAt(const QPoint& pos)
{
    const int row = rowAt(pos);
    if (row == m_hover)
        return;
    if (m_hover >= 0)
        m_rows[std::size_t(m_hover)]->setHovered(false);
    m_hover = row;
    if (row < 0)
        return;
    m_rows[std::size_t(row)]->setHovered(true);
    m_menu.closeSubMenusOf(*this);
    if (m_list[row].IsExtender())
        m_menu.openSubMenu(*this, row);
    else
        setFocus(Qt::MouseFocusReason);
}

void MenuPopup::pressAt(const QPoint& pos)
{
    const int row = rowAt(pos);
    if (row >= 0)
        setCurrentRow(row);
    m_menu.itemPressed(row >= 0 ? &m_list[row] : nullptr);
}

void MenuPopup::releaseAt(const QPoint& pos)
{
    const int row = rowAt(pos);
    m_menu.itemReleased(*this, row >= 0 ? &m_list[row] : nullptr);
}

MenuPopup* MenuPopup::passOnTarget(const QPoint& globalPos) const
{
    if (rect().contains(mapFromGlobal(globalPos)))
        return nullptr;
    return m_menu.ancestorAt(*this, globalPos);
}

void MenuPopup::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_menu.Parameters.BGFill);
    p.setPen(m_menu.Parameters.ItemDownFill);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MenuPopup::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (MenuPopup* other = passOnTarget(global))
        other->hoverAt(other->mapFromGlobal(global));
    else
        hoverAt(event->position().toPoint());
}

void MenuPopup::mousePressEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    if (rect().contains(event->position().toPoint())) {
        pressAt(event->position().toPoint());
    } else if (MenuPopup* other = passOnTarget(global)) {
        other->pressAt(other->mapFromGlobal(global));
    } else {
        // A press outside every list of the tree dismisses the menu.
        m_menu.CloseMenu();
    }
}

void MenuPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() != Qt::LeftButton)
        return;
    if (rect().contains(event->position().toPoint()))
        releaseAt(event->position().toPoint());
    else if (MenuPopup* other = passOnTarget(global))
        other->releaseAt(other->mapFromGlobal(global));
}

void MenuPopup::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseRow(m_current);
        return;
    default:
        break;
    }
    QStringList texts;
    for (const MenuRow* row : m_rows)
        texts << row->text();
    setCurrentRow(keyboardSelection(texts, m_current, event->key(), event->text()));
}

void MenuPopup::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!m_hiddenReported) {
        m_hiddenReported = true;
        QAccessibleEvent end(this, QAccessible::PopupMenuEnd);
        announceMenuEvent(end);
        m_menu.popupHidden(*this);
    }
}

} // namespace k4812
