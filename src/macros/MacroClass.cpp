#include "macros/MacroClass.h"

#include "macros/MacroBounds.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"

#include <cstring>

namespace k4812 {

TuiMacroClass::~TuiMacroClass() = default;

std::unique_ptr<TuiMacroClass> TuiMacroClass::CtlCreate(const TMACROKEYINFOLIST& AMacroKeyInfoList, QString& error)
{
    auto macros = std::make_unique<TuiMacroClass>();
    if (!macros->SetMacroKeyInfoList(AMacroKeyInfoList, error))
        return nullptr;
    return macros;
}

const TMACROKEYINFO* TuiMacroClass::MacroAt(int AIndex) const
{
    if (AIndex < 0 || AIndex >= MacroListCount())
        return nullptr;
    return &FMacroKeyInfoList[std::size_t(AIndex)];
}

void TuiMacroClass::SetMacroListIndex(int Value)
{
    if (MacroAt(Value) == nullptr)
        return;
    FMacroListIndex = Value;
    StartEditor(Value);
}

void TuiMacroClass::StartEditor(int AIndex)
{
    // Every record in the list is inside the data model, so this cannot fail.
    QString error;
    FCurrentMacroAction = TuiActionsClass::CtrlCreate(FMacroKeyInfoList[std::size_t(AIndex)], this, AIndex, error);
    Q_ASSERT(FCurrentMacroAction);
}

bool TuiMacroClass::SetMacroKeyInfoList(const TMACROKEYINFOLIST& AMacroKeyInfoList, QString& error)
{
    if (!isMacroListInModel(AMacroKeyInfoList, error))
        return false;
    const int count = AMacroKeyInfoList.nMacroInfoCount;
    if (MacroListCount() + count > kMacroListCapacity) {
        error = QStringLiteral("%1 more macros do not fit beside the %2 already in the list (at most %3)")
                    .arg(count)
                    .arg(MacroListCount())
                    .arg(kMacroListCapacity);
        return false;
    }
    FMacroKeyInfoList.insert(FMacroKeyInfoList.end(), AMacroKeyInfoList.MacroInfos,
                             AMacroKeyInfoList.MacroInfos + count);
    if (!IsEmpty())
        FMacroListIndex = 0;
    return true;
}

void TuiMacroClass::GetMacroKeyInfoList(TMACROKEYINFOLIST& AMacroKeyInfoList) const
{
    AMacroKeyInfoList.nMacroInfoCount = std::uint16_t(FMacroKeyInfoList.size());
    std::copy(FMacroKeyInfoList.begin(), FMacroKeyInfoList.end(), AMacroKeyInfoList.MacroInfos);
}

const TMACROKEYINFO* TuiMacroClass::GetCurrentMacroKeyItem() const
{
    return MacroAt(FMacroListIndex);
}

bool TuiMacroClass::CreateNewMacro(const QString& AMacroName)
{
    QString unusable;
    if (IsFull() || !isUsableMacroFileName(cutMacroName(AMacroName), unusable))
        return false;
    TMACROKEYINFO record;
    std::memset(&record, 0, sizeof record);
    setMacroName(record, AMacroName);
    FMacroListIndex = MacroListCount();
    record.nMacroIndex = std::uint16_t(FMacroListIndex);
    FMacroKeyInfoList.push_back(record);
    Renumber();
    return true;
}

bool TuiMacroClass::DeleteMacro(int AIndex)
{
    if (MacroAt(AIndex) == nullptr)
        return false;
    FMacroKeyInfoList.erase(FMacroKeyInfoList.begin() + AIndex);
    Renumber();
    // Positions after AIndex moved: an editor kept now would store its record
    // over another macro's, so it goes; the next selection starts a new one.
    FCurrentMacroAction.reset();
    if (IsEmpty())
        FMacroListIndex = -1;
    else if (FMacroListIndex >= MacroListCount())
        FMacroListIndex = MacroListCount() - 1;
    return true;
}

bool TuiMacroClass::DeleteMacro(const QString& AMacroName)
{
    const int index = IndexOfMacroName(AMacroName);
    return index >= 0 && DeleteMacro(index);
}

bool TuiMacroClass::MacroExists(const QString& AMacroName) const
{
    return IndexOfMacroName(AMacroName) >= 0;
}

int TuiMacroClass::IndexOfMacroName(const QString& AMacroName) const
{
    for (std::size_t i = 0; i < FMacroKeyInfoList.size(); ++i) {
        if (macroNameOf(FMacroKeyInfoList[i]) == AMacroName)
            return int(i);
    }
    return -1;
}

bool TuiMacroClass::SetMacroLoopValue(int AIndex, std::uint16_t ALoopValue)
{
    if (MacroAt(AIndex) == nullptr)
        return false;
    FMacroKeyInfoList[std::size_t(AIndex)].nLoopCount = ALoopValue;
    if (GetCurrentMacroKeyItem() != nullptr)
        StartEditor(FMacroListIndex);
    return true;
}

bool TuiMacroClass::InsertMacroAfter(const TMACROKEYINFO& AMacroKeyInfo, int AIndex, QString& error)
{
    if (!isMacroInModel(AMacroKeyInfo, error))
        return false;
    if (GetCurrentMacroKeyItem() == nullptr)
        return false;
    // The actions go into the selected macro, even when the editor still
    // works on another one (CreateNewMacro selects without starting one).
    if (!FCurrentMacroAction || FCurrentMacroAction->MacroIndex() != FMacroListIndex)
        StartEditor(FMacroListIndex);
    TuiActionsClass& editor = *FCurrentMacroAction;
    // "After -1" has no meaning: inserting there would drop the first action
    // and put the others after the macro's first action.
    if (AIndex < 0 || AIndex > editor.MacroListCount())
        return false;
    const int count = AMacroKeyInfo.MacroListCount;
    for (int i = 0; i < count && !editor.IsFull(); ++i)
        editor.InsertActionAfter(AMacroKeyInfo.MacroList[i], AIndex + i);
    StartEditor(FMacroListIndex);
    return true;
}

bool TuiMacroClass::SaveMacroKeyInfoListToMacroFiles(const TMACROKEYINFOLIST& AMacroKeyInfoList,
                                                     const QString& AMacroPath, QString& error)
{
    return saveMacroListToFiles(AMacroKeyInfoList, AMacroPath, error);
}

void TuiMacroClass::Renumber()
{
    for (std::size_t i = 0; i < FMacroKeyInfoList.size(); ++i)
        FMacroKeyInfoList[i].nMacroIndex = std::uint16_t(i);
}

} // namespace k4812
