// The texts of the nine button-set entries: the factory functions, the key
// texts of Single Key and Combo Key with the cut of long combinations, the
// macro items, the hints, and that every caption follows the language.

#include "profiles/ButtonEntryTexts.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include "i18n/Translation.h"
#include "macros/MacroName.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace k4812;

namespace {

class ButtonEntryTextsTest : public ::testing::Test {
protected:
    ButtonEntryTextsTest() : profile(makeZeroRecord<TMOUSEPROFILEINFO>()) { applyProfileDefaults(*profile); }
    ~ButtonEntryTextsTest() override { clearActiveTranslation(); }

    void addMacro(const QString& name)
    {
        TMACROKEYINFOLIST& list = profile->MacroKeyInfoList;
        TMACROKEYINFO& m = list.MacroInfos[list.nMacroInfoCount];
        std::memset(&m, 0, sizeof m);
        setMacroName(m, name);
        m.nMacroIndex = list.nMacroInfoCount;
        list.nMacroInfoCount = std::uint16_t(list.nMacroInfoCount + 1);
    }

    std::unique_ptr<TMOUSEPROFILEINFO> profile;
};

TEST_F(ButtonEntryTextsTest, FactoryFunctionsReadAsTheMenusNameThem)
{
    const char* expected[] = {"1.Click",   "2.Right Click", "3.Middle Button", "4.Backward",
                              "5.Forward", "6.DPI +",       "7.DPI -"};
    for (int i = 0; i < kButtonEntryCount; ++i)
        EXPECT_EQ(ButtonEntryText(*profile, i), QLatin1String(expected[i])) << i;
    EXPECT_EQ(WheelEntryText(*profile, 0), QStringLiteral("8.Wheel Up"));
    EXPECT_EQ(WheelEntryText(*profile, 1), QStringLiteral("9.Wheel Down"));
}

TEST_F(ButtonEntryTextsTest, KeyTextsAndTheCutOfLongCombinations)
{
    const struct {
        TCOMBOKEYINFO combo;
        const char* entry;
        const char* hint;
    } cases[] = {
        {{65, 0, 0, 0, 2}, "3.Ctrl+A", "Combo Key: Ctrl+A"},
        {{65, 0, 66, 0, 2}, "3.<Ctrl+A+B>", "Combo Key: <Ctrl+A+B>"},               // 10 characters
        {{65, 0, 66, 0, 6}, "3.<Ctrl+Shi...", "Combo Key: <Ctrl+Shift+A+B>"},       // 16: cut
        {{65, 0, 0, 0, 1 | 2 | 4}, "3.Alt+Ctrl+...", "Combo Key: Alt+Ctrl+Shift+A"},  // 16: cut
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(AssignComboKey(*profile, 2, c.combo).assigned());
        EXPECT_EQ(ButtonEntryText(*profile, 2), QLatin1String(c.entry));
        EXPECT_EQ(ButtonEntryHint(*profile, 2), QLatin1String(c.hint));
    }

    ASSERT_TRUE(AssignSingleKey(*profile, 3, {0x74, 0}).assigned());
    EXPECT_EQ(ButtonEntryText(*profile, 3), QStringLiteral("4.<F5>"));
    EXPECT_EQ(ButtonEntryHint(*profile, 3), QStringLiteral("Single Key: <F5>"));
    EXPECT_TRUE(ButtonEntryHint(*profile, 0).isEmpty());
}

TEST_F(ButtonEntryTextsTest, MacroItemsNameTheMacro)
{
    addMacro(QStringLiteral("Reload"));
    addMacro(QStringLiteral("Jump"));
    ASSERT_TRUE(AssignMacro(*profile, 4, 1).assigned());
    EXPECT_EQ(ButtonEntryText(*profile, 4), QStringLiteral("5.Macro<Jump>"));
    EXPECT_EQ(ButtonMenuItemText(*profile, 1101), QStringLiteral("Macro Manager"));
    EXPECT_EQ(ButtonMenuItemText(*profile, 1104), QString()) << "no third macro";
}

TEST_F(ButtonEntryTextsTest, IdentifiersOfNoItemLeaveTheLabelEmpty)
{
    for (int id : {0, -1, 17, 99, 850, 20000})
        EXPECT_EQ(ButtonEntryText(*profile, 1, id), QStringLiteral("2.")) << id;
    EXPECT_EQ(WheelEntryText(0, 7), QStringLiteral("8."));
    EXPECT_EQ(WheelEntryText(1, 3), QStringLiteral("9.Volume +"));
}

TEST_F(ButtonEntryTextsTest, CaptionsAreShownInTheActiveLanguage)
{
    setActiveTranslation(TranslationList({QStringLiteral("Click=左键"), QStringLiteral("Wheel Up=滚轮向上"),
                                          QStringLiteral("Combo Key=组合键")}));
    EXPECT_EQ(ButtonEntryText(*profile, 0), QStringLiteral("1.左键"));
    EXPECT_EQ(WheelEntryText(*profile, 0), QStringLiteral("8.滚轮向上"));
    ASSERT_TRUE(AssignComboKey(*profile, 2, {65, 0, 0, 0, 2}).assigned());
    EXPECT_EQ(ButtonEntryHint(*profile, 2), QStringLiteral("组合键: Ctrl+A"));
}

} // namespace
