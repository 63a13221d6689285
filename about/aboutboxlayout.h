#pragma once

#include <QRect>

/** Where frmAbout and its controls stand, in twips: the window's client area on the screen, the controls in it. */
namespace AboutBoxLayout {

inline constexpr QRect Client{2340, 1935, 5730, 2055};

inline constexpr QRect Icon{240, 240, 480, 480};
inline constexpr QRect Title{1050, 225, 1635, 300};
inline constexpr QRect Version{3120, 255, 1785, 225};
inline constexpr QRect Description{1020, 630, 3885, 360};
inline constexpr QRect Disclaimer{240, 1140, 3840, 690};
inline constexpr QRect OkButton{4290, 990, 1310, 345};
inline constexpr QRect SystemInformationButton{4290, 1440, 1310, 345};

} // namespace AboutBoxLayout
