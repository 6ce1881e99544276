#pragma once
// Where the main window's controls sit (850 x 655): the top bar (80 high)
// with help, minimise and close; the left area (500 wide) with the button
// assignment, the mode buttons and the profile strip; the right area (350
// wide) with the tab control; the bottom bar (53 high) with OK, Apply, Cancel
// and Reset All. One table of rectangles, so the skin and the window agree.

#include <QRect>

namespace k4812::layout {

inline constexpr QRect kTopBar{0, 0, 850, 80};
inline constexpr QRect kLeftArea{0, 80, 500, 522};
inline constexpr QRect kRightArea{500, 80, 350, 522};
inline constexpr QRect kBottomBar{0, 602, 850, 53};

inline constexpr QRect kHelpButton{700, 22, 35, 35};
inline constexpr QRect kMinButton{740, 22, 35, 35};
inline constexpr QRect kCloseButton{780, 22, 35, 35};

inline constexpr QRect kCaption{24, 90, 300, 30};

// The nine button-set entries (120 x 33): seven buttons, then the two wheel directions.
inline constexpr int kEntryLeft = 24;
inline constexpr int kEntryTop = 130;
inline constexpr int kEntryPitch = 38;
inline constexpr QRect entryRect(int i)
{
    return {kEntryLeft, kEntryTop + i * kEntryPitch, 120, 33};
}

// The picture of the mouse beside the entries.
inline constexpr QRect kMousePicture{176, 130, 300, 330};

inline constexpr QRect modeRect(int g)
{
    return {200 + g * 150, 478, 120, 33};
}

// The profile strip: PRESET, then PROFILE1 to PROFILE5.
inline constexpr QRect presetRect()
{
    return {24, 540, 74, 40};
}
inline constexpr QRect profileRect(int p)
{
    return {102 + p * 78, 540, 74, 40};
}

inline constexpr QRect kTabs{512, 92, 326, 500};

inline constexpr QRect kOkButton{295, 612, 100, 33};
inline constexpr QRect kApplyButton{401, 612, 100, 33};
inline constexpr QRect kCancelButton{509, 612, 100, 33};
inline constexpr QRect kResetAllButton{613, 612, 100, 33};
inline constexpr QRect kIndicator{252, 613, 32, 32};

} // namespace k4812::layout
