#include "app/macro/ShowMacroManager.h"

#include "app/dialogs/KeyDialogs.h"
#include "app/macro/MacroManagerSession.h"
#include "app/macro/TFrmMacro.h"
#include "i18n/Translation.h"

#include <QMessageBox>
#include <QPointer>

namespace k4812 {

namespace {

int askWithMessageBox(QWidget* parent, const QString& title, const QString& text, const QString& secondLine)
{
    QMessageBox box(QMessageBox::Warning, title, secondLine.isEmpty() ? text : text + QLatin1Char('\n') + secondLine,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    return box.exec() == QMessageBox::Ok ? 1 : 2;
}

} // namespace

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
            return askWithMessageBox(owner, title, text, secondLine);
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
