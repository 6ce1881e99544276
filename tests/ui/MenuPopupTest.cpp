#include "ui/menu/MenuAccessibility.h"
#include "ui/menu/MenuPopup.h"
#include "ui/menu/TuiMenuEx.h"

#include "i18n/Translation.h"

#include "MenuTestTree.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <utility>
#include <vector>

using namespace k4812;

namespace {

struct Click {
    TuiMenuItemEx* sender;
    QString name;
    quint32 id;
};

class MenuPopupTest : public ::testing::Test {
protected:
    MenuPopupTest()
    {
        host.setGeometry(100, 100, 400, 300);
        target = new QWidget(&host);
        target->setGeometry(10, 10, 120, 33);
        host.show();
        menu.setObjectName(QStringLiteral("uiMenuEx1"));
        menu.Title = QStringLiteral("Button function");
        test::fillButtonMenu(menu.Items(), 2);
        QObject::connect(&menu, &TuiMenuEx::OnItemsClick,
                         [this](TuiMenuItemEx* sender, const QString& name, quint32 id) {
                             clicks.push_back({sender, name, id});
                         });
        QObject::connect(&menu, &TuiMenuEx::OnMenuClose, [this](TuiMenuItemsEx* list) { closed.push_back(list); });
    }

    ~MenuPopupTest() override
    {
        menu.CloseMenu();
        clearActiveTranslation();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    MenuPopup* popup(std::size_t level) const
    {
        const std::vector<MenuPopup*> open = menu.openPopups();
        return level < open.size() ? open[level] : nullptr;
    }

    TuiMenuItemsEx& basic() { return menu.Items()[7].SubItems(); }

    static QPoint rowCentre(const MenuPopup* p, int row) { return p->rows()[std::size_t(row)]->geometry().center(); }

    static void mouse(QWidget* w, QEvent::Type type, const QPoint& pos)
    {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &event);
    }

    static void hover(MenuPopup* p, int row) { mouse(p, QEvent::MouseMove, rowCentre(p, row)); }
    static void click(MenuPopup* p, int row)
    {
        hover(p, row);
        mouse(p, QEvent::MouseButtonPress, rowCentre(p, row));
        mouse(p, QEvent::MouseButtonRelease, rowCentre(p, row));
    }
    static void key(QWidget* w, int k, const QString& text = {})
    {
        QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier, text);
        QCoreApplication::sendEvent(w, &event);
    }

    static std::vector<int> selectedRows(const MenuPopup* p)
    {
        std::vector<int> rows;
        for (int i = 0; i < int(p->rows().size()); ++i) {
            if (p->rows()[std::size_t(i)]->isSelected())
                rows.push_back(i);
        }
        return rows;
    }

    QWidget host;
    QWidget* target = nullptr;
    TuiMenuEx menu;
    std::vector<Click> clicks;
    std::vector<TuiMenuItemsEx*> closed;
};

TEST_F(MenuPopupTest, TheStoredChoiceIsMarkedInsideItsSubMenuOnly)
{
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    ASSERT_NE(top, nullptr);
    EXPECT_TRUE(top->isVisible());
    ASSERT_EQ(top->rows().size(), 16u);
    EXPECT_EQ(selectedRows(top), std::vector<int>{});
    EXPECT_TRUE(top->rows()[7]->isExtender());
    EXPECT_FALSE(top->rows()[6]->isExtender());
    for (const MenuRow* row : top->rows())
        EXPECT_EQ(row->height(), 30);

    hover(top, 7);
    MenuPopup* sub = popup(1);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(&sub->list(), &basic());
    EXPECT_EQ(selectedRows(sub), std::vector<int>{3});
    EXPECT_EQ(sub->rows()[3]->text(), QStringLiteral("Select All"));
    EXPECT_EQ(sub->rows()[3]->itemId(), 804u);
    EXPECT_EQ(sub->x(), top->x() + top->width()) << "a sub-menu opens to the right of its item";
    EXPECT_EQ(sub->rowGlobalRect(0).y(), top->rowGlobalRect(7).y());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuPopupTest, ClickingAnExtenderReportsNothingAndKeepsTheMenuOpen)
{
    menu.ShowMainMenu(1, target, TPlacement::vgPlacementRightCenter);
    click(popup(0), 7);
    ASSERT_EQ(menu.openPopups().size(), 2u);
    EXPECT_EQ(&popup(1)->list(), &basic());
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(closed.empty());
}

