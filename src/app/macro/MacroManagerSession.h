#pragma once
// The macro manager's working copy of a profile's macro list and what its
// New, Delete and OK do to it. The caller's list is touched only by a
// successful commit, so leaving without OK discards every edit.

#include "macros/MacroClass.h"
#include "records/Records.h"

#include <QString>

#include <memory>

namespace k4812 {

class MacroManagerSession {
public:
    // The working copy of `list` with macro `index` selected (ignored when
    // not a position of the list). Null with a message when the list is
    // outside the data model.
    static std::unique_ptr<MacroManagerSession> open(const TMACROKEYINFOLIST& list, int index,
                                                     const QString& macroPath, QString& error);

    TuiMacroClass& macros() { return *m_macros; }
    const TuiMacroClass& macros() const { return *m_macros; }
    const QString& macroPath() const { return m_macroPath; }

    // Whether New may open the create dialog (fewer than 20 macros).
    bool canCreate() const { return !m_macros->IsFull(); }

    enum class NewOutcome { Ignored, SelectedExisting, Created };
    // The create dialog's accepted name: empty adds nothing; a name the list
    // holds already selects that macro (its position in `existing`);
    // otherwise a new empty macro is appended and selected.
    NewOutcome addNamed(const QString& name, int& existing);

    // Deletes the macro at `position`.
    bool deleteMacro(int position);

    // OK: the edited list goes into `list`, the selected position into
    // `index`, and every macro into its file. When a file cannot be written
    // `list` and `index` are left as they were and `error` says why.
    bool commit(TMACROKEYINFOLIST& list, int& index, QString& error) const;

private:
    MacroManagerSession(std::unique_ptr<TuiMacroClass> macros, QString macroPath);

    std::unique_ptr<TuiMacroClass> m_macros;
    QString m_macroPath;
};

} // namespace k4812
