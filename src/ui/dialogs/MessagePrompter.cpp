#include "ui/dialogs/MessagePrompter.h"

#include "ui/dialogs/MessageDialog.h"

#include <QApplication>

namespace k4812 {
namespace {

MessagePrompter* g_current = nullptr;

} // namespace

int DialogMessagePrompter::ask(const MessagePrompt& prompt, QWidget* owner)
{
    if (!owner)
        owner = QApplication::activeWindow();
    TFrmMessageDialog dialog(owner);
    dialog.FCreateByOther = true;
    dialog.setTexts(prompt.title, prompt.text, prompt.secondLine);
    const int result = dialog.exec();
    // Anything but OK (a dialog ended by the window system) counts as Cancel.
    return result == SkinDialog::kResultOk ? SkinDialog::kResultOk : SkinDialog::kResultCancel;
}

int QueuedMessagePrompter::ask(const MessagePrompt& prompt, QWidget*)
{
    m_asked.append(prompt);
    if (m_answers.isEmpty()) {
        ++m_unexpected;
        return SkinDialog::kResultCancel;
    }
    return m_answers.takeFirst();
}

MessagePrompter& messagePrompter()
{
    static DialogMessagePrompter dialog;
    return g_current ? *g_current : dialog;
}

ScopedMessagePrompter::ScopedMessagePrompter(MessagePrompter& prompter) : m_previous(g_current)
{
    g_current = &prompter;
}

ScopedMessagePrompter::~ScopedMessagePrompter()
{
    g_current = m_previous;
}

int ShowMessageDialog(const QString& title, const QString& text, const QString& secondLine, QWidget* owner)
{
    return messagePrompter().ask({title, text, secondLine}, owner);
}

} // namespace k4812
