#pragma once

#include "dials/dialpair.h"

#include <QRect>

#include <array>

/** The main window's designed geometry, in twips of its client area. */
namespace MainWindowLayout {

inline constexpr int ClientWidth = 6000;
inline constexpr int ClientHeight = 4200;

enum Control : std::size_t {
    SummerTimeTagA, ///< Label13: dial A's "Summer+Time"
    CityLabelA, ///< Label1: dial A's city
    SummerTimeTagB, ///< Label14: dial B's "Summer+Time"
    CityLabelB, ///< Label2: dial B's city
    Picture, ///< Picture1: the dial picture
    CityListB, ///< Combo1: dial B's city list
    ControlCount
};

inline constexpr std::array<QRect, ControlCount> Controls = {{
    {465, 1605, 1320, 240},
    {240, 2070, 1455, 255},
    {4575, 3435, 1320, 240},
    {4305, 1335, 1455, 255},
    {1860, 825, 2220, 2235},
    {120, 3720, 5775, 345},
}};

DialLayout dials();

} // namespace MainWindowLayout
