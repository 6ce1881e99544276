#include "profiles/MacroButtonSweep.h"

#include "macros/MacroName.h"
#include "profiles/ButtonAssignment.h"
#include "profiles/ButtonFunctionTable.h"
#include "profiles/FactoryDefaults.h"
#include "records/RecordBytes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace k4812;

namespace {

void addMacro(TMOUSEPROFILEINFO& profile, const char* name)
{
    TMACROKEYINFOLIST& list = profile.MacroKeyInfoList;
    TMACROKEYINFO m;
    std::memset(&m, 0, sizeof m);
    setMacroName(m, QString::fromLatin1(name));
    list.MacroInfos[list.nMacroInfoCount] = m;
    list.nMacroInfoCount = std::uint16_t(list.nMacroInfoCount + 1);
}

TEST(MacroButtonSweepTest, ButtonsCountedByTheProfileAreSweptAndNoMore)
{
    struct Case {
        std::int32_t buttonCount;
        int changed;   // of the three macro buttons on elements 2, 5 and 14
    };
    // A damaged count must neither reach past the 15 elements nor go negative.
    const Case cases[] = {{7, 2}, {15, 3}, {1000, 3}, {-1, 0}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.buttonCount);
        auto profile = makeZeroRecord<TMOUSEPROFILEINFO>();
        applyProfileDefaults(*profile);
        addMacro(*profile, "A");
        addMacro(*profile, "B");
        for (int button : {2, 5, 14}) {
            TBUTTONFUNCINFO e = profile->ConfigInfo.ButtonFuncInfo[button];
            e.FunctionClass = kFunctionClassMacro;
            e.FunctionIndex = kRowMacro;
            e.MacroKeyInfo = profile->MacroKeyInfoList.MacroInfos[button == 5 ? 1 : 0];
            e.MenuID = button == 5 ? 1103 : 1102;
            profile->ConfigInfo.ButtonFuncInfo[button] = e;
        }
        // A is deleted, B moves to the front.
        profile->MacroKeyInfoList.MacroInfos[0] = profile->MacroKeyInfoList.MacroInfos[1];
        profile->MacroKeyInfoList.nMacroInfoCount = 1;
        profile->ConfigInfo.ButtonCount = c.buttonCount;

        EXPECT_EQ(SweepMacroButtons(*profile), c.changed);
        if (c.changed >= 2) {
            EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[2].FunctionIndex, kRowDisable);
            EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[2].MenuID, 0);
            EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[5].MenuID, 1102);
            EXPECT_EQ(profile->ConfigInfo.ButtonFuncInfo[5].MacroKeyInfo.nMacroIndex, 0);
        }
        EXPECT_EQ(SweepMacroButtons(*profile), 0) << "a second sweep changes nothing";
    }
}

} // namespace
