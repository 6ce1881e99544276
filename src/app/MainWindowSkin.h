#pragma once
// The main window's look: LoadSkin gives every control its faces from the
// skin image store (the images, their groups and names as the skin folder
// holds them), and the window paints "mainback.png", or, where the skin lacks
// it, the regions in the theme's colours.

class QPainter;
class QString;

namespace k4812 {

class TK4812CfgMain;

// Starts decoding the window's large background while the controls are built.
void prefetchMainWindowSkin();
void applyMainWindowSkin(TK4812CfgMain& window, const QString& programFolder);
void paintMainWindowBackground(QPainter& painter, TK4812CfgMain& window);

} // namespace k4812
