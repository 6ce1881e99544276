#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include "wire/ButtonEncoding.h"
#include "macros/MacroName.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace k4812;

namespace {

using Entry = std::array<std::uint8_t, 4>;

class ButtonAssignmentTest : public ::testing::Test {
protected:
    ButtonAssignmentTest() : profile(makeZeroRecord<TMOUSEPROFILEINFO>())
    {
        applyProfileDefaults(*profile);
        profile->ConfigInfo.FireKeyCount = 4;
        profile->ConfigInfo.FireKeySpeed = 20;
    }

    // Adds macros named M0, M1, ... to the profile's list.
    void addMacros(int count)
    {
        TMACROKEYINFOLIST& list = profile->MacroKeyInfoList;
        for (int i = 0; i < count; ++i) {
            TMACROKEYINFO& m = list.MacroInfos[i];
            std::memset(&m, 0, sizeof m);
            setMacroName(m, QStringLiteral("M%1").arg(i));
            m.MacroListCount = 2;
            m.MacroList[0] = TMACROKEY{4, 1, 65, 0};
            m.MacroList[1] = TMACROKEY{4, 0, 65, 0};
            m.nMacroIndex = std::uint16_t(i);
        }
        list.nMacroInfoCount = std::uint16_t(count);
    }

    // What the mouse receives for window button `button` (0-based).
    Entry deviceEntry(int button)
    {
        const auto prepared = PrepareDeviceProfile(*profile);
        const ButtonBlock block = EncodeButtonBlock(*prepared);
        // The window's fourth and fifth buttons are the mouse's fifth and fourth.
        const int slot = button == 3 ? 4 : button == 4 ? 3 : button;
        return {block[1 + 4 * slot], block[2 + 4 * slot], block[3 + 4 * slot], block[4 + 4 * slot]};
    }

    const TBUTTONFUNCINFO& button(int i) { return profile->ConfigInfo.ButtonFuncInfo[i]; }

    std::unique_ptr<TMOUSEPROFILEINFO> profile;
};

} // namespace

TEST(ButtonFunctionTableTest, RowsMenuIdsAndCaptions)
{
    EXPECT_EQ(FindFunctionRow(4), 3);   // Forward is row 3 with device code 5
    EXPECT_EQ(*DeviceCodeOfRow(3), 0x05);
    EXPECT_EQ(*DeviceCodeOfRow(4), 0x04);
    EXPECT_EQ(FindFunctionRow(11), kRowMacro);
    EXPECT_EQ(FindFunctionRow(1102), 1102) << "no row: the identifier itself";
    EXPECT_EQ(MenuIdOfRow(33), 16);
    EXPECT_EQ(MenuIdOfRow(34), -1);
    EXPECT_FALSE(DeviceCodeOfRow(-1).has_value());
    for (const ButtonFunctionRow& r : ButtonFunctionTable)
        EXPECT_EQ(FindFunctionRow(r.menuId), r.row) << r.caption;
    EXPECT_STREQ(ButtonMenuCaption(8), "Basic");
    EXPECT_STREQ(ButtonMenuCaption(906), "Lock PC");
    EXPECT_STREQ(ButtonMenuCaption(1001), "Play/Pause");
    EXPECT_EQ(ButtonMenuCaption(1102), nullptr);
    EXPECT_EQ(ButtonMenuCaption(17), nullptr);
}

