#include "ui/menu/MenuItems.h"
#include "ui/menu/MenuKeyboard.h"
#include "ui/menu/MenuPlacement.h"

#include "MenuTestTree.h"

#include <gtest/gtest.h>

#include <Qt>

#include <cstdint>

using namespace k4812;

namespace {

class MenuModelTest : public ::testing::Test {
protected:
    MenuModelTest() { test::fillButtonMenu(items); }

    TuiMenuItemsEx& basic() { return items[7].SubItems(); }
    TuiMenuItemsEx& macros() { return items[10].SubItems(); }

    TuiMenuItemsEx items;
};

TEST_F(MenuModelTest, ItemsAreNamedAndNumberedByTheirPlaceInTheTree)
{
    struct Case {
        int top;
        int sub; // -1: the top-level item itself
        const char* caption;
        const char* name;
        std::uint32_t id;
    };
    const Case cases[] = {
        {0, -1, "Click", "Item1", 1},          {7, -1, "Basic", "Item8", 8},
        {15, -1, "Disable", "Item16", 16},     {7, 0, "Cut", "Item1", 801},
        {7, 3, "Select All", "Item4", 804},    {8, 5, "Lock PC", "Item6", 906},
        {9, 6, "Mute", "Item7", 1007},         {10, 0, "Macro Manager", "Item1", 1101},
    };
    for (const Case& c : cases) {
        const TuiMenuItemEx& item = c.sub < 0 ? items[c.top] : items[c.top].SubItems()[c.sub];
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(item.Caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(item.Name(), QString::fromLatin1(c.name));
        EXPECT_EQ(item.ItemID(), c.id);
    }
    EXPECT_TRUE(items[7].IsExtender());
    EXPECT_FALSE(items[0].IsExtender());
    EXPECT_EQ(&basic().Root(), &items);
}

TEST_F(MenuModelTest, ARefilledSubListIsNumberedFromItsFirstIdentifierAgain)
{
    for (int k = 0; k < 5; ++k)
        macros().Add(QStringLiteral("Macro<%1>").arg(k));
    macros().SetItemIndex(4);
    macros().Clear();
    EXPECT_EQ(macros().ItemIndex(), -1);
    for (int k = 0; k < 3; ++k)
        macros().Add(QStringLiteral("Macro<%1>").arg(k));
    ASSERT_EQ(macros().Count(), 3);
    EXPECT_EQ(macros()[0].ItemID(), 1101u);
    EXPECT_EQ(macros()[1].ItemID(), 1102u);
    EXPECT_EQ(macros()[2].ItemID(), 1103u);
    EXPECT_EQ(macros()[2].Name(), QStringLiteral("Item3"));
}

TEST_F(MenuModelTest, AnItemAddedAfterADeletionTakesTheFreedNumber)
{
    basic().SetItemIndex(5);
    basic().Delete(1); // "Copy", Item2
    EXPECT_EQ(basic().ItemIndex(), 4) << "the selection stays on the same item";
    EXPECT_EQ(basic()[1].ItemID(), 803u) << "the others keep their identifiers";
    TuiMenuItemEx& added = basic().Add(QStringLiteral("Undo"));
    EXPECT_EQ(added.Name(), QStringLiteral("Item2"));
    EXPECT_EQ(added.ItemID(), 802u);
    basic().Delete(99);
    EXPECT_EQ(basic().Count(), 8);
}

TEST_F(MenuModelTest, IdentifiersOfDeeperListsMultiplyByAHundredPerLevel)
{
    TuiMenuItemEx& deeper = basic()[3].SubItems().Add(QStringLiteral("Deeper"));
    EXPECT_EQ(deeper.ItemID(), 80401u);
    EXPECT_EQ(&deeper.Parent().Root(), &items);
}

TEST_F(MenuModelTest, TheShownSelectionIsTheMatchingIdentifierElseTheListsOwn)
{
    // 804 lives in "Basic": the top level marks nothing, "Basic" marks "Select All".
    EXPECT_EQ(items.ShownSelection(804), -1);
    EXPECT_EQ(basic().ShownSelection(804), 3);
    EXPECT_EQ(items.ShownSelection(8), 7);

    // Only identifiers below 2^32 can match.
    EXPECT_EQ(basic().ShownSelection((std::uint64_t(1) << 32) + 804), -1);

    basic().SetItemIndex(6);
    EXPECT_EQ(basic().ShownSelection(1), 6);
    EXPECT_EQ(basic().ShownSelection(std::nullopt), 6);
    EXPECT_EQ(basic().ShownSelection(805), 4);

    basic().SetItemIndex(8);
    EXPECT_EQ(basic().ItemIndex(), -1) << "an index outside the list selects nothing";
}

TEST_F(MenuModelTest, CheckedStateIsSetOnlyForItemsOfTheList)
{
    items.SetItemCheckedState(2, true);
    items.SetItemCheckedState(-1, true);
    items.SetItemCheckedState(16, true);
    for (int i = 0; i < items.Count(); ++i)
        EXPECT_EQ(items[i].Checked, i == 2) << i;
}

TEST_F(MenuModelTest, ReleasingTheButtonClosesAndReportsOnlyForALeafPressedOnBefore)
{
    TuiMenuItemEx* basicItem = &items[7];
    TuiMenuItemEx* copy = &basic()[1];
    TuiMenuItemEx* paste = &basic()[2];
    struct Case {
        const char* what;
        TuiMenuItemEx* down;
        TuiMenuItemEx* up;
        bool closes;
        TuiMenuItemEx* reported;
    };
    const Case cases[] = {
        {"click on a leaf", copy, copy, true, copy},
        {"click on an extender", basicItem, basicItem, false, nullptr},
        {"pressed on one leaf, released on another", copy, paste, true, nullptr},
        {"pressed outside, released on a leaf", nullptr, paste, true, nullptr},
        {"pressed on a leaf, released on an extender", copy, basicItem, false, nullptr},
        {"released outside every item", copy, nullptr, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MenuRelease outcome = releaseOutcome(c.down, c.up);
        EXPECT_EQ(outcome.closeTree, c.closes);
        EXPECT_EQ(outcome.report, c.reported);
    }
}

TEST_F(MenuModelTest, AChoiceClearsTheSelectionOfEveryOtherList)
{
    items.SetItemIndex(7);
    basic().SetItemIndex(3);
    items[9].SubItems().SetItemIndex(0);
    clearSelectionsExcept(items, &basic());
    EXPECT_EQ(items.ItemIndex(), -1);
    EXPECT_EQ(basic().ItemIndex(), 3);
    EXPECT_EQ(items[9].SubItems().ItemIndex(), -1);
}

TEST_F(MenuModelTest, EveryChangeOfTheTreeIsToldToTheRoot)
{
    int changes = 0;
    items.OnStructureChange = [&] { ++changes; };
    macros().Clear();
    macros().Add(QStringLiteral("Macro Manager"));
    basic().Delete(0);
    items.Add(QStringLiteral("More"));
    EXPECT_EQ(changes, 4);
}

TEST(MenuKeyboardTest, KeysMoveTheSelectionInsideTheList)
{
    const QStringList texts = {"Click", "Right Click", "Middle Button", "Combo Key", "copy", "Disable"};
    struct Case {
        const char* what;
        int current;
        int key;
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"character, first match", -1, Qt::Key_C, "c", 0},
        {"character, case ignored", 3, Qt::Key_R, "R", 1},
        {"character, no match keeps the selection", 2, Qt::Key_Z, "z", 2},
        {"digit without match", 2, Qt::Key_5, "5", 2},
        {"Home", 4, Qt::Key_Home, "", 0},
        {"End", 1, Qt::Key_End, "", 5},
        {"Up", 3, Qt::Key_Up, "", 2},
        {"Left", 3, Qt::Key_Left, "", 2},
        {"Up at the first row stays", 0, Qt::Key_Up, "", 0},
        {"Up with nothing selected", -1, Qt::Key_Up, "", 0},
        {"Down", 3, Qt::Key_Down, "", 4},
        {"Right", 3, Qt::Key_Right, "", 4},
        {"Down at the last row stays", 5, Qt::Key_Down, "", 5},
        {"Down with nothing selected", -1, Qt::Key_Down, "", 0},
        {"other key", 3, Qt::Key_F5, "", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(keyboardSelection(texts, c.current, c.key, QString::fromLatin1(c.text)), c.expected);
    }
    EXPECT_EQ(keyboardSelection({}, -1, Qt::Key_Down, QString()), -1);
    EXPECT_EQ(keyboardSelection({}, -1, Qt::Key_A, QStringLiteral("a")), -1);
}

TEST(MenuPlacementTest, APopupOpensBesideItsTargetAndToTheLeftNearTheRightEdge)
{
    const QRect screen(0, 0, 1920, 1080);
    const QRect window(100, 100, 1000, 600);
    struct Case {
        const char* what;
        QRect target;
        QRect targetWindow;
        QSize popup;
        TPlacement placement;
        std::optional<QRect> rectangle;
        QPoint expected;
    };
    const Case cases[] = {
        {"right, centred", {150, 300, 120, 33}, window, {200, 303}, TPlacement::vgPlacementRightCenter, {},
         {270, 300 + (33 - 303) / 2}},
        {"right, top aligned", {150, 300, 120, 30}, window, {200, 100}, TPlacement::vgPlacementRight, {}, {270, 300}},
        {"just clear of the edge", {1500, 300, 100, 30}, window, {319, 100}, TPlacement::vgPlacementRight, {},
         {1600, 300}},
        {"reaching the edge opens left of the target's window", {1500, 300, 100, 30}, {500, 100, 1100, 600},
         {320, 100}, TPlacement::vgPlacementRight, {}, {500 - 320, 300}},
        {"never left of the screen", {1500, 300, 100, 30}, window, {320, 100}, TPlacement::vgPlacementRight, {},
         {0, 300}},
        {"a sub-menu opens left of its parent popup", {1700, 400, 180, 30}, {1696, 396, 188, 200}, {150, 90},
         TPlacement::vgPlacementRight, {}, {1696 - 150, 400}},
        {"with a rectangle, beside it", {150, 300, 120, 33}, window, {200, 100}, TPlacement::vgPlacementRight,
         QRect(10, 5, 40, 20), {150 + 50, 305}},
        {"with a rectangle at the edge: left by the target's width, 20 down", {1600, 300, 120, 33}, window,
         {200, 100}, TPlacement::vgPlacementRight, QRect(10, 5, 40, 20), {1600 + 50 - 120, 305 + 20}},
        {"kept above the screen's bottom", {150, 1050, 120, 30}, window, {200, 300}, TPlacement::vgPlacementRight,
         {}, {270, 1080 - 300}},
        {"kept below the screen's top", {150, 10, 120, 30}, window, {200, 300}, TPlacement::vgPlacementRightCenter,
         {}, {270, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MenuPlacementInput in;
        in.target = c.target;
        in.targetWindow = c.targetWindow;
        in.popup = c.popup;
        in.screen = screen;
        in.placement = c.placement;
        in.placementRectangle = c.rectangle;
        EXPECT_EQ(menuPopupPosition(in), c.expected);
    }
}

TEST(MenuPlacementTest, ThePopupOfAWindowOnASecondScreenFlipsAtThatScreensEdge)
{
    MenuPlacementInput in;
    in.screen = QRect(1920, 0, 1280, 1024);
    in.target = QRect(2900, 200, 120, 33);
    in.targetWindow = QRect(2500, 100, 600, 500);
    in.popup = QSize(200, 120);
    in.placement = TPlacement::vgPlacementRight;
    EXPECT_EQ(menuPopupPosition(in), QPoint(2300, 200));
    in.target.moveLeft(2700);
    EXPECT_EQ(menuPopupPosition(in), QPoint(2820, 200));
}

TEST(MenuPlacementTest, APopupIsAsTallAsItsItemsAndWideEnoughForTheLongestText)
{
    MenuSizeInput in;
    in.itemCount = 16;
    in.itemHeight = 30;
    in.longestTextWidth = 97;
    EXPECT_EQ(menuPopupSize(in), QSize(97 + 100 + 8, 16 * 30 + 8));

    in.screenHeight = 400;
    EXPECT_EQ(menuPopupSize(in).height(), 400);

    in.customWidth = 250;
    in.customHeight = 90;
    EXPECT_EQ(menuPopupSize(in), QSize(250, 90));
}

} // namespace
