#include "ui/controls/TabControl.h"

#include "i18n/Translation.h"
#include "ui/controls/SkinAccessibility.h"
#include "ui/controls/UiFont.h"
#include "ui/skin/Theme.h"

#include <QPainter>
#include <QTabBar>

namespace k4812 {
namespace {

// Flat tabs: the current one in the accent colour, the others dim.
class SkinTabBar : public QTabBar {
public:
    explicit SkinTabBar(QWidget* parent) : QTabBar(parent)
    {
        setDrawBase(false);
        setExpanding(false);
        setAttribute(Qt::WA_Hover);
        setFont(uiFont(9, true));
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(tabText(index)) + 28, metrics.height() + 14);
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < count(); ++i) {
            const QRect r = tabRect(i);
            const bool current = i == currentIndex();
            const bool hot = r.contains(mapFromGlobal(QCursor::pos())) && underMouse();
            painter.setPen(Qt::NoPen);
            painter.setBrush(current ? theme::panelBack() : (hot ? theme::controlHot() : theme::barBack()));
            painter.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, 4), 4, 4);
            if (current) {
                painter.setBrush(theme::accent());
                painter.drawRect(QRectF(r.left() + 6, r.bottom() - 2, r.width() - 12, 3));
            }
            painter.setPen(!isTabEnabled(i) ? theme::textDisabled() : current ? theme::text() : theme::textDim());
            painter.drawText(r, Qt::AlignCenter, tabText(i));
            if (current && hasFocus()) {
                painter.setPen(QPen(theme::accent(), 1, Qt::DotLine));
                painter.setBrush(Qt::NoBrush);
                painter.drawRoundedRect(QRectF(r).adjusted(3.5, 3.5, -3.5, -4.5), 3, 3);
            }
        }
    }
};

} // namespace

TabControl::TabControl(QWidget* parent) : QTabWidget(parent)
{
    installSkinAccessibility();
    setTabBar(new SkinTabBar(this));
    setDocumentMode(true);
    setAutoFillBackground(false);
    setStyleSheet(QStringLiteral("QTabWidget::pane { border: none; background: transparent; }"));
}

int TabControl::addPage(QWidget* page, const QString& englishTitle)
{
    const int index = addTab(page, translate(englishTitle));
    m_sourceTitles.insert(index, englishTitle);
    return index;
}

void TabControl::retranslate()
{
    for (int i = 0; i < count() && i < m_sourceTitles.size(); ++i)
        setTabText(i, translate(m_sourceTitles[i]));
}

} // namespace k4812