TEST_F(MenuPopupTest, ALeafClickClosesTheWholeTreeAndReportsTheItem)
{
    menu.Items().SetItemIndex(3);
    menu.Items()[9].SubItems().SetItemIndex(2);
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    hover(popup(0), 7);
    click(popup(1), 1); // "Copy"

    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, &basic()[1]);
    EXPECT_EQ(clicks[0].name, QStringLiteral("Item2"));
    EXPECT_EQ(clicks[0].id, 802u);
    EXPECT_FALSE(menu.GetIsMenuOpened());
    EXPECT_EQ(closed, (std::vector<TuiMenuItemsEx*>{&basic(), &menu.Items()})) << "innermost list first";
    EXPECT_EQ(basic().ItemIndex(), 1);
    EXPECT_EQ(menu.Items().ItemIndex(), -1);
    EXPECT_EQ(menu.Items()[9].SubItems().ItemIndex(), -1);
}

TEST_F(MenuPopupTest, ReleasingOverAnotherLeafClosesWithoutReporting)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    mouse(top, QEvent::MouseButtonPress, rowCentre(top, 0));
    mouse(top, QEvent::MouseButtonRelease, rowCentre(top, 1));
    EXPECT_FALSE(menu.GetIsMenuOpened());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuPopupTest, AnItemWithItsOwnActionRunsItInsteadOfReporting)
{
    int runs = 0;
    menu.Items()[12].OnExecute = [&](TuiMenuItemEx& item) {
        EXPECT_EQ(item.ItemID(), 13u);
        ++runs;
    };
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    click(popup(0), 12);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(menu.GetIsMenuOpened());
}

TEST_F(MenuPopupTest, HoveringSwitchesSubMenusAlsoFromInsideAnOpenSubMenu)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    hover(top, 7);
    hover(top, 8); // "Advanced"
    ASSERT_EQ(menu.openPopups().size(), 2u);
    EXPECT_EQ(&popup(1)->list(), &menu.Items()[8].SubItems());
    EXPECT_EQ(closed, std::vector<TuiMenuItemsEx*>{&basic()});

    // The open sub-menu has the mouse; a move over the parent list reaches it.
    MenuPopup* sub = popup(1);
    const QPoint overMedia = sub->mapFromGlobal(top->rowGlobalRect(9).center());
    mouse(sub, QEvent::MouseMove, overMedia);
    ASSERT_EQ(menu.openPopups().size(), 2u);
    EXPECT_EQ(&popup(1)->list(), &menu.Items()[9].SubItems());
    EXPECT_EQ(top->hoveredRow(), 9);

    hover(top, 0);
    EXPECT_EQ(menu.openPopups().size(), 1u);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuPopupTest, APressOutsideEveryListDismissesTheMenu)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    hover(popup(0), 9);
    MenuPopup* sub = popup(1);
    mouse(sub, QEvent::MouseButtonPress, sub->mapFromGlobal(QPoint(1, 1)));
    EXPECT_FALSE(menu.GetIsMenuOpened());
    EXPECT_EQ(closed.size(), 2u);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuPopupTest, CaptionsAreTranslatedEachTimeAListIsShown)
{
    setActiveTranslation(TranslationList({"Basic=基本功能", "Select All=全选", "Button function=按键功能"}));
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    EXPECT_EQ(popup(0)->rows()[7]->text(), QStringLiteral("基本功能"));
    EXPECT_EQ(popup(0)->accessibleName(), QStringLiteral("按键功能"));
    hover(popup(0), 7);
    EXPECT_EQ(popup(1)->rows()[3]->text(), QStringLiteral("全选"));
    EXPECT_EQ(popup(1)->accessibleName(), QStringLiteral("基本功能"));
    menu.CloseMenu();

    setActiveTranslation(TranslationList({"Basic=Grundlagen"}));
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    EXPECT_EQ(popup(0)->rows()[7]->text(), QStringLiteral("Grundlagen"));
    hover(popup(0), 7);
    EXPECT_EQ(popup(1)->rows()[3]->text(), QStringLiteral("Select All"));
}

