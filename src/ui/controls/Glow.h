#pragma once
// The glow around a control (the Sensitivity page marks the selected CPI
// level with it): a soft halo of one colour, switched on and off per control
// without changing the control's size.

#include <QColor>

class QWidget;

namespace k4812 {

void setGlowColor(QWidget* widget, const QColor& color);
void setGlowEnabled(QWidget* widget, bool on);
bool isGlowEnabled(const QWidget* widget);
QColor glowColor(const QWidget* widget);

} // namespace k4812
