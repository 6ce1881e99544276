#pragma once
// The macros of one profile, the selected macro and its action editor.
//
// The list never holds a record outside the data model: records enter only
// through SetMacroKeyInfoList, CreateNewMacro and the editor, which all check
// the counts, so a list always fits back into a TMACROKEYINFOLIST.

#include "macros/ActionsClass.h"
#include "records/Records.h"

#include <QString>

#include <memory>
#include <vector>

namespace k4812 {

class TuiMacroClass {
public:
    TuiMacroClass() = default;   // Create: an empty list, nothing selected
    ~TuiMacroClass();
    TuiMacroClass(const TuiMacroClass&) = delete;
    TuiMacroClass& operator=(const TuiMacroClass&) = delete;

    // Create, then SetMacroKeyInfoList; null (with a message) when the list is refused.
    static std::unique_ptr<TuiMacroClass> CtlCreate(const TMACROKEYINFOLIST& AMacroKeyInfoList, QString& error);

    // --- Properties
    int MacroListIndex() const { return FMacroListIndex; }
    void SetMacroListIndex(int Value);   // selects and starts a new editor; ignored unless valid
    int MacroListCount() const { return int(FMacroKeyInfoList.size()); }
    bool IsFull() const { return MacroListCount() >= FMaxMacroListCount; }
    bool IsEmpty() const { return FMacroKeyInfoList.empty(); }
    // The selected record; null when none is selected.
    const TMACROKEYINFO* CurrentMacroKeyInfo() const { return GetCurrentMacroKeyItem(); }
    // The editor of the selected macro; null until SetMacroListIndex selects one
    // and again after a deletion (positions move, so the old editor is dropped).
    TuiActionsClass* CurrentMacroAction() const { return FCurrentMacroAction.get(); }
    // The record at a position; null when the position is invalid.
    const TMACROKEYINFO* MacroAt(int AIndex) const;

    // --- Operations
    // Appends macros 0 .. nMacroInfoCount - 1 and selects the first when the
    // list is then non-empty (no editor is started). Refused, changing
    // nothing, when the record is outside the data model or the result would
    // not fit in a TMACROKEYINFOLIST.
    bool SetMacroKeyInfoList(const TMACROKEYINFOLIST& AMacroKeyInfoList, QString& error);
    // Sets nMacroInfoCount and the slots in use; slots past the count keep their bytes.
    void GetMacroKeyInfoList(TMACROKEYINFOLIST& AMacroKeyInfoList) const;
    const TMACROKEYINFO* GetCurrentMacroKeyItem() const;
    // Appends a zero-filled macro with that name (cut to 50 units), selects
    // it and renumbers; starts no editor. Refused on a full list and for a
    // name that cannot name its file (isUsableMacroFileName gives the reason).
    bool CreateNewMacro(const QString& AMacroName);
    bool DeleteMacro(int AIndex);
    bool DeleteMacro(const QString& AMacroName);   // the first macro of that name
    bool MacroExists(const QString& AMacroName) const;
    int IndexOfMacroName(const QString& AMacroName) const;
    // Sets the loop count of the macro at AIndex and starts a new editor for
    // the selected macro.
    bool SetMacroLoopValue(int AIndex, std::uint16_t ALoopValue);
    // Inserts the actions of `AMacroKeyInfo` into the selected macro, the
    // first after action AIndex (AIndex = count appends), dropping those that
    // no longer fit; then starts a new editor. Fails with a message when the
    // record is outside the data model; does nothing without a selected macro
    // or with AIndex outside 0..count.
    bool InsertMacroAfter(const TMACROKEYINFO& AMacroKeyInfo, int AIndex, QString& error);

    // Writes every macro of the list to its file in AMacroPath (see MacroFiles.h).
    static bool SaveMacroKeyInfoListToMacroFiles(const TMACROKEYINFOLIST& AMacroKeyInfoList,
                                                 const QString& AMacroPath, QString& error);

    static constexpr int FMaxMacroListCount = 20;

private:
    friend class TuiActionsClass;   // stores its edits back into FMacroKeyInfoList

    void Renumber();
    void StartEditor(int AIndex);

    std::vector<TMACROKEYINFO> FMacroKeyInfoList;
    int FMacroListIndex = -1;
    std::unique_ptr<TuiActionsClass> FCurrentMacroAction;
};

} // namespace k4812