// An open menu follows its items: UpdateMenuState translates them again and
// redraws the check marks, and SetItemCheckedState shows at once; a list
// with a maximum item width is never wider and keeps whole captions as tips.
TEST_F(MenuPopupTest, AnOpenMenuFollowsItsItemsAndItsMaximumWidth)
{
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    hover(popup(0), 7);
    ASSERT_NE(popup(1), nullptr);
    setActiveTranslation(TranslationList({"Basic=基本功能", "Select All=全选", "Button function=按键功能"}));
    EXPECT_EQ(popup(0)->rows()[7]->text(), QStringLiteral("Basic")) << "shown before the switch";
    menu.UpdateMenuState();
    EXPECT_EQ(popup(0)->rows()[7]->text(), QStringLiteral("基本功能"));
    EXPECT_EQ(popup(0)->accessibleName(), QStringLiteral("按键功能"));
    EXPECT_EQ(popup(1)->rows()[3]->text(), QStringLiteral("全选"));
    EXPECT_TRUE(popup(1)->rows()[3]->isSelected()) << "the marked item stays marked";

    basic().SetItemCheckedState(1, true);
    EXPECT_TRUE(popup(1)->rows()[1]->isChecked());
    basic().SetItemCheckedState(1, false);
    EXPECT_FALSE(popup(1)->rows()[1]->isChecked());
    basic().SetItemCheckedState(99, true); // outside the list: ignored

    const int wide = popup(1)->width();
    basic().ItemSetMaxSize(60);
    EXPECT_LE(popup(1)->width(), 60 + 8) << "the open list narrows at once";
    EXPECT_LT(popup(1)->width(), wide);
    EXPECT_EQ(popup(1)->rows()[3]->toolTip(), QStringLiteral("全选")) << "the whole caption as tip";
    EXPECT_EQ(popup(0)->rows()[7]->toolTip(), QString()) << "other lists are not limited";
    menu.CloseMenu();
    basic().UpdateMenuState(); // nothing shown: nothing happens
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    hover(popup(0), 7);
    EXPECT_LE(popup(1)->width(), 60 + 8) << "and when shown again";
    basic().ItemSetMaxSize(0);
    EXPECT_EQ(popup(1)->width(), wide);
}

TEST_F(MenuPopupTest, KeysSelectAndEnterChoosesTheSelectedItem)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    key(top, Qt::Key_S, QStringLiteral("s"));
    EXPECT_EQ(top->currentRow(), 5); // "Single Key"
    EXPECT_EQ(selectedRows(top), std::vector<int>{5});
    EXPECT_EQ(menu.Items().ItemIndex(), 5);
    key(top, Qt::Key_End);
    EXPECT_EQ(top->currentRow(), 15);
    EXPECT_TRUE(clicks.empty()) << "selecting with keys never clicks";

    key(top, Qt::Key_Return);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].id, 16u);
    EXPECT_FALSE(menu.GetIsMenuOpened());
}

TEST_F(MenuPopupTest, EnterOpensASubMenuAndEscapeClosesOnlyTheInnermostList)
{
    menu.ShowMainMenu(804, target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    key(top, Qt::Key_S, QStringLiteral("S")); // "Single Key"
    key(top, Qt::Key_Down);
    key(top, Qt::Key_Right);
    EXPECT_EQ(top->currentRow(), 7); // "Basic"
    EXPECT_EQ(menu.openPopups().size(), 1u) << "moving the selection opens nothing";
    key(top, Qt::Key_Enter);
    ASSERT_EQ(menu.openPopups().size(), 2u);
    MenuPopup* sub = popup(1);
    EXPECT_EQ(sub->currentRow(), 3);
    key(sub, Qt::Key_Escape);
    EXPECT_EQ(menu.openPopups().size(), 1u);
    EXPECT_EQ(closed, std::vector<TuiMenuItemsEx*>{&basic()});

    key(top, Qt::Key_Return);
    sub = popup(1);
    ASSERT_NE(sub, nullptr);
    key(sub, Qt::Key_Down);
    key(sub, Qt::Key_Return);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].id, 805u); // "Find", the one after "Select All"
}

TEST_F(MenuPopupTest, ListsAndItemsTellAssistiveTechnologyWhatTheyAre)
{
    menu.ShowMainMenu(3, target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(top);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::PopupMenu);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Button function"));
    ASSERT_EQ(list->childCount(), 16);

    struct Case {
        int row;
        const char* name;
        bool checked;
        bool hasPopup;
    };
    for (const Case& c : {Case{0, "Click", false, false}, Case{2, "Middle Button", true, false},
                          Case{9, "Media", false, true}}) {
        QAccessibleInterface* item = QAccessible::queryAccessibleInterface(top->rows()[std::size_t(c.row)]);
        ASSERT_NE(item, nullptr);
        SCOPED_TRACE(c.name);
        EXPECT_EQ(item->role(), QAccessible::MenuItem);
        EXPECT_EQ(item->text(QAccessible::Name), QString::fromLatin1(c.name));
        EXPECT_EQ(bool(item->state().checked), c.checked);
        EXPECT_EQ(bool(item->state().hasPopup), c.hasPopup);
    }
    EXPECT_EQ(top->objectName(), QStringLiteral("uiMenuEx1"));
    EXPECT_EQ(top->rows()[9]->objectName(), QStringLiteral("Item10"));
    hover(top, 9);
    EXPECT_EQ(popup(1)->objectName(), QStringLiteral("uiMenuEx1.Item10"));
}