TEST_F(ButtonAssignmentTest, MenuChoicesStoreTheirFunctionAndTheMouseGetsItsCode)
{
    struct Case {
        int menuId;
        int functionClass;
        int row;
        Entry entry;
    };
    const Case cases[] = {
        {3, kFunctionClassMouse, 2, {0x03, 0, 0, 0}},
        {4, kFunctionClassMouse, 3, {0x05, 0, 0, 0}},      // Forward
        {5, kFunctionClassMouse, 4, {0x04, 0, 0, 0}},      // Backward
        {802, kFunctionClassCombo, 8, {0x0F, 0x01, 0x06, 0}},   // Copy: Ctrl (HID 1) + C (usage 6)
        {901, kFunctionClassCombo, 15, {0x0F, 0x04, 0x2B, 0}},  // Switch Window: Alt + Tab
        {906, kFunctionClassCombo, 20, {0x0F, 0x08, 0x0F, 0}},  // Lock PC: Win + L
        {1001, kFunctionClassMedia, 21, {0x0E, 0, 0xCD, 0}},   // Play/Pause
        {1005, kFunctionClassMedia, 25, {0x0E, 0, 0xE9, 0}},   // Volume Up
        {12, kFunctionClassCpi, 29, {0x08, 0, 0, 0}},
        {14, kFunctionClassCpi, 31, {0x0A, 0, 0, 0}},
        {16, kFunctionClassMedia, 33, {0x0E, 0, 0, 0}},        // Disable
    };
    for (const Case& c : cases) {
        const AssignmentOutcome outcome = AssignButtonFunction(*profile, 2, c.menuId);
        ASSERT_TRUE(outcome.assigned()) << c.menuId;
        EXPECT_EQ(outcome.alsoChanged, -1);
        EXPECT_EQ(button(2).FunctionClass, c.functionClass) << c.menuId;
        EXPECT_EQ(button(2).FunctionIndex, c.row) << c.menuId;
        EXPECT_EQ(button(2).MenuID, c.menuId);
        EXPECT_EQ(deviceEntry(2), c.entry) << c.menuId;
    }
}

TEST_F(ButtonAssignmentTest, ThePrimaryButtonsTakeOnlyClicksAndNeverBothRightClick)
{
    AssignmentOutcome outcome = AssignButtonFunction(*profile, 0, 2);   // Right Click on button 1
    ASSERT_TRUE(outcome.assigned());
    EXPECT_EQ(outcome.alsoChanged, 1);
    EXPECT_EQ(button(0).DeviceCode, 2);
    EXPECT_EQ(button(1).DeviceCode, 1) << "button 2 becomes Click";
    EXPECT_EQ(button(1).MenuID, 1);
    EXPECT_EQ(button(1).FunctionIndex, 0);

    outcome = AssignButtonFunction(*profile, 1, 2);
    EXPECT_EQ(outcome.alsoChanged, 0);
    EXPECT_EQ(button(0).DeviceCode, 1);
    EXPECT_EQ(button(1).DeviceCode, 2);

    outcome = AssignButtonFunction(*profile, 0, 1);   // Click leaves the other alone
    EXPECT_EQ(outcome.alsoChanged, -1);
    EXPECT_EQ(button(1).DeviceCode, 2);

    const auto before = recordToBytes(*profile);
    EXPECT_EQ(AssignButtonFunction(*profile, 0, 3).result, AssignmentResult::NotOnThisButton);
    EXPECT_EQ(AssignSingleKey(*profile, 1, {65, 0}).result, AssignmentResult::NotOnThisButton);
    EXPECT_EQ(AssignMacro(*profile, 0, 0).result, AssignmentResult::NotOnThisButton);
    EXPECT_EQ(recordToBytes(*profile), before);
}

