#pragma once
// The item tree of a popup menu (TuiMenuEx): items, their names and
// identifiers, the checked state and each list's selected index. Window-free;
// the popups draw what these hold.
//
// Identifiers follow the position in the tree, so that a stored choice (a
// button's MenuID) names the same item on every run: an item added to a list
// takes the name "ItemN" for the smallest N >= 1 that no item of that list
// has (names compared without regard to case), and the identifier N in the
// top-level list, P * 100 + N in the sub-list of an item with identifier P.
// Identifiers are 32-bit unsigned and wrap like the stored values do.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace k4812 {

class TuiMenuItemEx;

class TuiMenuItemsEx {
public:
    // `owner` is the item whose sub-list this is, or nullptr for a top-level list.
    explicit TuiMenuItemsEx(TuiMenuItemEx* owner = nullptr);
    ~TuiMenuItemsEx();
    TuiMenuItemsEx(const TuiMenuItemsEx&) = delete;
    TuiMenuItemsEx& operator=(const TuiMenuItemsEx&) = delete;

    // Appends an item with `caption`, named and numbered as above.
    TuiMenuItemEx& Add(const QString& caption);
    // Removes one item (and its sub-list); ignored outside 0 ... Count() - 1.
    // The others keep their names and identifiers.
    void Delete(int index);
    // Removes every item (and their sub-lists); the next one added is number 1 again.
    void Clear();

    int Count() const { return int(m_items.size()); }
    TuiMenuItemEx& operator[](int index) { return *m_items[std::size_t(index)]; }
    const TuiMenuItemEx& operator[](int index) const { return *m_items[std::size_t(index)]; }
    // The item with identifier `id` in this list (not below it), or nullptr.
    TuiMenuItemEx* FindByID(std::uint64_t id);

    TuiMenuItemEx* Owner() const { return m_owner; }
    // The top-level list of the tree this list belongs to.
    TuiMenuItemsEx& Root();

    // The item the user selected last in this list (mouse down or keys), -1 for none.
    int ItemIndex() const { return m_itemIndex; }
    // Out-of-range values become -1.
    void SetItemIndex(int index);

    // Sets Checked of one item; ignored outside 0 ... Count() - 1. An open
    // popup of this list shows the change at once (UpdateMenuState).
    void SetItemCheckedState(int AItemIndex, bool AState);

    // The widest a drawn item of this list may be, in pixels; 0 (the
    // default) for as wide as its longest caption needs. A caption longer
    // than that is shortened with an ellipsis when shown; the whole caption
    // stays the item's tool tip and accessible name.
    void ItemSetMaxSize(int AWidth);
    int ItemMaxSize() const { return m_itemMaxSize; }

    // Brings an open popup of this list up to date with its items: captions
    // translated again, check marks, the marked item, the width. Nothing
    // happens while the list is not shown. (Adding or removing items closes
    // an open menu instead; see OnStructureChange.)
    void UpdateMenuState();

    // The row a shown list marks: the item whose identifier equals
    // `selectedMenuId` (only values below 2^32 can match), else ItemIndex().
    int ShownSelection(std::optional<std::uint64_t> selectedMenuId) const;

    // Called (on the root list) after any list of the tree gained or lost
    // items, so that an open popup of the tree can close before it shows
    // items that are gone.
    std::function<void()> OnStructureChange;
    // Called (on the root list) by UpdateMenuState with the list to refresh.
    std::function<void(TuiMenuItemsEx&)> OnStateChange;

private:
    void structureChanged();
    std::uint32_t idBase() const;

    TuiMenuItemEx* m_owner;
    std::vector<std::unique_ptr<TuiMenuItemEx>> m_items;
    int m_itemIndex = -1;
    int m_itemMaxSize = 0;
};

class TuiMenuItemEx {
public:
    TuiMenuItemEx(TuiMenuItemsEx& parent, const QString& name, std::uint32_t id);
    TuiMenuItemEx(const TuiMenuItemEx&) = delete;
    TuiMenuItemEx& operator=(const TuiMenuItemEx&) = delete;

    const QString& Name() const { return m_name; }
    std::uint32_t ItemID() const { return m_itemId; }
    TuiMenuItemsEx& SubItems() { return m_subItems; }
    const TuiMenuItemsEx& SubItems() const { return m_subItems; }
    TuiMenuItemsEx& Parent() const { return m_parent; }
    // An item with sub-items opens them and never reports a click.
    bool IsExtender() const { return m_subItems.Count() > 0; }

    QString Caption;            // English; translated each time it is shown
    bool Checked = false;       // drawn with the check mark
    bool IsSelected = false;    // drawn with the selected fill
    // When set, a click runs this instead of the menu's OnItemsClick.
    std::function<void(TuiMenuItemEx&)> OnExecute;

private:
    TuiMenuItemsEx& m_parent;
    QString m_name;
    std::uint32_t m_itemId;
    TuiMenuItemsEx m_subItems;
};

// What releasing the mouse button over `up` (pressed on `down`, either may
// be null) does: an extender or no item does nothing; any other item closes
// the whole tree, and reports itself when it is the item pressed on.
struct MenuRelease {
    bool closeTree = false;
    TuiMenuItemEx* report = nullptr;
};
MenuRelease releaseOutcome(const TuiMenuItemEx* down, TuiMenuItemEx* up);

// Clears the selected index of every list of the tree below `root` but `keep`.
void clearSelectionsExcept(TuiMenuItemsEx& root, const TuiMenuItemsEx* keep);

} // namespace k4812