// The accessible interfaces of the application's children.
std::vector<QAccessibleInterface*> applicationChildren()
{
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    std::vector<QAccessibleInterface*> children;
    for (int i = 0; app != nullptr && i < app->childCount(); ++i)
        children.push_back(app->child(i));
    return children;
}

TEST_F(MenuPopupTest, OpenListsHangInTheApplicationsAccessibleTree)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(top);
    std::vector<QAccessibleInterface*> children = applicationChildren();
    const auto at = std::find(children.begin(), children.end(), list);
    ASSERT_NE(at, children.end()) << "the open list is a child of the application";
    EXPECT_EQ(app->indexOfChild(list), int(at - children.begin()));
    EXPECT_EQ(list->parent(), app);

    // "Macro" holds its open sub-menu, which is not a child of the application.
    hover(top, 10);
    MenuPopup* sub = popup(1);
    ASSERT_NE(sub, nullptr);
    QAccessibleInterface* macro = list->child(10);
    QAccessibleInterface* subList = QAccessible::queryAccessibleInterface(sub);
    ASSERT_EQ(macro->childCount(), 1);
    EXPECT_EQ(macro->child(0), subList);
    EXPECT_EQ(macro->indexOfChild(subList), 0);
    EXPECT_EQ(subList->parent(), macro);
    EXPECT_EQ(subList->text(QAccessible::Name), QStringLiteral("Macro"));
    EXPECT_EQ(subList->child(0)->text(QAccessible::Name), QStringLiteral("Macro Manager"));
    EXPECT_EQ(list->child(9)->childCount(), 0) << "an item whose sub-menu is closed";
    children = applicationChildren();
    EXPECT_EQ(std::count(children.begin(), children.end(), subList), 0);
    EXPECT_EQ(app->indexOfChild(subList), -1);

    menu.CloseMenu();
    children = applicationChildren();
    EXPECT_EQ(std::count(children.begin(), children.end(), list), 0) << "a closed list leaves the tree";
    EXPECT_EQ(macro->childCount(), 0);
}

TEST_F(MenuPopupTest, ListsAreTransientForTheWindowThatOpenedThem)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    ASSERT_NE(popup(0)->windowHandle(), nullptr);
    EXPECT_EQ(popup(0)->windowHandle()->transientParent(), host.windowHandle());
    hover(popup(0), 7);
    ASSERT_NE(popup(1), nullptr);
    EXPECT_EQ(popup(1)->windowHandle()->transientParent(), popup(0)->windowHandle());
}

TEST_F(MenuPopupTest, AnItemsPressActionChoosesItAsEnterDoes)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(popup(0));
    QAccessibleActionInterface* singleKey = list->child(5)->actionInterface();
    QAccessibleActionInterface* macro = list->child(10)->actionInterface();
    ASSERT_NE(singleKey, nullptr);
    ASSERT_NE(macro, nullptr);
    EXPECT_EQ(singleKey->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    EXPECT_EQ(macro->actionNames(), QStringList({QAccessibleActionInterface::pressAction(),
                                                 QAccessibleActionInterface::showMenuAction()}));

    // An item with sub-items opens them and reports nothing.
    macro->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    ASSERT_EQ(menu.openPopups().size(), 2u);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(popup(0)->currentRow(), 10);

    // An unknown action does nothing; a leaf's press reports it and closes the tree.
    QAccessibleInterface* manager = QAccessible::queryAccessibleInterface(popup(1))->child(0);
    manager->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCoreApplication::processEvents();
    EXPECT_TRUE(clicks.empty());
    manager->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(clicks.empty()) << "the item is chosen from the event loop, after the caller has its answer";
    QCoreApplication::processEvents();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].id, 1101u);
    EXPECT_EQ(clicks[0].name, QStringLiteral("Item1"));
    EXPECT_FALSE(menu.GetIsMenuOpened());
}

TEST_F(MenuPopupTest, APressActionOnAClosedListDoesNothing)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    QAccessibleActionInterface* singleKey = QAccessible::queryAccessibleInterface(popup(0))->child(5)->actionInterface();
    singleKey->doAction(QAccessibleActionInterface::pressAction());
    menu.CloseMenu();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(clicks.empty());
}

