#pragma once
// TuiMenuEx: a multi-level popup menu. It holds the item tree (Items), shows
// the top-level list beside a control, opens sub-menus on hover, and reports
// a click on a leaf item with the item's name and identifier. Captions are
// translated each time a list is shown, so a language switch needs nothing
// else. One item can be marked as the current choice when the menu opens
// (the stored MenuID of a button, for example), also inside a sub-menu.
//
// Mouse: moving over an item closes the open sub-menus of its list and opens
// the item's own when it has one; pressing selects an item; releasing over a
// leaf item closes the whole tree and reports the item when the button went
// down on it. An item with sub-items never reports.
// Keyboard: a character selects the first item starting with it, Home and End
// the first and last, Left/Up and Right/Down the previous and next item;
// Enter chooses the selected item (a leaf reports, an item with sub-items
// opens them) and Escape closes the innermost open list.

#include "ui/menu/MenuItems.h"
#include "ui/menu/MenuParams.h"
#include "ui/menu/MenuPlacement.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace k4812 {

class MenuPopup;

class TuiMenuEx final : public QObject {
    Q_OBJECT
public:
    explicit TuiMenuEx(QObject* parent = nullptr);
    ~TuiMenuEx() override;

    TuiMenuItemsEx& Items() { return m_items; }
    // How every list of this menu looks. Read when a list is shown.
    TMenuParams Parameters;
    // English name of the top-level list for assistive technology, translated when shown.
    QString Title;

    // Shows the top-level list beside `PlacementTarget` (closing an open one first).
    void ShowMainMenu(QWidget* PlacementTarget, TPlacement Placement);
    // The same, marking the item whose identifier equals `SelectedMenuID` in
    // whichever list shows it; a list without it marks its own selected item.
    void ShowMainMenu(std::uint64_t SelectedMenuID, QWidget* PlacementTarget, TPlacement Placement);
    // The same beside `PlacementRectangle`, given in the target's coordinates.
    void ShowMainMenu(std::uint64_t SelectedMenuID, QWidget* PlacementTarget, TPlacement Placement,
                      const QRect& PlacementRectangle);

    bool GetIsMenuOpened() const { return !m_chain.empty(); }
    // Brings every open list up to date with its items (captions translated
    // again, check marks, marked item, width); the owner calls it when the
    // language changes while a menu is open. TuiMenuItemsEx::UpdateMenuState
    // does the same for one list.
    void UpdateMenuState();
    // Closes every open list of the tree.
    void CloseMenu();
    // The open lists, the top-level one first.
    std::vector<MenuPopup*> openPopups() const;
    // The list opened from `popup`, or nullptr.
    MenuPopup* subMenuOf(const MenuPopup& popup) const;
    // The height of one drawn item.
    int itemHeight() const;
    // Calls `text` with what opening the lists draws: every item's caption
    // as shown now, in the item font; for preparing that font and its glyphs
    // ahead, which the first opening otherwise loads on the spot.
    void forEachShownText(const std::function<void(const QFont&, const QString&)>& text) const;

signals:
    // A leaf item without OnExecute was clicked; the menu is closed by then.
    void OnItemsClick(k4812::TuiMenuItemEx* Sender, const QString& AMenuItemName, quint32 AMenuItemID);
    // A list of the tree closed (Sender is that list).
    void OnMenuClose(k4812::TuiMenuItemsEx* Sender);

private:
    friend class MenuPopup;

    void show(std::optional<std::uint64_t> selectedId, QWidget* target, TPlacement placement,
              std::optional<QRect> placementRectangle);
    // Called by the popups.
    void openSubMenu(MenuPopup& from, int row);
    void closeSubMenusOf(const MenuPopup& popup);
    void popupHidden(MenuPopup& popup);
    void itemPressed(TuiMenuItemEx* item) { m_down = item; }
    void itemReleased(MenuPopup& popup, TuiMenuItemEx* item);
    void chooseLeaf(TuiMenuItemsEx& list, TuiMenuItemEx* report);
    // The open popup below `from` in the chain (its parent lists) that holds
    // the screen point, or nullptr.
    MenuPopup* ancestorAt(const MenuPopup& from, const QPoint& globalPos) const;
    int depthOf(const MenuPopup& popup) const;
    // Opens a created list: transient for `owner` (so the window manager and
    // assistive technology see it as this application's menu), with the keyboard.
    void open(MenuPopup& popup, QWidget& owner);
    void refreshOpenList(TuiMenuItemsEx& list);

    TuiMenuItemsEx m_items;
    std::optional<std::uint64_t> m_selectedId;
    std::vector<QPointer<MenuPopup>> m_chain;
    TuiMenuItemEx* m_down = nullptr;
};

} // namespace k4812
