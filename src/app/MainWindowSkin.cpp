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

// The faces of the window's buttons: control, normal, hot and pressed image, group.
struct FacesRow {
    const char* control;
    const char* faces[3];
    const char* group;
};

QList<FacesRow> facesTable()
{
    QList<FacesRow> rows;
    rows.append({"BSBTNPRESET", {"preset-1.png", "preset-2.png", "preset-3.png"}, "buttons"});
    for (const char* profile : {"BSBTNPROFILE1", "BSBTNPROFILE2", "BSBTNPROFILE3", "BSBTNPROFILE4"})
        rows.append({profile, {"profile1-1.png", "profile1-2.png", "profile1-3.png"}, "buttons"});
    rows.append({"BSBTNPROFILE5", {"Profile5-1.png", "Profile5-2.png", "Profile5-3.png"}, "buttons"});
    for (const char* entry : {"BtnSet1", "BtnSet2", "BtnSet3", "BtnSet4", "BtnSet5", "BtnSet6", "BtnSet7",
                              "BtnSet8", "Btnset9"})
        rows.append({entry, {"ButtonAssign-1.png", "ButtonAssign-2.png", "ButtonAssign-3.png"}, "buttons"});
    rows.append({"BSBTNHELP", {"help-1.png", "help-2.png", "help-3.png"}, "buttons"});
    rows.append({"BSBTNMIN", {"min-1.png", "min-2.png", "min-3.png"}, "buttons"});
    rows.append({"BSBTNCLOSE", {"close-1.png", "close-2.png", "close-3.png"}, "buttons"});
    rows.append({"BSBTNMODE1", {"mode-1.png", "mode-2.png", "mode-2.png"}, "buttons"});
    rows.append({"BSBTNMODE2", {"mode-1.png", "mode-2.png", "mode-2.png"}, "buttons"});
    for (const char* frame : {"BSBTNOK", "BSBTNAPPLY", "BSBTNCANCEL", "BSBTNRESETALL"})
        rows.append({frame, {"DLG-OK-1.png", "DLG-OK-2.png", "DLG-OK-3.png"}, "dialog"});
    // The pages' buttons wear the button-set entries' faces.
    for (const char* pageButton : {"BSBTNSENSDEFAULTS", "BSBTNADVDEFAULTS", "BSBTNLIGHTPREVIEW", "BSBTNRESTORELIGHT"})
        rows.append({pageButton, {"ButtonAssign-1.png", "ButtonAssign-2.png", "ButtonAssign-3.png"}, "buttons"});
    return rows;
}

// The track bars' backgrounds (in "controls").
constexpr const char* kTrackBackgrounds[][2] = {
    {"TrackBarCPIX", "DPISetting-back.png"},           {"TrackBarCPIY", "DPISetting-back.png"},
    {"TrackBarLIGHTSPEED", "DPISetting-back.png"},     {"TrackBarDoubleClickSpeed", "Trackbar-back.png"},
    {"TrackBarPointerSpeed", "Trackbar-back.png"},     {"TRACKBARSCROLLSPEED", "Trackbar-back.png"},
};

} // namespace

void prefetchMainWindowSkin()
{
    // Every image LoadSkin asks for, in its order, so that what it asks for
    // first is read first.
    QList<TImageDataBase::ImageRef> images;
    for (const FacesRow& row : facesTable())
        for (const char* face : row.faces)
            images.append({QLatin1String(face), QLatin1String(row.group)});
    for (const auto& track : kTrackBackgrounds)
        images.append({QLatin1String(track[1]), QStringLiteral("controls")});
    images.append({QStringLiteral("mainback.png"), QStringLiteral("dialog")});
    imageDataBase().prefetch(images);
}

void applyMainWindowSkin(TK4812CfgMain& window, const QString&)
{
    applyUiStyleSheet();
    for (const FacesRow& row : facesTable()) {
        if (auto* button = window.findChild<SkinButton*>(QLatin1String(row.control)))
            button->setFaces(skin(row.faces[0], row.group), skin(row.faces[1], row.group),
                             skin(row.faces[2], row.group));
    }
    for (const auto& track : kTrackBackgrounds) {
        if (auto* bar = window.findChild<TrackBar*>(QLatin1String(track[0])))
            bar->setBackground(skin(track[1], "controls"));
    }
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
