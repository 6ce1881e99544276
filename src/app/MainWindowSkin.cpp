#include "app/MainWindowSkin.h"

#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"

#include "ui/controls/SkinButton.h"
#include "ui/skin/Theme.h"

#include <QPainter>
#include <QPainterPath>

namespace k4812 {

void applyMainWindowSkin(TK4812CfgMain& window, const QString&)
{
    // Without skin faces the frame buttons show a glyph; their spoken names
    // are set apart from it.
    const char* glyphs[][2] = {{"BSBTNHELP", "?"}, {"BSBTNMIN", "\u2013"}, {"BSBTNCLOSE", "\u2715"}};
    for (const auto& g : glyphs) {
        if (auto* button = window.findChild<SkinButton*>(QLatin1String(g[0])); button && button->face(ButtonFace::Normal).isNull())
            button->setText(QString::fromUtf8(g[1]));
    }
}

namespace {

// A mouse seen from above, in outline, for the space beside the entries.
void paintMouse(QPainter& painter, const QRect& area)
{
    const QRectF body = QRectF(area).adjusted(70, 10, -70, -20);
    QPainterPath outline;
    outline.addRoundedRect(body, body.width() * 0.45, body.width() * 0.45);
    painter.setPen(QPen(theme::panelEdge(), 2));
    painter.setBrush(theme::controlBack());
    painter.drawPath(outline);
    const qreal split = body.top() + body.height() * 0.38;
    painter.drawLine(QPointF(body.left() + 8, split), QPointF(body.right() - 8, split));
    painter.drawLine(QPointF(body.center().x(), body.top()), QPointF(body.center().x(), split));
    painter.setBrush(theme::accent());
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(body.center().x() - 6, body.top() + 34, 12, 36), 6, 6);
}

} // namespace

void paintMainWindowBackground(QPainter& painter, TK4812CfgMain&)
{
    using namespace layout;
    painter.fillRect(QRect(0, 0, TK4812CfgMain::kWidth, TK4812CfgMain::kHeight), theme::windowBack());
    painter.fillRect(kTopBar, theme::barBack());
    painter.fillRect(kBottomBar, theme::barBack());
    painter.fillRect(kRightArea, theme::panelBack());
    painter.setPen(theme::panelEdge());
    painter.drawLine(kRightArea.topLeft(), kRightArea.bottomLeft());
    painter.setPen(theme::accent());
    painter.drawLine(kTopBar.bottomLeft(), kTopBar.bottomRight());
    painter.setPen(theme::text());
    QFont title = painter.font();
    title.setPointSize(16);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRect(24, 0, 500, 80), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("K4812"));
    paintMouse(painter, kMousePicture);
}

} // namespace k4812
