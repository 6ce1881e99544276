#include "app/macro/ShowMacroManager.h"

#include "app/dialogs/KeyDialogs.h"
#include "app/macro/MacroManagerSession.h"
#include "app/macro/TFrmMacro.h"
#include "i18n/Translation.h"
#include "ui/dialogs/MessagePrompter.h"

#include <QPointer>

namespace k4812 {

int ShowMacroManager(TMACROKEYINFOLIST& list, int& currentMacro, const QString& macroPath, QWidget* parent)
{
    return ShowMacroManager(list, currentMacro, macroPath, parent, {});
}

int ShowMacroManager(TMACROKEYINFOLIST& list, int& currentMacro, const QString& macroPath, QWidget* parent,
                     MacroManagerEnvironment environment)
{
    const QPointer<QWidget> owner(parent);
    if (!environment.message)
        environment.message = [owner](const QString& title, const QString& text, const QString& secondLine) {
            return ShowMessageDialog(title, text, secondLine, owner);
        };
    if (!environment.createMacro)
        environment.createMacro = [owner](const QString& path, QString& name, const QStringList& names) {
            return ShowCreateMacroDialog(path, name, names, owner);
        };

    QString error;
    auto session = MacroManagerSession::open(list, currentMacro, macroPath, error);
    if (!session) {
        // A damaged list: nothing to edit, and nothing changes.
        environment.message(translate(QStringLiteral("Error")), error, QString());
        return SkinDialog::kResultCancel;
    }
    int result = SkinDialog::kResultCancel;
    {
        TFrmMacro window(*session, list, currentMacro, std::move(environment), parent);
        result = window.exec();
    }
    currentMacro = session->macros().MacroListIndex();
    return result;
}

} // namespace k4812
