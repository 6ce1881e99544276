#include "app/macro/MacroManagerSession.h"

#include "macros/MacroName.h"
#include "platform/desktop/StorageThread.h"

namespace k4812 {

MacroManagerSession::MacroManagerSession(std::unique_ptr<TuiMacroClass> macros, QString macroPath)
    : m_macros(std::move(macros)), m_macroPath(std::move(macroPath))
{
}

std::unique_ptr<MacroManagerSession> MacroManagerSession::open(const TMACROKEYINFOLIST& list, int index,
                                                               const QString& macroPath, QString& error)
{
    auto macros = TuiMacroClass::CtlCreate(list, error);
    if (!macros)
        return nullptr;
    macros->SetMacroListIndex(index);
    return std::unique_ptr<MacroManagerSession>(new MacroManagerSession(std::move(macros), macroPath));
}

MacroManagerSession::NewOutcome MacroManagerSession::addNamed(const QString& name, int& existing)
{
    existing = -1;
    if (name.isEmpty())
        return NewOutcome::Ignored;
    // The list shows names as they are stored, cut to 50 units.
    existing = m_macros->IndexOfMacroName(cutMacroName(name));
    if (existing >= 0)
        return NewOutcome::SelectedExisting;
    return m_macros->CreateNewMacro(name) ? NewOutcome::Created : NewOutcome::Ignored;
}

bool MacroManagerSession::deleteMacro(int position)
{
    return m_macros->DeleteMacro(position);
}

bool MacroManagerSession::commit(TMACROKEYINFOLIST& list, int& index, QString& error) const
{
    TMACROKEYINFOLIST edited = list;
    m_macros->GetMacroKeyInfoList(edited);
    // The files are written on the storage thread while the dialog repaints;
    // the store touches only its own copy of the list.
    bool saved = false;
    StorageThread::shared().run(
        [&] { saved = TuiMacroClass::SaveMacroKeyInfoListToMacroFiles(edited, m_macroPath, error); });
    if (!saved)
        return false;
    list = edited;
    index = m_macros->MacroListIndex();
    return true;
}

} // namespace k4812
