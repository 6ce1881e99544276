#include "app/MainWindowSkin.h"

#include "app/MainWindow.h"
#include "app/MainWindowLayout.h"

#include "ui/controls/SkinButton.h"
#include "ui/controls/TrackBar.h"
#include "ui/skin/ImageDataBase.h"
#include "ui/skin/Theme.h"
#include "ui/skin/UiStyleSheet.h"

#include <QPainter>
#include <QPainterPath>

namespace k4812 {

namespace {

SkinImage skin(const char* name, const char* group)
{
    return imageDataBase().image(QLatin1String(name), QLatin1String(group));
}

void setFaces(TK4812CfgMain& window, const QString& control, const char* normal, const char* hot,
              const char* pressed, const char* group)
{
    if (auto* button = window.findChild<SkinButton*>(control))
        button->setFaces(skin(normal, group), skin(hot, group), skin(pressed, group));
}

void setTrackBackground(TK4812CfgMain& window, const char* track, const char* image)
{
    if (auto* bar = window.findChild<TrackBar*>(QLatin1String(track)))
        bar->setBackground(skin(image, "controls"));
}

} // namespace

void prefetchMainWindowSkin()
{
    imageDataBase().prefetch(QStringLiteral("mainback.png"), QStringLiteral("dialog"));
}

void applyMainWindowSkin(TK4812CfgMain& window, const QString&)
{
    applyUiStyleSheet();
    const auto name = [](const char* n) { return QLatin1String(n); };
    setFaces(window, name("BSBTNPRESET"), "preset-1.png", "preset-2.png", "preset-3.png", "buttons");
    for (int p = 1; p <= 4; ++p)
        setFaces(window, QStringLiteral("BSBTNPROFILE%1").arg(p), "profile1-1.png", "profile1-2.png",
                 "profile1-3.png", "buttons");
    setFaces(window, name("BSBTNPROFILE5"), "Profile5-1.png", "Profile5-2.png", "Profile5-3.png", "buttons");
    for (const char* entry : {"BtnSet1", "BtnSet2", "BtnSet3", "BtnSet4", "BtnSet5", "BtnSet6", "BtnSet7",
                              "BtnSet8", "Btnset9"})
        setFaces(window, name(entry), "ButtonAssign-1.png", "ButtonAssign-2.png", "ButtonAssign-3.png", "buttons");
    setFaces(window, name("BSBTNHELP"), "help-1.png", "help-2.png", "help-3.png", "buttons");
    setFaces(window, name("BSBTNMIN"), "min-1.png", "min-2.png", "min-3.png", "buttons");
    setFaces(window, name("BSBTNCLOSE"), "close-1.png", "close-2.png", "close-3.png", "buttons");
    setFaces(window, name("BSBTNMODE1"), "mode-1.png", "mode-2.png", "mode-2.png", "buttons");
    setFaces(window, name("BSBTNMODE2"), "mode-1.png", "mode-2.png", "mode-2.png", "buttons");
    for (const char* frame : {"BSBTNOK", "BSBTNAPPLY", "BSBTNCANCEL", "BSBTNRESETALL"})
        setFaces(window, name(frame), "DLG-OK-1.png", "DLG-OK-2.png", "DLG-OK-3.png", "dialog");
    // The pages' buttons wear the button-set entries' faces.
    for (const char* pageButton : {"BSBTNSENSDEFAULTS", "BSBTNADVDEFAULTS", "BSBTNLIGHTPREVIEW", "BSBTNRESTORELIGHT"})
        setFaces(window, name(pageButton), "ButtonAssign-1.png", "ButtonAssign-2.png", "ButtonAssign-3.png",
                 "buttons");
    for (const char* track : {"TrackBarCPIX", "TrackBarCPIY", "TrackBarLIGHTSPEED"})
        setTrackBackground(window, track, "DPISetting-back.png");
    for (const char* track : {"TrackBarDoubleClickSpeed", "TrackBarPointerSpeed", "TRACKBARSCROLLSPEED"})
        setTrackBackground(window, track, "Trackbar-back.png");
    window.setBackground(skin("mainback.png", "dialog"));

    // Without skin faces the frame buttons show a glyph; their spoken names
    // are set apart from it.
    const char* glyphs[][2] = {{"BSBTNHELP", "?"}, {"BSBTNMIN", "\u2013"}, {"BSBTNCLOSE", "\u2715"}};
    for (const auto& g : glyphs) {
        auto* button = window.findChild<SkinButton*>(QLatin1String(g[0]));
        if (button && button->face(ButtonFace::Normal).isNull())
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
