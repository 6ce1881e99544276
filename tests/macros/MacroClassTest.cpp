#include "MacroTestSupport.h"

#include "macros/MacroClass.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace k4812;
using namespace k4812::test;

namespace {

QStringList namesOf(const TuiMacroClass& macros)
{
    QStringList names;
    for (int i = 0; i < macros.MacroListCount(); ++i)
        names << macroNameOf(*macros.MacroAt(i));
    return names;
}

void expectRenumbered(const TuiMacroClass& macros)
{
    for (int i = 0; i < macros.MacroListCount(); ++i)
        EXPECT_EQ(macros.MacroAt(i)->nMacroIndex, i);
}

std::unique_ptr<TuiMacroClass> loaded(std::initializer_list<TMACROKEYINFO> list)
{
    QString error;
    auto macros = TuiMacroClass::CtlCreate(*makeMacroList(list), error);
    EXPECT_TRUE(macros) << error.toStdString();
    return macros;
}

QString nameOfUnits(int units, QChar c = QLatin1Char('n'))
{
    return QString(units, c);
}

} // namespace

TEST(MacroClass, LoadingSelectsTheFirstMacroWithoutAnEditor)
{
    auto macros = loaded({makeMacro("a"), makeMacro("b")});
    EXPECT_EQ(macros->MacroListCount(), 2);
    EXPECT_EQ(macros->MacroListIndex(), 0);
    EXPECT_EQ(macroNameOf(*macros->CurrentMacroKeyInfo()), "a");
    EXPECT_EQ(macros->CurrentMacroAction(), nullptr);

    TuiMacroClass empty;
    EXPECT_EQ(empty.MacroListIndex(), -1);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.CurrentMacroKeyInfo(), nullptr);
}

