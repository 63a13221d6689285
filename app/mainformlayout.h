#pragma once

#include "clock/dialpair.h"

#include <QRect>

/** The main window's designed geometry, in twips of its client area. */
namespace MainFormLayout {

inline constexpr int ClientWidth = 6000;
inline constexpr int ClientHeight = 4200;

inline constexpr QRect Label1{240, 2070, 1455, 255}; ///< dial A's city
inline constexpr QRect Label2{4305, 1335, 1455, 255}; ///< dial B's city
inline constexpr QRect Label13{465, 1605, 1320, 240}; ///< dial A's "Summer+Time"
inline constexpr QRect Label14{4575, 3435, 1320, 240}; ///< dial B's "Summer+Time"
inline constexpr QRect Picture1{1860, 825, 2220, 2235};
inline constexpr QRect Combo1{120, 3720, 5775, 345};

DialLayout dials();

} // namespace MainFormLayout
