#include "MacroTestSupport.h"

#include "macros/ActionsClass.h"
#include "macros/MacroClass.h"

#include <gtest/gtest.h>

using namespace k4812;
using namespace k4812::test;

namespace {

constexpr int kA = 'A', kB = 'B', kC = 'C', kX = 'X';

// A list of one macro "m" holding the actions, selected, with its editor.
class ActionsEditing : public ::testing::Test {
protected:
    void load(std::initializer_list<TMACROKEY> actions)
    {
        QString error;
        macros = TuiMacroClass::CtlCreate(*makeMacroList({makeMacro("m", actions)}), error);
        ASSERT_TRUE(macros) << error.toStdString();
        macros->SetMacroListIndex(0);
        editor = macros->CurrentMacroAction();
        ASSERT_NE(editor, nullptr);
    }
    void loadABC() { load({keyDown(kA), keyDown(kB), keyDown(kC)}); }

    // The owner's stored record, where every edit must land at once.
    const TMACROKEYINFO& stored() const { return *macros->MacroAt(0); }
    std::vector<int> storedKeys() const { return keysOf(stored(), stored().MacroListCount); }
    std::vector<int> editedKeys() const { return keysOf(editor->Actions()); }

    std::unique_ptr<TuiMacroClass> macros;
    TuiActionsClass* editor = nullptr;
};

} // namespace

TEST_F(ActionsEditing, EveryEditLandsInTheOwnersRecordAtOnce)
{
    loadABC();
    EXPECT_EQ(editor->ActionIndex(), 0);
    ASSERT_TRUE(editor->DeleteAction(1));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kA, kC}));
    // Entries past the count keep what the record held before.
    EXPECT_EQ(keysOf(stored(), 3), (std::vector<int>{kA, kC, kC}));
    ASSERT_TRUE(editor->InsertActionAfter(keyDown(kX), 0));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kA, kX, kC}));
    ASSERT_TRUE(editor->MoveDownAction(0));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kX, kA, kC}));
    ASSERT_TRUE(editor->SetDelayValue(2, 300));
    EXPECT_EQ(stored().MacroList[2].VALUE1, 300 & 0xFF);
    EXPECT_EQ(stored().MacroList[2].VALUE2, 300 >> 8);
    EXPECT_EQ(stored().MacroList[2].nKeyType, kMacroKeyKeyboard) << "the type is not checked or changed";
}

TEST_F(ActionsEditing, InsertActionAfterAppendsAtCountAndIgnoresOtherPositions)
{
    loadABC();
    editor->SetActionIndex(1);
    ASSERT_TRUE(editor->InsertActionAfter(keyDown(kX), 3));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kA, kB, kC, kX}));
    ASSERT_TRUE(editor->InsertActionAfter(keyDown(kX), 1));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kA, kB, kX, kC, kX}));
    EXPECT_EQ(editor->ActionIndex(), 1) << "the selection is unchanged";
    EXPECT_FALSE(editor->InsertActionAfter(keyDown(kX), -1));
    EXPECT_FALSE(editor->InsertActionAfter(keyDown(kX), 6));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kA, kB, kX, kC, kX}));
}

TEST_F(ActionsEditing, InsertActionGoesBeforeAndKeepsTheSelectedAction)
{
    loadABC();
    editor->SetActionIndex(1);
    ASSERT_TRUE(editor->InsertAction(keyDown(kX), 1));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kA, kX, kB, kC}));
    EXPECT_EQ(editor->ActionIndex(), 2) << "still on B";
    EXPECT_FALSE(editor->InsertAction(keyDown(kX), 4)) << "before a position past the end";
    EXPECT_FALSE(editor->InsertAction(keyDown(kX), -1));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kA, kX, kB, kC}));
}

