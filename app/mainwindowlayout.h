#pragma once

#include "clock/dialpair.h"

#include <QRect>

/** The main window's designed geometry, in twips of its client area. */
namespace MainFormLayout {

inline constexpr int ClientWidth = 6000;
inline constexpr int ClientHeight = 4200;

inline constexpr QRect CityLabelA{240, 2070, 1455, 255}; ///< dial A's city
inline constexpr QRect CityLabelB{4305, 1335, 1455, 255}; ///< dial B's city
inline constexpr QRect SummerTimeTagA{465, 1605, 1320, 240}; ///< dial A's "Summer+Time"
inline constexpr QRect SummerTimeTagB{4575, 3435, 1320, 240}; ///< dial B's "Summer+Time"
inline constexpr QRect Picture{1860, 825, 2220, 2235};
inline constexpr QRect CityList{120, 3720, 5775, 345};

DialLayout dials();

} // namespace MainFormLayout
