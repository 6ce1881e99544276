#include "ui/controls/ListBox.h"

#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

namespace k4812 {

ListBox::ListBox(QWidget* parent) : QListWidget(parent)
{
    setFont(uiFont(9));
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, theme::controlPressed());
    palette.setColor(QPalette::AlternateBase, theme::controlBack());
    palette.setColor(QPalette::Text, theme::text());
    palette.setColor(QPalette::Highlight, theme::accentDark());
    palette.setColor(QPalette::HighlightedText, theme::text());
    setPalette(palette);
}

} // namespace k4812
