#include "ui/controls/TextBox.h"

#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QKeyEvent>

namespace k4812 {

TextBox::TextBox(QWidget* parent) : QLineEdit(parent)
{
    setFont(uiFont(9));
    setFrame(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, theme::controlBack());
    palette.setColor(QPalette::Text, theme::text());
    palette.setColor(QPalette::Highlight, theme::accent());
    palette.setColor(QPalette::HighlightedText, theme::barBack());
    palette.setColor(QPalette::PlaceholderText, theme::textDim());
    setPalette(palette);
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->nativeScanCode(), event->modifiers(), event->isAutoRepeat());
    const bool focusKey = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (m_keysEditText || focusKey)
        QLineEdit::keyPressEvent(event);
    else
        event->accept();
}

void TextBox::keyReleaseEvent(QKeyEvent* event)
{
    emit keyUp(event->key(), event->nativeScanCode(), event->modifiers());
    QLineEdit::keyReleaseEvent(event);
}

} // namespace k4812
