#pragma once
// The optional style file "images/ui.vgstyle" beside the program: a Qt style
// sheet, applied to the whole application when it exists, so an installation
// can restyle the windows without a new build. Without it the built-in look
// stays.

#include <QString>

namespace k4812 {

// programFile("images/ui.vgstyle").
QString uiStyleSheetPath();

// Applies the style sheet at `path` when the file exists and reads; returns
// whether one was applied. An unreadable file is reported on the log and
// changes nothing.
bool applyUiStyleSheet(const QString& path = uiStyleSheetPath());

} // namespace k4812
