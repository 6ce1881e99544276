#pragma once
// Small makers of the pages' controls: each gets its object name, its English
// caption (shown translated and translated again on a language switch) and
// its place, so the page constructors read as a list of controls.

#include <QRect>

class QWidget;

namespace k4812 {

class CheckBox;
class RadioButton;
class SkinButton;
class SkinLabel;
class TrackBar;

namespace page {

SkinLabel* label(QWidget* parent, const char* english, QRect geometry);
SkinButton* button(QWidget* parent, const char* name, const char* english, QRect geometry);
CheckBox* checkBox(QWidget* parent, const char* name, const char* english, QRect geometry);
RadioButton* radio(QWidget* parent, const char* name, const char* english, const char* group, QRect geometry);
// A track bar has no caption of its own; screen readers get `accessibleName`.
TrackBar* track(QWidget* parent, const char* name, const char* accessibleName, int minimum, int maximum, int step,
                QRect geometry);

} // namespace page
} // namespace k4812