TEST_F(ButtonAssignmentTest, KeysCombinationsAndFireKeysCarryTheirValues)
{
    ASSERT_TRUE(AssignSingleKey(*profile, 3, {116, 0}).assigned());   // F5
    EXPECT_EQ(button(3).FunctionClass, kFunctionClassSingleKey);
    EXPECT_EQ(button(3).MenuID, 6);
    EXPECT_EQ(deviceEntry(3), (Entry{0x10, 0, 0x3E, 0}));

    ASSERT_TRUE(AssignComboKey(*profile, 4, {65, 0, 66, 0, 0x06}).assigned());   // Ctrl+Shift+A+B
    EXPECT_EQ(button(4).FunctionIndex, kRowComboKey);
    EXPECT_EQ(deviceEntry(4), (Entry{0x0F, 0x03, 0x04, 0x05}));

    EXPECT_EQ(FireKeyDialogInput(*profile, 5).nLoopCount, 4) << "a new fire key starts from the profile's values";
    EXPECT_EQ(FireKeyDialogInput(*profile, 5).DelyValue, 20);
    ASSERT_TRUE(AssignFireKey(*profile, 5, {3, 60}).assigned());
    EXPECT_EQ(deviceEntry(5), (Entry{0x12, 3, 60, 0}));
    EXPECT_EQ(FireKeyDialogInput(*profile, 5).DelyValue, 60) << "then from its own";

    const auto before = recordToBytes(*profile);
    struct Refusal {
        const char* what;
        AssignmentResult result;
        std::function<AssignmentOutcome()> assign;
    };
    const Refusal refusals[] = {
        {"browser key", AssignmentResult::KeyNotSendable, [&] { return AssignSingleKey(*profile, 2, {166, 1}); }},
        {"mouse click as key", AssignmentResult::KeyNotSendable, [&] { return AssignSingleKey(*profile, 2, {1, 0}); }},
        {"second key unsendable", AssignmentResult::KeyNotSendable,
         [&] { return AssignComboKey(*profile, 2, {65, 0, 172, 1, 2}); }},
        {"unknown modifier", AssignmentResult::BadValue,
         [&] { return AssignComboKey(*profile, 2, {65, 0, 0, 0, 16}); }},
        {"fire count 0", AssignmentResult::BadValue, [&] { return AssignFireKey(*profile, 2, {0, 10}); }},
        {"fire delay 256", AssignmentResult::BadValue, [&] { return AssignFireKey(*profile, 2, {1, 256}); }},
        {"dialog choice", AssignmentResult::NeedsValue, [&] { return AssignButtonFunction(*profile, 2, 6); }},
        {"macro item", AssignmentResult::NeedsValue, [&] { return AssignButtonFunction(*profile, 2, 1103); }},
        {"no such item", AssignmentResult::UnknownChoice, [&] { return AssignButtonFunction(*profile, 2, 809); }},
        {"no such button", AssignmentResult::NoSuchButton, [&] { return AssignButtonFunction(*profile, 15, 1); }},
    };
    for (const Refusal& r : refusals)
        EXPECT_EQ(r.assign().result, r.result) << r.what;
    EXPECT_EQ(recordToBytes(*profile), before) << "a refused choice changes nothing";
}

TEST_F(ButtonAssignmentTest, AtMostFiveDistinctMacrosAndTheSameMacroCountsOnce)
{
    addMacros(6);
    for (int b = 2; b <= 4; ++b)
        ASSERT_TRUE(AssignMacro(*profile, b, 0).assigned());
    EXPECT_EQ(CountAssignedMacros(*profile), 1);
    EXPECT_EQ(button(2).MenuID, 1102);
    EXPECT_EQ(button(2).FunctionIndex, kRowMacro);
    EXPECT_EQ(button(2).DeviceCode, 0x11);
    EXPECT_EQ(macroNameOf(button(2).MacroKeyInfo), "M0");

    // Four more distinct macros on buttons 3 to 6 and element 8, which counts
    // though the window does not show it.
    ASSERT_TRUE(AssignMacro(*profile, 3, 1).assigned());
    ASSERT_TRUE(AssignMacro(*profile, 4, 2).assigned());
    ASSERT_TRUE(AssignMacro(*profile, 5, 3).assigned());
    ASSERT_TRUE(AssignMacro(*profile, 8, 4).assigned());
    EXPECT_EQ(CountAssignedMacros(*profile), 5);

    const auto before = recordToBytes(*profile);
    EXPECT_EQ(AssignMacro(*profile, 6, 5).result, AssignmentResult::TooManyMacros);
    EXPECT_EQ(recordToBytes(*profile), before) << "the button keeps its function";
    EXPECT_TRUE(AssignMacro(*profile, 6, 4).assigned()) << "a macro already on a button is no sixth";
    EXPECT_EQ(AssignMacro(*profile, 6, 6).result, AssignmentResult::NoSuchMacro);
    EXPECT_EQ(AssignMacro(*profile, 6, -1).result, AssignmentResult::NoSuchMacro);

    EXPECT_EQ(FindMacroByName(*profile, "M3"), 3);
    EXPECT_EQ(FindMacroByName(*profile, "m3"), -1) << "names compare exactly";
    EXPECT_EQ(FindMacroByName(*profile, "M6"), -1);
}
