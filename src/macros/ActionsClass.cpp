#include "macros/ActionsClass.h"

#include "macros/MacroAction.h"
#include "macros/MacroBounds.h"
#include "macros/MacroCheck.h"
#include "macros/MacroClass.h"

#include <algorithm>
#include <utility>

namespace k4812 {

std::unique_ptr<TuiActionsClass> TuiActionsClass::CtrlCreate(const TMACROKEYINFO& AMacroKeyInfo,
                                                             TuiMacroClass* AMacroClass, int AMacroIndex,
                                                             QString& error)
{
    if (!isMacroInModel(AMacroKeyInfo, error))
        return nullptr;
    if (AMacroClass != nullptr && AMacroClass->MacroAt(AMacroIndex) == nullptr) {
        error = QStringLiteral("there is no macro at position %1").arg(AMacroIndex);
        return nullptr;
    }
    return std::unique_ptr<TuiActionsClass>(new TuiActionsClass(AMacroKeyInfo, AMacroClass, AMacroIndex));
}

TuiActionsClass::TuiActionsClass(const TMACROKEYINFO& AMacroKeyInfo, TuiMacroClass* AMacroClass, int AMacroIndex)
    : FORGMacroKeyInfo(AMacroKeyInfo), FMacroClass(AMacroClass), FMacroIndex(AMacroIndex)
{
    const int count = AMacroKeyInfo.MacroListCount;
    FActionsList.assign(AMacroKeyInfo.MacroList, AMacroKeyInfo.MacroList + count);
    FActionsIndex = count > 0 ? 0 : -1;
}

void TuiActionsClass::SetActionIndex(int Value)
{
    if (isValidIndex(Value))
        FActionsIndex = Value;
}

int TuiActionsClass::TotalDelay() const
{
    int total = 0;
    for (const TMACROKEY& action : FActionsList) {
        if (action.nKeyType == kMacroKeyDelay)
            total += int(macroActionWord(action));
    }
    return total;
}

TMACROKEYINFO TuiActionsClass::GetMacroKeyInfo() const
{
    TMACROKEYINFO record = FORGMacroKeyInfo;
    record.MacroListCount = std::int32_t(FActionsList.size());
    std::copy(FActionsList.begin(), FActionsList.end(), record.MacroList);
    return record;
}

void TuiActionsClass::SaveBack()
{
    const TMACROKEYINFO record = GetMacroKeyInfo();
    if (FMacroClass == nullptr) {
        FORGMacroKeyInfo = record;
        return;
    }
    TMACROKEYINFO& stored = FMacroClass->FMacroKeyInfoList.at(std::size_t(FMacroIndex));
    stored = record;
    FORGMacroKeyInfo = stored;
}

bool TuiActionsClass::SetMacroKeyInfo(const TMACROKEYINFO& AMacroKeyInfo, QString& error)
{
    if (!isMacroInModel(AMacroKeyInfo, error))
        return false;
    const int count = AMacroKeyInfo.MacroListCount;
    FActionsList.assign(AMacroKeyInfo.MacroList, AMacroKeyInfo.MacroList + count);
    if (count > 0)
        FActionsIndex = 0;
    FORGMacroKeyInfo = AMacroKeyInfo;
    SaveBack();
    return true;
}

bool TuiActionsClass::InsertAction(const TMACROKEY& AAction, int AIndex)
{
    if (IsFull() || !isValidIndex(AIndex))
        return false;
    FActionsList.insert(FActionsList.begin() + AIndex, AAction);
    if (AIndex == FActionsIndex)
        FActionsIndex = AIndex + 1;   // the selection stays on the same action
    SaveBack();
    return true;
}

bool TuiActionsClass::InsertActionAfter(const TMACROKEY& AAction, int AIndex)
{
    if (IsFull())
        return false;
    if (isValidIndex(AIndex))
        FActionsList.insert(FActionsList.begin() + AIndex + 1, AAction);
    else if (AIndex == MacroListCount())
        FActionsList.push_back(AAction);
    else
        return false;
    SaveBack();
    return true;
}

bool TuiActionsClass::DeleteAction(int AIndex)
{
    if (!isValidIndex(AIndex))
        return false;
    FActionsList.erase(FActionsList.begin() + AIndex);
    if (FActionsIndex >= MacroListCount())
        FActionsIndex = MacroListCount() - 1;
    SaveBack();
    return true;
}

bool TuiActionsClass::MoveUpAction(int AIndex)
{
    if (AIndex == 0 || !isValidIndex(AIndex))
        return false;
    std::swap(FActionsList[std::size_t(AIndex) - 1], FActionsList[std::size_t(AIndex)]);
    if (FActionsIndex == AIndex)
        FActionsIndex = AIndex - 1;
    else if (FActionsIndex == AIndex - 1)
        FActionsIndex = AIndex;
    SaveBack();
    return true;
}

bool TuiActionsClass::MoveDownAction(int AIndex)
{
    if (AIndex == MacroListCount() - 1 || !isValidIndex(AIndex))
        return false;
    std::swap(FActionsList[std::size_t(AIndex)], FActionsList[std::size_t(AIndex) + 1]);
    if (FActionsIndex == AIndex)
        FActionsIndex = AIndex + 1;
    else if (FActionsIndex == AIndex + 1)
        FActionsIndex = AIndex;
    SaveBack();
    return true;
}

bool TuiActionsClass::CopyAction(int AIndex)
{
    if (!isValidIndex(AIndex))
        return false;
    FSavedActionsList = FActionsList[std::size_t(AIndex)];
    FCutOperationFlag = false;
    SaveBack();
    return true;
}

bool TuiActionsClass::CutAction(int AIndex)
{
    if (!isValidIndex(AIndex))
        return false;
    FSavedActionsList = FActionsList[std::size_t(AIndex)];
    DeleteAction(AIndex);
    FCutOperationFlag = true;
    return true;
}

bool TuiActionsClass::PasteAction(int AIndex)
{
    if (!FSavedActionsList)
        return false;
    const bool inserted = InsertAction(*FSavedActionsList, AIndex);
    if (FCutOperationFlag) {
        // A cut action is pasted once, and is gone when the paste found no place.
        FSavedActionsList.reset();
        FCutOperationFlag = false;
    }
    return inserted;
}

int TuiActionsClass::GetDelayValue(int AIndex) const
{
    return isValidIndex(AIndex) ? int(macroActionWord(FActionsList[std::size_t(AIndex)])) : 0;
}

bool TuiActionsClass::SetDelayValue(int AIndex, std::uint16_t ADelay)
{
    if (!isValidIndex(AIndex))
        return false;
    TMACROKEY& action = FActionsList[std::size_t(AIndex)];
    action.VALUE1 = std::uint8_t(ADelay & 0xFF);
    action.VALUE2 = std::uint8_t(ADelay >> 8);
    SaveBack();
    return true;
}

int TuiActionsClass::CheckErrors()
{
    const int errors = countMacroErrors(FActionsList);
    if (FMacroClass != nullptr) {
        TMACROKEYINFO& stored = FMacroClass->FMacroKeyInfoList.at(std::size_t(FMacroIndex));
        stored.HaveErrors = errors > 0 ? 1 : 0;
        stored.ErrorCount = errors > 0 ? errors : 0;
    }
    return errors;
}

} // namespace k4812
