#pragma once
// The editor of the actions of one macro in a TuiMacroClass list.
//
// Every edit is stored back into the owner's list at once: the working copy,
// with MacroListCount and the first entries of MacroList set from the edited
// actions, replaces the owner's record, and the working copy is reloaded from
// it. Entries past the count keep what the record held (a, b, c with b
// deleted is stored as a, c, c and a count of 2). CheckErrors writes its
// result into the owner's record only, so a later store back from the same
// editor writes the working copy's earlier HaveErrors and ErrorCount again.
//
// Operations given a position outside the list, or an action when the list
// is full, change nothing.

#include "records/Records.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace k4812 {

class TuiMacroClass;

class TuiActionsClass {
public:
    // An editor of `AMacroKeyInfo`, stored back at position `AMacroIndex` of
    // `AMacroClass` (which may be null: then only the working copy changes).
    // Fails with a message when the record's MacroListCount is outside 0..128.
    static std::unique_ptr<TuiActionsClass> CtrlCreate(const TMACROKEYINFO& AMacroKeyInfo,
                                                       TuiMacroClass* AMacroClass, int AMacroIndex,
                                                       QString& error);

    TuiActionsClass(const TuiActionsClass&) = delete;
    TuiActionsClass& operator=(const TuiActionsClass&) = delete;

    // --- Properties
    int ActionIndex() const { return FActionsIndex; }
    void SetActionIndex(int Value);           // ignored unless 0 <= Value < count
    int MacroListCount() const { return int(FActionsList.size()); }
    bool IsFull() const { return MacroListCount() >= FMaxActionsCount; }
    bool IsEmpty() const { return FActionsList.empty(); }
    int TotalDelay() const;                   // milliseconds of all delay actions
    const std::vector<TMACROKEY>& Actions() const { return FActionsList; }
    int MacroIndex() const { return FMacroIndex; }
    bool HasClipboard() const { return FSavedActionsList.has_value(); }
    bool IsClipboardCut() const { return FCutOperationFlag; }

    // --- Operations
    // The working copy with the edited actions filled in, as a store back writes it.
    TMACROKEYINFO GetMacroKeyInfo() const;
    // Replaces the actions and the whole working copy by `AMacroKeyInfo`, then
    // stores back. Fails with a message (changing nothing) when its
    // MacroListCount is outside 0..128.
    bool SetMacroKeyInfo(const TMACROKEYINFO& AMacroKeyInfo, QString& error);
    bool InsertAction(const TMACROKEY& AAction, int AIndex);      // before AIndex
    bool InsertActionAfter(const TMACROKEY& AAction, int AIndex); // after AIndex; AIndex = count appends
    bool DeleteAction(int AIndex);
    bool MoveUpAction(int AIndex);
    bool MoveDownAction(int AIndex);
    bool CopyAction(int AIndex);
    bool CutAction(int AIndex);
    bool PasteAction(int AIndex);                                 // before AIndex
    int GetDelayValue(int AIndex) const;                          // 0 for an invalid index
    bool SetDelayValue(int AIndex, std::uint16_t ADelay);
    // Runs the consistency check and records its result in the owner's record
    // of this macro. Returns the error count.
    int CheckErrors();

private:
    TuiActionsClass(const TMACROKEYINFO& AMacroKeyInfo, TuiMacroClass* AMacroClass, int AMacroIndex);

    bool isValidIndex(int AIndex) const { return AIndex >= 0 && AIndex < MacroListCount(); }
    void SaveBack();

    TMACROKEYINFO FORGMacroKeyInfo;
    std::vector<TMACROKEY> FActionsList;
    int FActionsIndex = -1;
    static constexpr int FMaxActionsCount = kMacroActionCapacity;
    TuiMacroClass* FMacroClass = nullptr;
    int FMacroIndex = -1;
    bool FCutOperationFlag = false;
    std::optional<TMACROKEY> FSavedActionsList;   // the clipboard: zero or one action
};

} // namespace k4812
