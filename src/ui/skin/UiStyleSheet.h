#pragma once
// The optional style file "images/ui.vgstyle" beside the program: a Qt style
// sheet, applied to the whole application when it exists, so an installation
// can restyle the windows without a new build. Without it the built-in look
// stays. The folder and file names are matched without regard to letter
// case, as on the file systems the skin was first made for: the skin folder
// is "Images" here, and "IMAGES/UI.VGSTYLE" is found as well.

#include <QString>

namespace k4812 {

// The style file below `programFolder`: the first entry named "images" in
// any letter case that holds a file named "ui.vgstyle" in any letter case
// (the exact spellings first). When none does, programFolder +
// "/Images/ui.vgstyle", which does not exist.
QString uiStyleSheetPath(const QString& programFolder);
// The same below the program's folder.
QString uiStyleSheetPath();

// Applies the style sheet at `path` when the file exists and reads; returns
// whether one was applied. An unreadable file is reported on the log and
// changes nothing.
bool applyUiStyleSheet(const QString& path = uiStyleSheetPath());

} // namespace k4812