std::vector<std::pair<QAccessible::Event, QObject*>>& recordedEvents()
{
    static std::vector<std::pair<QAccessible::Event, QObject*>> events;
    return events;
}

void recordEvent(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::PopupMenuStart || event->type() == QAccessible::PopupMenuEnd ||
        event->type() == QAccessible::Focus)
        recordedEvents().emplace_back(event->type(), event->object());
}

TEST_F(MenuPopupTest, OpeningAListAnnouncesItAndTheFocusedItem)
{
    recordedEvents().clear();
    const MenuEventSink previous = setMenuEventSink(recordEvent);
    using Events = std::vector<std::pair<QAccessible::Event, QObject*>>;

    menu.ShowMainMenu(3, target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    QObject* marked = top->rows()[2];
    ASSERT_GE(recordedEvents().size(), 2u);
    const Events opened(recordedEvents().end() - 2, recordedEvents().end());
    EXPECT_EQ(opened, (Events{{QAccessible::PopupMenuStart, top}, {QAccessible::Focus, marked}}));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(top);
    EXPECT_TRUE(list->child(2)->state().focused);
    EXPECT_FALSE(list->child(3)->state().focused);

    recordedEvents().clear();
    key(top, Qt::Key_Down);
    EXPECT_EQ(recordedEvents(), (Events{{QAccessible::Focus, top->rows()[3]}}));

    // A sub-menu opened with Enter takes the focus; its list marks no row, so the list has it.
    key(top, Qt::Key_End);
    key(top, Qt::Key_Home);
    for (int i = 0; i < 7; ++i)
        key(top, Qt::Key_Down);
    recordedEvents().clear();
    key(top, Qt::Key_Return);
    MenuPopup* sub = popup(1);
    ASSERT_NE(sub, nullptr);
    ASSERT_FALSE(recordedEvents().empty());
    EXPECT_EQ(recordedEvents().back(), std::make_pair(QAccessible::Focus, static_cast<QObject*>(sub)));
    EXPECT_EQ(std::count(recordedEvents().begin(), recordedEvents().end(),
                         std::make_pair(QAccessible::PopupMenuStart, static_cast<QObject*>(sub))),
              1);
    EXPECT_FALSE(list->child(7)->state().focused) << "the keyboard is in the sub-menu";

    recordedEvents().clear();
    menu.CloseMenu();
    EXPECT_EQ(recordedEvents(), (Events{{QAccessible::PopupMenuEnd, sub}, {QAccessible::PopupMenuEnd, top}}));
    setMenuEventSink(previous);
}

TEST_F(MenuPopupTest, ChangingTheItemsOfAnOpenMenuClosesIt)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    hover(popup(0), 10);
    ASSERT_EQ(menu.openPopups().size(), 2u);
    TuiMenuItemsEx& macros = menu.Items()[10].SubItems();
    macros.Clear();
    EXPECT_FALSE(menu.GetIsMenuOpened());
    EXPECT_EQ(closed.size(), 2u);
    macros.Add(QStringLiteral("Macro Manager"));
    EXPECT_EQ(macros[0].ItemID(), 1101u);
}

TEST_F(MenuPopupTest, AMenuNearTheScreensRightEdgeOpensLeftOfItsWindow)
{
    const QRect screen = host.screen()->geometry();
    host.setGeometry(screen.right() - 250, 100, 240, 300);
    target->setGeometry(100, 10, 120, 33);
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    MenuPopup* top = popup(0);
    EXPECT_EQ(top->x() + top->width(), host.frameGeometry().x());

    host.setGeometry(50, 300, 240, 200);
    target->setGeometry(10, 10, 120, 33);
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    top = popup(0);
    EXPECT_EQ(top->x(), target->mapToGlobal(QPoint(0, 0)).x() + 120);
    EXPECT_EQ(top->geometry().center().y(), target->mapToGlobal(target->rect().center()).y());
}

TEST_F(MenuPopupTest, ShowingAgainReplacesTheOpenMenu)
{
    menu.ShowMainMenu(target, TPlacement::vgPlacementRightCenter);
    hover(popup(0), 7);
    menu.ShowMainMenu(3, target, TPlacement::vgPlacementRightCenter);
    EXPECT_EQ(menu.openPopups().size(), 1u);
    EXPECT_EQ(closed.size(), 2u);
    EXPECT_EQ(selectedRows(popup(0)), std::vector<int>{2});
}

} // namespace
