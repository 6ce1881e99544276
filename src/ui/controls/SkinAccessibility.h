#pragma once
// What assistive technology (AT-SPI through Qt's accessibility) sees of the
// skinned controls: roles, states, names, values and actions, as for Qt's own
// widgets. Image buttons are buttons (staying-pressed ones checkable), check
// boxes check boxes, radio buttons radio buttons, track bars sliders whose
// value is set through the step rounding, the busy indicator a busy progress
// bar and image views graphics. A control's name is its accessible name, else
// its caption.
//
// Every skinned control calls installSkinAccessibility() when it is made;
// the first call installs the factory for the whole process.

namespace k4812 {

void installSkinAccessibility();

} // namespace k4812
