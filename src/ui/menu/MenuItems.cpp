#include "ui/menu/MenuItems.h"

#include <algorithm>

namespace k4812 {

namespace {

bool nameTaken(const TuiMenuItemsEx& list, const QString& name)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (list[i].Name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

TuiMenuItemsEx::TuiMenuItemsEx(TuiMenuItemEx* owner) : m_owner(owner) {}

TuiMenuItemsEx::~TuiMenuItemsEx() = default;

std::uint32_t TuiMenuItemsEx::idBase() const
{
    return m_owner == nullptr ? 0u : m_owner->ItemID() * 100u;
}

TuiMenuItemEx& TuiMenuItemsEx::Add(const QString& caption)
{
    std::uint32_t n = 1;
    while (nameTaken(*this, QStringLiteral("Item%1").arg(n)))
        ++n;
    m_items.push_back(std::make_unique<TuiMenuItemEx>(*this, QStringLiteral("Item%1").arg(n), idBase() + n));
    m_items.back()->Caption = caption;
    structureChanged();
    return *m_items.back();
}

void TuiMenuItemsEx::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    m_items.erase(m_items.begin() + index);
    if (m_itemIndex == index)
        m_itemIndex = -1;
    else if (m_itemIndex > index)
        --m_itemIndex;
    structureChanged();
}

void TuiMenuItemsEx::Clear()
{
    m_items.clear();
    m_itemIndex = -1;
    structureChanged();
}

TuiMenuItemEx* TuiMenuItemsEx::FindByID(std::uint64_t id)
{
    for (auto& item : m_items) {
        if (item->ItemID() == id)
            return item.get();
    }
    return nullptr;
}

TuiMenuItemsEx& TuiMenuItemsEx::Root()
{
    TuiMenuItemsEx* list = this;
    while (list->m_owner != nullptr)
        list = &list->m_owner->Parent();
    return *list;
}

void TuiMenuItemsEx::SetItemIndex(int index)
{
    m_itemIndex = index >= 0 && index < Count() ? index : -1;
}

void TuiMenuItemsEx::SetItemCheckedState(int AItemIndex, bool AState)
{
    if (AItemIndex < 0 || AItemIndex >= Count())
        return;
    m_items[std::size_t(AItemIndex)]->Checked = AState;
    UpdateMenuState();
}

void TuiMenuItemsEx::ItemSetMaxSize(int AWidth)
{
    m_itemMaxSize = std::max(0, AWidth);
    UpdateMenuState();
}

void TuiMenuItemsEx::UpdateMenuState()
{
    TuiMenuItemsEx& root = Root();
    if (root.OnStateChange)
        root.OnStateChange(*this);
}

int TuiMenuItemsEx::ShownSelection(std::optional<std::uint64_t> selectedMenuId) const
{
    if (selectedMenuId) {
        for (int i = 0; i < Count(); ++i) {
            if (m_items[std::size_t(i)]->ItemID() == *selectedMenuId)
                return i;
        }
    }
    return m_itemIndex;
}

void TuiMenuItemsEx::structureChanged()
{
    const TuiMenuItemsEx& root = Root();
    if (root.OnStructureChange)
        root.OnStructureChange();
}

TuiMenuItemEx::TuiMenuItemEx(TuiMenuItemsEx& parent, const QString& name, std::uint32_t id)
    : m_parent(parent), m_name(name), m_itemId(id), m_subItems(this)
{
}

MenuRelease releaseOutcome(const TuiMenuItemEx* down, TuiMenuItemEx* up)
{
    if (up == nullptr || up->IsExtender())
        return {};
    return {true, up == down ? up : nullptr};
}

void clearSelectionsExcept(TuiMenuItemsEx& root, const TuiMenuItemsEx* keep)
{
    if (&root != keep)
        root.SetItemIndex(-1);
    for (int i = 0; i < root.Count(); ++i)
        clearSelectionsExcept(root[i].SubItems(), keep);
}

} // namespace k4812