TEST_F(ActionsEditing, AFullMacroTakesNoMoreActions)
{
    load({});
    for (int i = 0; i < kMacroActionCapacity; ++i)
        ASSERT_TRUE(editor->InsertActionAfter(keyDown(i), i));
    EXPECT_TRUE(editor->IsFull());
    EXPECT_FALSE(editor->InsertActionAfter(keyDown(kX), kMacroActionCapacity));
    EXPECT_FALSE(editor->InsertAction(keyDown(kX), 0));
    ASSERT_TRUE(editor->CopyAction(0));
    EXPECT_FALSE(editor->PasteAction(0));
    EXPECT_EQ(stored().MacroListCount, kMacroActionCapacity);
    EXPECT_EQ(stored().MacroList[kMacroActionCapacity - 1].VALUE1, kMacroActionCapacity - 1);
}

TEST_F(ActionsEditing, DeletingMovesASelectionPastTheEndToTheLastAction)
{
    loadABC();
    editor->SetActionIndex(2);
    ASSERT_TRUE(editor->DeleteAction(2));
    EXPECT_EQ(editor->ActionIndex(), 1);
    ASSERT_TRUE(editor->DeleteAction(0));
    EXPECT_EQ(editor->ActionIndex(), 0);
    ASSERT_TRUE(editor->DeleteAction(0));
    EXPECT_EQ(editor->ActionIndex(), -1);
    EXPECT_TRUE(editor->IsEmpty());
    EXPECT_FALSE(editor->DeleteAction(0));
    EXPECT_EQ(stored().MacroListCount, 0);
}

TEST_F(ActionsEditing, MovingKeepsTheSelectionOnItsAction)
{
    loadABC();
    EXPECT_FALSE(editor->MoveUpAction(0));
    EXPECT_FALSE(editor->MoveDownAction(2));
    EXPECT_FALSE(editor->MoveUpAction(3));
    EXPECT_FALSE(editor->MoveDownAction(-1));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kA, kB, kC}));

    editor->SetActionIndex(1);
    ASSERT_TRUE(editor->MoveUpAction(1));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kB, kA, kC}));
    EXPECT_EQ(editor->ActionIndex(), 0);
    ASSERT_TRUE(editor->MoveDownAction(1));   // moves A past C; the selected B stays put
    EXPECT_EQ(editedKeys(), (std::vector<int>{kB, kC, kA}));
    EXPECT_EQ(editor->ActionIndex(), 0);
    ASSERT_TRUE(editor->MoveUpAction(1));     // moves C above the selected B
    EXPECT_EQ(editedKeys(), (std::vector<int>{kC, kB, kA}));
    EXPECT_EQ(editor->ActionIndex(), 1);
    EXPECT_EQ(storedKeys(), (std::vector<int>{kC, kB, kA}));
}

TEST_F(ActionsEditing, ACopiedActionPastesAnyNumberOfTimesACutOneOnce)
{
    loadABC();
    ASSERT_TRUE(editor->CopyAction(2));
    ASSERT_TRUE(editor->PasteAction(0));
    ASSERT_TRUE(editor->PasteAction(0));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kC, kC, kA, kB, kC}));
    EXPECT_TRUE(editor->HasClipboard());

    ASSERT_TRUE(editor->CutAction(3));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kC, kC, kA, kC}));
    ASSERT_TRUE(editor->PasteAction(0));
    EXPECT_EQ(editedKeys(), (std::vector<int>{kB, kC, kC, kA, kC}));
    EXPECT_FALSE(editor->HasClipboard());
    EXPECT_FALSE(editor->PasteAction(0));
    EXPECT_EQ(storedKeys(), (std::vector<int>{kB, kC, kC, kA, kC}));
}

TEST_F(ActionsEditing, CuttingTheOnlyActionAndPastingAtTheSelectionLosesIt)
{
    load({keyDown(kA)});
    ASSERT_TRUE(editor->CutAction(0));
    EXPECT_EQ(editor->ActionIndex(), -1);
    EXPECT_FALSE(editor->PasteAction(editor->ActionIndex()));
    EXPECT_FALSE(editor->HasClipboard()) << "a cut action is given one paste, even one that inserts nothing";
    EXPECT_FALSE(editor->IsClipboardCut());
    EXPECT_TRUE(editor->IsEmpty());
    EXPECT_EQ(stored().MacroListCount, 0);
}