TEST(MacroClass, ListsOutsideTheDataModelAreRefusedWhole)
{
    auto tooMany = makeMacroList({makeMacro("a")});
    tooMany->nMacroInfoCount = kMacroListCapacity + 1;
    auto badCount = makeMacroList({makeMacro("a"), makeMacro("b")});
    badCount->MacroInfos[1].MacroListCount = kMacroActionCapacity + 1;
    auto negative = makeMacroList({makeMacro("a")});
    negative->MacroInfos[0].MacroListCount = -1;
    for (const TMACROKEYINFOLIST* list : {tooMany.get(), badCount.get(), negative.get()}) {
        TuiMacroClass macros;
        QString error;
        EXPECT_FALSE(macros.SetMacroKeyInfoList(*list, error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(macros.IsEmpty());
        EXPECT_EQ(macros.MacroListIndex(), -1);
    }

    // Loading appends; a second list that would overflow the record is refused.
    auto full = makeZeroRecord<TMACROKEYINFOLIST>();
    full->nMacroInfoCount = kMacroListCapacity;
    QString error;
    auto macros = TuiMacroClass::CtlCreate(*full, error);
    ASSERT_TRUE(macros) << error.toStdString();
    EXPECT_EQ(macros->MacroListCount(), kMacroListCapacity);
    EXPECT_FALSE(macros->SetMacroKeyInfoList(*makeMacroList({makeMacro("x")}), error));
    EXPECT_EQ(macros->MacroListCount(), kMacroListCapacity);
}

TEST(MacroClass, HandingBackFillsTheSlotsInUseOnly)
{
    auto macros = loaded({makeMacro("a"), makeMacro("b"), makeMacro("c")});
    ASSERT_TRUE(macros->DeleteMacro(0));
    auto out = makeMacroList({makeMacro("x"), makeMacro("y"), makeMacro("z")});
    macros->GetMacroKeyInfoList(*out);
    EXPECT_EQ(out->nMacroInfoCount, 2);
    EXPECT_EQ(macroNameOf(out->MacroInfos[0]), "b");
    EXPECT_EQ(out->MacroInfos[0].nMacroIndex, 0);
    EXPECT_EQ(macroNameOf(out->MacroInfos[1]), "c");
    EXPECT_EQ(macroNameOf(out->MacroInfos[2]), "z") << "slots past the count are left as they were";
}

TEST(MacroClass, CreatingAppendsSelectsAndStopsAtTwenty)
{
    auto macros = loaded({makeMacro("a", {keyDown('A')})});
    macros->SetMacroListIndex(0);
    TuiActionsClass* editorOfA = macros->CurrentMacroAction();
    ASSERT_TRUE(macros->CreateNewMacro("new"));
    EXPECT_EQ(macros->MacroListIndex(), 1);
    const TMACROKEYINFO& created = *macros->CurrentMacroKeyInfo();
    EXPECT_EQ(macroNameOf(created), "new");
    EXPECT_EQ(created.MacroListCount, 0);
    EXPECT_EQ(created.nMacroIndex, 1);
    EXPECT_EQ(created.Version, 0u);
    EXPECT_EQ(created.HaveErrors, 0);
    EXPECT_EQ(macros->CurrentMacroAction(), editorOfA) << "creating starts no editor";

    while (!macros->IsFull())
        ASSERT_TRUE(macros->CreateNewMacro(QString::number(macros->MacroListCount())));
    EXPECT_EQ(macros->MacroListCount(), TuiMacroClass::FMaxMacroListCount);
    EXPECT_FALSE(macros->CreateNewMacro("one too many"));
    EXPECT_EQ(macros->MacroListCount(), TuiMacroClass::FMaxMacroListCount);
    expectRenumbered(*macros);
}

TEST(MacroClass, AFiftyUnitNameIsStoredWithoutNulAndReadBackWhole)
{
    TuiMacroClass macros;
    const QString fifty = nameOfUnits(kMacroNameUnits);
    ASSERT_TRUE(macros.CreateNewMacro(fifty + "xyz"));
    const TMACROKEYINFO& macro = *macros.CurrentMacroKeyInfo();
    EXPECT_EQ(macroNameOf(macro), fifty);
    EXPECT_EQ(macro.szMacroName.unitAt(kMacroNameUnits - 1), u'n') << "no room is kept for a NUL";
    EXPECT_EQ(macro.Version, 0u) << "the name does not run into the next field";
    EXPECT_TRUE(macros.MacroExists(fifty));
    EXPECT_FALSE(macros.MacroExists(fifty + "xyz"));
}

TEST(MacroClass, NamesAreCutToFiftyUnitsButNeverBetweenASurrogatePair)
{
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");   // two UTF-16 units
    const QString name = nameOfUnits(kMacroNameUnits - 1) + face;
    EXPECT_EQ(cutMacroName(name), nameOfUnits(kMacroNameUnits - 1));
    EXPECT_EQ(cutMacroName(nameOfUnits(kMacroNameUnits - 2) + face), nameOfUnits(kMacroNameUnits - 2) + face);
}

TEST(MacroClass, DeletingMovesTheSelectionOnlyWhenItFallsOffTheEnd)
{
    auto macros = loaded({makeMacro("a"), makeMacro("b"), makeMacro("c")});
    macros->SetMacroListIndex(2);
    ASSERT_TRUE(macros->DeleteMacro(2));
    EXPECT_EQ(macros->MacroListIndex(), 1);
    EXPECT_EQ(namesOf(*macros), (QStringList{"a", "b"}));

    macros->SetMacroListIndex(1);
    ASSERT_TRUE(macros->DeleteMacro(0));
    EXPECT_EQ(macros->MacroListIndex(), 0) << "past the end, so moved to the new last entry";
    expectRenumbered(*macros);

    EXPECT_FALSE(macros->DeleteMacro(1));
    EXPECT_FALSE(macros->DeleteMacro(-1));
    ASSERT_TRUE(macros->DeleteMacro(0));
    EXPECT_EQ(macros->MacroListIndex(), -1);
    EXPECT_TRUE(macros->IsEmpty());
    EXPECT_EQ(macros->CurrentMacroKeyInfo(), nullptr);
}

TEST(MacroClass, DeletingDropsTheEditorSoItCannotWriteOverAnotherMacro)
{
    auto macros = loaded({makeMacro("a"), makeMacro("b", {keyDown('B')}), makeMacro("c", {keyDown('C')})});
    macros->SetMacroListIndex(1);
    ASSERT_TRUE(macros->DeleteMacro(0));
    EXPECT_EQ(macros->CurrentMacroAction(), nullptr);
    EXPECT_EQ(namesOf(*macros), (QStringList{"b", "c"}));
    macros->SetMacroListIndex(1);
    ASSERT_NE(macros->CurrentMacroAction(), nullptr);
    ASSERT_TRUE(macros->CurrentMacroAction()->DeleteAction(0));
    EXPECT_EQ(macros->MacroAt(0)->MacroListCount, 1);
    EXPECT_EQ(macros->MacroAt(1)->MacroListCount, 0);
}

TEST(MacroClass, NamesAreLookedUpExactly)
{
    auto macros = loaded({makeMacro("Fire"), makeMacro("fire"), makeMacro("Fire")});
    EXPECT_EQ(macros->IndexOfMacroName("fire"), 1);
    EXPECT_EQ(macros->IndexOfMacroName("Fire"), 0);
    EXPECT_EQ(macros->IndexOfMacroName("FIRE"), -1);
    EXPECT_FALSE(macros->MacroExists("Fire "));
    EXPECT_FALSE(macros->DeleteMacro(QString("nothing")));
    ASSERT_TRUE(macros->DeleteMacro(QString("Fire")));
    EXPECT_EQ(namesOf(*macros), (QStringList{"fire", "Fire"}));
    expectRenumbered(*macros);
}

TEST(MacroClass, SelectingStartsAFreshEditorEvenForTheSameMacro)
{
    auto macros = loaded({makeMacro("a", {keyDown('A'), keyUp('A')})});
    macros->SetMacroListIndex(0);
    TuiActionsClass* editor = macros->CurrentMacroAction();
    editor->SetActionIndex(1);
    ASSERT_TRUE(editor->CopyAction(1));
    macros->SetMacroListIndex(0);
    editor = macros->CurrentMacroAction();
    EXPECT_EQ(editor->ActionIndex(), 0);
    EXPECT_FALSE(editor->HasClipboard());

    macros->SetMacroListIndex(5);
    EXPECT_EQ(macros->MacroListIndex(), 0);
    EXPECT_EQ(macros->CurrentMacroAction(), editor) << "an invalid position is ignored";
}

TEST(MacroClass, LoopValueIsStoredAndTheEditorRestarted)
{
    auto macros = loaded({makeMacro("a", {keyDown('A')})});
    macros->SetMacroListIndex(0);
    ASSERT_TRUE(macros->CurrentMacroAction()->CopyAction(0));
    ASSERT_TRUE(macros->SetMacroLoopValue(0, 255));
    EXPECT_EQ(macros->MacroAt(0)->nLoopCount, 255);
    EXPECT_FALSE(macros->CurrentMacroAction()->HasClipboard());
    EXPECT_EQ(macros->CurrentMacroAction()->GetMacroKeyInfo().nLoopCount, 255);
    EXPECT_FALSE(macros->SetMacroLoopValue(1, 3));
}

TEST(MacroClass, InsertingARecordingPutsItsActionsInOrderAfterThePosition)
{
    auto macros = loaded({makeMacro("m", {keyDown('A'), keyDown('B')})});
    macros->SetMacroListIndex(0);
    QString error;
    const TMACROKEYINFO recording = makeMacro("ignored", {keyDown('X'), keyDown('Y'), keyDown('Z')});
    ASSERT_TRUE(macros->InsertMacroAfter(recording, 0, error));
    EXPECT_EQ(keysOf(macros->CurrentMacroAction()->Actions()), (std::vector<int>{'A', 'X', 'Y', 'Z', 'B'}));
    EXPECT_EQ(macroNameOf(*macros->MacroAt(0)), "m") << "only actions are taken";

    ASSERT_TRUE(macros->InsertMacroAfter(recording, 5, error));
    EXPECT_EQ(macros->MacroAt(0)->MacroListCount, 8);
    EXPECT_FALSE(macros->InsertMacroAfter(recording, -1, error)) << "there is no position before the first";
    EXPECT_FALSE(macros->InsertMacroAfter(recording, 9, error));
    EXPECT_EQ(macros->MacroAt(0)->MacroListCount, 8);
}

TEST(MacroClass, InsertingDropsWhatNoLongerFitsAndRefusesABadRecord)
{
    auto macros = loaded({makeMacro("m")});
    macros->SetMacroListIndex(0);
    TMACROKEYINFO big = makeMacro("r");
    for (int i = 0; i < kMacroActionCapacity; ++i)
        big.MacroList[i] = keyDown(i);
    big.MacroListCount = 100;
    QString error;
    ASSERT_TRUE(macros->InsertMacroAfter(big, 0, error));
    ASSERT_TRUE(macros->InsertMacroAfter(big, 100, error));
    EXPECT_EQ(macros->MacroAt(0)->MacroListCount, kMacroActionCapacity);
    EXPECT_EQ(macros->MacroAt(0)->MacroList[kMacroActionCapacity - 1].VALUE1, 27);

    big.MacroListCount = kMacroActionCapacity + 1;
    EXPECT_FALSE(macros->InsertMacroAfter(big, 0, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(MacroClass, InsertingGoesIntoTheSelectedMacroEvenBeforeItHasAnEditor)
{
    auto macros = loaded({makeMacro("old", {keyDown('A')})});
    macros->SetMacroListIndex(0);
    ASSERT_TRUE(macros->CreateNewMacro("new"));
    QString error;
    ASSERT_TRUE(macros->InsertMacroAfter(makeMacro("r", {keyDown('X')}), 0, error));
    EXPECT_EQ(macros->MacroAt(0)->MacroListCount, 1);
    EXPECT_EQ(macros->MacroAt(1)->MacroListCount, 1);
    EXPECT_EQ(macros->MacroAt(1)->MacroList[0].VALUE1, 'X');
    EXPECT_EQ(macros->CurrentMacroAction()->MacroIndex(), 1);
}
