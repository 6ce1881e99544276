#include "ui/menu/MenuPopup.h"
#include "ui/menu/TuiMenuEx.h"

#include "i18n/Translation.h"

#include "MenuTestTree.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

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