TEST_F(ActionsEditing, InvalidPositionsChangeNothing)
{
    loadABC();
    editor->SetActionIndex(1);
    for (int index : {-1, 3, 1000}) {
        EXPECT_FALSE(editor->DeleteAction(index));
        EXPECT_FALSE(editor->CopyAction(index));
        EXPECT_FALSE(editor->CutAction(index));
        EXPECT_FALSE(editor->SetDelayValue(index, 10));
        EXPECT_EQ(editor->GetDelayValue(index), 0);
        editor->SetActionIndex(index);
    }
    EXPECT_FALSE(editor->HasClipboard());
    EXPECT_EQ(editor->ActionIndex(), 1);
    EXPECT_EQ(storedKeys(), (std::vector<int>{kA, kB, kC}));
}

TEST_F(ActionsEditing, DelaysAddUpToTheTotal)
{
    load({makeDelayAction(10), keyDown(kA), makeDelayAction(65535), keyUp(kA)});
    EXPECT_EQ(editor->TotalDelay(), 65545);
    EXPECT_EQ(editor->GetDelayValue(2), 65535);
    ASSERT_TRUE(editor->SetDelayValue(0, 0x1234));
    EXPECT_EQ(editor->GetDelayValue(0), 0x1234);
    EXPECT_EQ(editor->TotalDelay(), 0x1234 + 65535);
}

TEST_F(ActionsEditing, SetMacroKeyInfoReplacesActionsAndSettingsButRefusesABadCount)
{
    loadABC();
    editor->SetActionIndex(2);
    TMACROKEYINFO recorded = makeMacro("m", {keyDown(kX), keyUp(kX)});
    recorded.nLoopCount = 5;
    recorded.nAutoAddDelay = 1;
    QString error;
    ASSERT_TRUE(editor->SetMacroKeyInfo(recorded, error));
    EXPECT_EQ(editor->ActionIndex(), 0);
    EXPECT_EQ(storedKeys(), (std::vector<int>{kX, kX}));
    EXPECT_EQ(stored().nLoopCount, 5);
    EXPECT_EQ(stored().nAutoAddDelay, 1);

    for (std::int32_t bad : {kMacroActionCapacity + 1, -1}) {
        TMACROKEYINFO damaged = recorded;
        damaged.MacroListCount = bad;
        error.clear();
        EXPECT_FALSE(editor->SetMacroKeyInfo(damaged, error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(TuiActionsClass::CtrlCreate(damaged, nullptr, 0, error));
    }
    EXPECT_EQ(storedKeys(), (std::vector<int>{kX, kX}));
}

TEST_F(ActionsEditing, CheckErrorsMarksTheStoredRecordOnlyAndALaterStoreBackUndoesIt)
{
    load({keyDown(kA)});
    EXPECT_EQ(editor->CheckErrors(), 1);
    EXPECT_EQ(stored().HaveErrors, 1);
    EXPECT_EQ(stored().ErrorCount, 1);
    EXPECT_EQ(editor->GetMacroKeyInfo().HaveErrors, 0) << "the working copy keeps its earlier result";

    ASSERT_TRUE(editor->CopyAction(0));   // a store back that changes no action
    EXPECT_EQ(stored().HaveErrors, 0);
    EXPECT_EQ(stored().ErrorCount, 0);

    // A fresh editor copies the marked record; fixing the macro keeps the
    // mark until the check runs again.
    editor->CheckErrors();
    macros->SetMacroListIndex(0);
    editor = macros->CurrentMacroAction();
    ASSERT_TRUE(editor->InsertActionAfter(keyUp(kA), 0));
    EXPECT_EQ(stored().HaveErrors, 1);
    EXPECT_EQ(editor->CheckErrors(), 0);
    EXPECT_EQ(stored().HaveErrors, 0);
    EXPECT_EQ(stored().ErrorCount, 0);
}
