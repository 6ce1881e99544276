#pragma once
// The window of one open menu list (TuiMenuBox): a frameless popup with one
// drawn row per item. It takes the mouse and the keyboard while open and
// hands what they mean to its menu (TuiMenuEx), which keeps the open lists
// in a chain: the top-level list, then each sub-menu opened from the one
// before it. Events over a parent list are passed to that list, so that
// hovering it switches sub-menus as the user expects.

#include "ui/menu/MenuItems.h"
#include "ui/menu/MenuRow.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace k4812 {

class TuiMenuEx;

class MenuPopup final : public QWidget {
    Q_OBJECT
public:
    // Builds the rows: captions translated now, the item whose identifier is
    // `selectedId` (else the list's selected index) marked.
    MenuPopup(TuiMenuEx& menu, TuiMenuItemsEx& list, std::optional<std::uint64_t> selectedId);

    TuiMenuItemsEx& list() const { return m_list; }
    // Takes the items' captions (translated again), check marks and the
    // marked item anew and sizes the popup to them; the rows stay the same.
    void refresh(std::optional<std::uint64_t> selectedId);
    const std::vector<MenuRow*>& rows() const { return m_rows; }
    int currentRow() const { return m_current; }
    int hoveredRow() const { return m_hover; }
    // The row under a point of this popup, or -1.
    int rowAt(const QPoint& pos) const;
    // The row's rectangle on the screen (where a sub-menu opens beside it).
    QRect rowGlobalRect(int row) const;

    // What the mouse does at a point of this popup; used for its own events
    // and for those passed on from an open sub-menu.
    void hoverAt(const QPoint& pos);
    void pressAt(const QPoint& pos);
    void releaseAt(const QPoint& pos);
    // Chooses a row as Enter does: a leaf reports and closes the tree, an
    // item with sub-items opens them. Also the rows' accessible action.
    void chooseRow(int row);

    // The row of the parent list that opened this sub-menu (nullptr for the
    // top-level list or once that row is gone).
    MenuRow* opener() const { return m_opener; }
    void setOpener(MenuRow* row) { m_opener = row; }
    // The sub-menu open beside this list, or nullptr.
    MenuPopup* subMenu() const;
    // Tells assistive technology that this list opened and which row has the
    // focus; called once the list has the keyboard.
    void announceOpened();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void setCurrentRow(int row);
    // The focus event for assistive technology: the current row, else the list.
    void announceFocus();
    // The popup of the chain under a screen point when it is not this one.
    MenuPopup* passOnTarget(const QPoint& globalPos) const;

    TuiMenuEx& m_menu;
    TuiMenuItemsEx& m_list;
    std::vector<MenuRow*> m_rows;
    QPointer<MenuRow> m_opener;
    int m_current = -1;
    int m_hover = -1;
    bool m_hiddenReported = false;
};

} // namespace k4812
