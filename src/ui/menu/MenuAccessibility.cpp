#include "ui/menu/MenuAccessibility.h"

#include "ui/menu/MenuPopup.h"
#include "ui/menu/MenuRow.h"

#include <QAccessible>
#include <QAccessibleApplication>
#include <QAccessibleWidget>
#include <QApplication>
#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace k4812 {

namespace {

// The open top-level lists of every menu. Qt leaves popup windows out of the
// application's children, so a screen reader walking the tree would never
// find an open menu.
std::vector<MenuPopup*> openTopLevelPopups()
{
    std::vector<MenuPopup*> popups;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* popup = qobject_cast<MenuPopup*>(widget);
        if (popup != nullptr && popup->isVisible() && popup->opener() == nullptr)
            popups.push_back(popup);
    }
    return popups;
}

class MenuApplicationAccessible final : public QAccessibleApplication {
public:
    int childCount() const override
    {
        return QAccessibleApplication::childCount() + int(openTopLevelPopups().size());
    }

    QAccessibleInterface* child(int index) const override
    {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows)
            return QAccessibleApplication::child(index);
        const std::vector<MenuPopup*> popups = openTopLevelPopups();
        const auto at = std::size_t(index - windows);
        return at < popups.size() ? QAccessible::queryAccessibleInterface(popups[at]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (child == nullptr)
            return -1;
        const std::vector<MenuPopup*> popups = openTopLevelPopups();
        const auto it = std::find(popups.begin(), popups.end(), child->object());
        if (it != popups.end())
            return QAccessibleApplication::childCount() + int(it - popups.begin());
        return QAccessibleApplication::indexOfChild(child);
    }
};

class MenuPopupAccessible final : public QAccessibleWidget {
public:
    explicit MenuPopupAccessible(MenuPopup* popup) : QAccessibleWidget(popup, QAccessible::PopupMenu) {}

    // A sub-menu hangs below the row that opened it, the top-level list below
    // the application.
    QAccessibleInterface* parent() const override
    {
        const auto* popup = static_cast<const MenuPopup*>(widget());
        if (MenuRow* opener = popup->opener())
            return QAccessible::queryAccessibleInterface(opener);
        return QAccessible::queryAccessibleInterface(qApp);
    }
};

class MenuRowAccessible final : public QAccessibleWidget {
public:
    explicit MenuRowAccessible(MenuRow* row) : QAccessibleWidget(row, QAccessible::MenuItem) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const MenuRow* row = this->row();
        s.checkable = true;
        s.checked = row->isChecked() || row->isSelected();
        s.selected = row->isSelected();
        s.hasPopup = row->isExtender();
        s.hotTracked = row->isHovered();
        s.focusable = true;
        // The keyboard is in the innermost open list, on its current row.
        const MenuPopup* list = popup();
        s.focused = list != nullptr && list->subMenu() == nullptr && list->currentRow() == rowIndex();
        return s;
    }

    // An item with sub-items holds its sub-menu while that is open.
    int childCount() const override { return openSubMenu() != nullptr ? 1 : 0; }
    QAccessibleInterface* child(int index) const override
    {
        MenuPopup* sub = openSubMenu();
        return index == 0 && sub != nullptr ? QAccessible::queryAccessibleInterface(sub) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        MenuPopup* sub = openSubMenu();
        return child != nullptr && sub != nullptr && child->object() == sub ? 0 : -1;
    }

    QStringList actionNames() const override
    {
        if (row()->isExtender())
            return {pressAction(), showMenuAction()};
        return {pressAction()};
    }

    // Chooses the item as Enter does. Later, from the event loop: choosing
    // may open a modal dialog, and the caller (a screen reader over D-Bus)
    // must get its answer first.
    void doAction(const QString& actionName) override
    {
        if (!actionNames().contains(actionName))
            return;
        QPointer<MenuPopup> list = popup();
        const int index = rowIndex();
        if (!list || index < 0)
            return;
        QMetaObject::invokeMethod(
            list.data(),
            [list, index] {
                if (list && list->isVisible())
                    list->chooseRow(index);
            },
            Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const MenuRow* row() const { return static_cast<const MenuRow*>(widget()); }
    MenuPopup* popup() const { return qobject_cast<MenuPopup*>(widget()->parentWidget()); }
    int rowIndex() const
    {
        const MenuPopup* list = popup();
        if (list == nullptr)
            return -1;
        const auto& rows = list->rows();
        const auto it = std::find(rows.begin(), rows.end(), row());
        return it == rows.end() ? -1 : int(it - rows.begin());
    }
    MenuPopup* openSubMenu() const
    {
        const MenuPopup* list = popup();
        MenuPopup* sub = list != nullptr ? list->subMenu() : nullptr;
        return sub != nullptr && sub->opener() == row() ? sub : nullptr;
    }
};

MenuEventSink g_eventSink = &QAccessible::updateAccessibility;

QAccessibleInterface* menuAccessibleFactory(const QString&, QObject* object)
{
    if (object != nullptr && object == qApp)
        return new MenuApplicationAccessible;
    if (auto* row = qobject_cast<MenuRow*>(object))
        return new MenuRowAccessible(row);
    if (auto* popup = qobject_cast<MenuPopup*>(object))
        return new MenuPopupAccessible(popup);
    return nullptr;
}

} // namespace

void installMenuAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(menuAccessibleFactory);
        return true;
    }();
    (void)installed;
    // The application's interface may have been made before this factory was
    // there; make it again so that it lists the open menus.
    if (qApp == nullptr)
        return;
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    if (app != nullptr && dynamic_cast<MenuApplicationAccessible*>(app) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(app));
}

MenuEventSink setMenuEventSink(MenuEventSink sink)
{
    return std::exchange(g_eventSink, sink != nullptr ? sink : &QAccessible::updateAccessibility);
}

void announceMenuEvent(QAccessibleEvent& event)
{
    g_eventSink(&event);
}

} // namespace k4812
