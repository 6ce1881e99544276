#include "SkinTable.h"

#include "SkinArt.h"

namespace k4812::skin {
namespace {

const QString kButtons = QStringLiteral("buttons");
const QString kDialog = QStringLiteral("dialog");
const QString kControls = QStringLiteral("controls");
const QString kTop; // the skin folder itself

// "<stem>-1.png", "-2", "-3": normal, hot and pressed faces.
void addFaces(QList<SkinEntry>& table, const QString& group, const QString& stem, QSize size,
              void (*paint)(QPainter&, QSizeF, Face))
{
    const Face faces[] = {Face::Normal, Face::Hot, Face::Pressed};
    for (int i = 0; i < 3; ++i) {
        const Face face = faces[i];
        table.append({group, QStringLiteral("%1-%2.png").arg(stem).arg(i + 1), size,
                      [paint, face](QPainter& p, QSizeF s) { paint(p, s, face); }});
    }
}

void addGlyphFaces(QList<SkinEntry>& table, const QString& group, const QString& stem, char glyph)
{
    const Face faces[] = {Face::Normal, Face::Hot, Face::Pressed};
    for (int i = 0; i < 3; ++i) {
        const Face face = faces[i];
        table.append({group, QStringLiteral("%1-%2.png").arg(stem).arg(i + 1), QSize(35, 35),
                      [face, glyph](QPainter& p, QSizeF s) { paintGlyphButton(p, s, face, glyph); }});
    }
}

} // namespace

QList<SkinEntry> skinTable()
{
    QList<SkinEntry> table;

    // Main window: frame, profile strip, button-set entries, mode buttons.
    table.append({kDialog, QStringLiteral("mainback.png"), QSize(850, 655), paintMainBack});
    addGlyphFaces(table, kButtons, QStringLiteral("help"), '?');
    addGlyphFaces(table, kButtons, QStringLiteral("min"), '-');
    addGlyphFaces(table, kButtons, QStringLiteral("close"), 'x');
    addFaces(table, kButtons, QStringLiteral("preset"), QSize(76, 28), paintButtonFace);
    addFaces(table, kButtons, QStringLiteral("profile1"), QSize(76, 28), paintButtonFace);
    addFaces(table, kButtons, QStringLiteral("Profile5"), QSize(76, 28), paintButtonFace);
    addFaces(table, kButtons, QStringLiteral("ButtonAssign"), QSize(160, 28), paintButtonFace);
    table.append({kButtons, QStringLiteral("mode-1.png"), QSize(96, 30),
                  [](QPainter& p, QSizeF s) { paintAccentButtonFace(p, s, Face::Normal); }});
    table.append({kButtons, QStringLiteral("mode-2.png"), QSize(96, 30),
                  [](QPainter& p, QSizeF s) { paintAccentButtonFace(p, s, Face::Pressed); }});
    addFaces(table, kDialog, QStringLiteral("DLG-OK"), QSize(96, 30), paintAccentButtonFace);

    // The six light colours of the Advanced page, in their order.
    const QColor swatches[] = {QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0xFF, 0x00), QColor(0x00, 0xFF, 0x00),
                               QColor(0x03, 0x61, 0x60), QColor(0xFF, 0x00, 0xFF), QColor(0x00, 0x00, 0xFF)};
    for (int i = 0; i < 6; ++i) {
        const QColor colour = swatches[i];
        table.append({kButtons, QStringLiteral("c%1.png").arg(i + 1), QSize(26, 26),
                      [colour](QPainter& p, QSizeF s) { paintSwatch(p, s, colour); }});
    }

    // Track bar backgrounds (the size of the pages' track bars) and the test image.
    table.append({kControls, QStringLiteral("DPISetting-back.png"), QSize(300, 26),
                  [](QPainter& p, QSizeF s) { paintTrackBack(p, s, 34); }});
    table.append({kControls, QStringLiteral("Trackbar-back.png"), QSize(300, 26),
                  [](QPainter& p, QSizeF s) { paintTrackBack(p, s, 10); }});
    table.append({kControls, QStringLiteral("testarea.png"), QSize(96, 96), paintTestArea});
    table.append({kControls, QStringLiteral("check-unchecked.png"), QSize(16, 16),
                  [](QPainter& p, QSizeF s) { paintCheck(p, s, false); }});
    table.append({kControls, QStringLiteral("check-checked.png"), QSize(16, 16),
                  [](QPainter& p, QSizeF s) { paintCheck(p, s, true); }});

    // Message and help dialogs (the key dialogs share the message dialog's).
    table.append({kDialog, QStringLiteral("messagedialog.png"), QSize(458, 246),
                  [](QPainter& p, QSizeF s) { paintDialogBack(p, s, 46); }});
    table.append({kDialog, QStringLiteral("HelpPage-back.png"), QSize(446, 446),
                  [](QPainter& p, QSizeF s) { paintDialogBack(p, s, 46); }});
    table.append({kDialog, QStringLiteral("warning-icon.png"), QSize(80, 80), paintWarningIcon});
    addGlyphFaces(table, kDialog, QStringLiteral("close"), 'x');

    // Macro manager.
    table.append({kDialog, QStringLiteral("macrodialog.png"), QSize(760, 520),
                  [](QPainter& p, QSizeF s) { paintDialogBack(p, s, 46); }});
    table.append({kDialog, QStringLiteral("startrecord-1.png"), QSize(40, 40),
                  [](QPainter& p, QSizeF s) { paintRecordButton(p, s, Face::Normal, false); }});
    table.append({kDialog, QStringLiteral("startrecord-2.png"), QSize(40, 40),
                  [](QPainter& p, QSizeF s) { paintRecordButton(p, s, Face::Pressed, false); }});
    table.append({kDialog, QStringLiteral("stoprecord-1.png"), QSize(40, 40),
                  [](QPainter& p, QSizeF s) { paintRecordButton(p, s, Face::Normal, true); }});
    table.append({kDialog, QStringLiteral("stoprecord-2.png"), QSize(40, 40),
                  [](QPainter& p, QSizeF s) { paintRecordButton(p, s, Face::Pressed, true); }});
    table.append({kDialog, QStringLiteral("error-icon.png"), QSize(14, 14), paintErrorIcon});
    table.append({kDialog, QStringLiteral("keydown.png"), QSize(16, 16),
                  [](QPainter& p, QSizeF s) { paintKeyIcon(p, s, true); }});
    table.append({kDialog, QStringLiteral("keyup.png"), QSize(16, 16),
                  [](QPainter& p, QSizeF s) { paintKeyIcon(p, s, false); }});
    table.append({kDialog, QStringLiteral("arrow-up.png"), QSize(160, 16),
                  [](QPainter& p, QSizeF s) { paintArrow(p, s, true); }});
    table.append({kDialog, QStringLiteral("arrow-down.png"), QSize(160, 16),
                  [](QPainter& p, QSizeF s) { paintArrow(p, s, false); }});
    // The macro manager asks for these in the top folder.
    addGlyphFaces(table, kTop, QStringLiteral("min"), '-');
    table.append({kTop, QStringLiteral("radio-unchecked.png"), QSize(18, 18),
                  [](QPainter& p, QSizeF s) { paintRadio(p, s, false); }});
    table.append({kTop, QStringLiteral("radio-checked.png"), QSize(18, 18),
                  [](QPainter& p, QSizeF s) { paintRadio(p, s, true); }});
    return table;
}

} // namespace k4812::skin
