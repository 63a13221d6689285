#pragma once

#include <QRect>

#include <array>

/** Where frmAbout and its controls stand, in twips: the window's client area on the screen, the controls in it. */
namespace AboutBoxLayout {

inline constexpr QRect Client{2340, 1935, 5730, 2055};

enum Control : std::size_t {
    OkButton, ///< cmdOK
    Icon, ///< picIcon
    SystemInformationButton, ///< cmdSysInfo
    Description, ///< lblDescription
    Disclaimer, ///< lblDisclaimer
    Title, ///< lblTitle
    Version, ///< lblVersion
    ControlCount
};

inline constexpr std::array<QRect, ControlCount> Controls = {{
    {4290, 990, 1310, 345},
    {240, 240, 480, 480},
    {4290, 1440, 1310, 345},
    {1020, 630, 3885, 360},
    {240, 1140, 3840, 690},
    {1050, 225, 1635, 300},
    {3120, 255, 1785, 225},
}};

} // namespace AboutBoxLayout
