#include "ui/menu/MenuAccessibility.h"

#include "ui/menu/MenuPopup.h"
#include "ui/menu/MenuRow.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace k4812 {

namespace {

class MenuRowAccessible final : public QAccessibleWidget {
public:
    explicit MenuRowAccessible(MenuRow* row) : QAccessibleWidget(row, QAccessible::MenuItem) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const auto* row = static_cast<const MenuRow*>(widget());
        s.checkable = true;
        s.checked = row->isChecked() || row->isSelected();
        s.selected = row->isSelected();
        s.hasPopup = row->isExtender();
        s.hotTracked = row->isHovered();
        return s;
    }
};

QAccessibleInterface* menuAccessibleFactory(const QString&, QObject* object)
{
    if (auto* row = qobject_cast<MenuRow*>(object))
        return new MenuRowAccessible(row);
    if (auto* popup = qobject_cast<MenuPopup*>(object))
        return new QAccessibleWidget(popup, QAccessible::PopupMenu);
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
}

} // namespace k4812
