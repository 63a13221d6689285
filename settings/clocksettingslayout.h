#pragma once

#include "clock/dialpair.h"

#include <QRect>

/** The clock-settings dialog's designed geometry, in twips of its client area. */
namespace SetTimeLayout {

inline constexpr int ClientWidth = 4575;
inline constexpr int ClientHeight = 3735;

inline constexpr QRect CityListA{105, 2115, 1755, 345}; ///< dial A's city
inline constexpr QRect SummerTimeBoxA{225, 2715, 240, 225}; ///< dial A's summer time
inline constexpr QRect SummerTimeLabelA{450, 2715, 1380, 240}; ///< "Summer+Time" beside Check1
inline constexpr QRect CityListB{2775, 195, 1755, 345}; ///< dial B's city
inline constexpr QRect SummerTimeBoxB{2820, 2715, 240, 225}; ///< dial B's summer time
inline constexpr QRect SummerTimeLabelB{3045, 2715, 1380, 270}; ///< "Summer+Time" beside Check2
inline constexpr QRect CancelButton{2295, 3210, 1005, 345}; ///< "キャンセル"
inline constexpr QRect SetButton{3405, 3210, 1005, 345}; ///< "設定"

/** The world map behind the dials, drawn at its own size from the top-left corner. */
inline constexpr char WorldMap[] = ":/worldmap/worldmap.png";

/** The dialog's own font: the buttons and the digital times. */
QFont defaultFont();

/** The small dials: dial A at the upper left, dial B at the right, closer together than on the main window. */
DialLayout dials();

} // namespace SetTimeLayout
