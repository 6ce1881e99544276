#include "app/dialogs/TFrmCreat.h"

#include "i18n/Translation.h"
#include "macros/MacroFiles.h"
#include "macros/MacroName.h"
#include "ui/controls/SkinLabel.h"
#include "ui/controls/TextBox.h"

#include <QEvent>

namespace k4812 {

TFrmCreat::TFrmCreat(const QString& macroPath, QStringList namesInList, QWidget* parent, MessageSink message)
    : KeyDialogFrame("TFrmCreat", "Create macro", parent), FMacroPath(macroPath),
      m_namesInList(std::move(namesInList)), m_message(std::move(message))
{
    SkinLabel* label = addLabel("LabelName", "New macro name:", QRect(30, 58, kWidth - 60, 28));
    TextboxMacroName = new TextBox(this);
    TextboxMacroName->setObjectName(QStringLiteral("TextboxMacroName"));
    TextboxMacroName->setGeometry(30, 96, kWidth - 60, 32);
    TextboxMacroName->setAccessibleName(translate(QStringLiteral("New macro name:")));
    label->setBuddy(TextboxMacroName);
    setFocusProxy(TextboxMacroName);

    // Only an Enter pressed here counts: the release of an Enter that opened
    // the dialog from another window must not create a macro at once.
    connect(TextboxMacroName, &TextBox::keyDown, this, [this](int key, quint32, Qt::KeyboardModifiers, bool repeat) {
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !repeat)
            m_enterDown = true;
    });
    connect(TextboxMacroName, &TextBox::keyUp, this, [this](int key, quint32, Qt::KeyboardModifiers) {
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_enterDown) {
            m_enterDown = false;
            accept();
        }
    });
}

bool TFrmCreat::event(QEvent* event)
{
    // Typing goes into the name box: the dialog comes forward and the box
    // takes the focus whenever the dialog is activated.
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) {
        raise();
        activateWindow();
        TextboxMacroName->setFocus(Qt::ActiveWindowFocusReason);
    }
    return KeyDialogFrame::event(event);
}

void TFrmCreat::accept()
{
    const QString name = cutMacroName(TextboxMacroName->text());
    if (!name.isEmpty()) {
        const ExistingMacroFile existing =
            m_namesInList.contains(name) ? ExistingMacroFile::Keep : ExistingMacroFile::Replace;
        QString error;
        if (!writeNewMacroFile(FMacroPath, name, existing, error)) {
            if (m_message)
                m_message(translate(QStringLiteral("Error")), error);
            TextboxMacroName->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    FMacroName = name;
    KeyDialogFrame::accept();
}

} // namespace k4812
