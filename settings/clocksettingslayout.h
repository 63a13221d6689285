#pragma once

#include "dials/dialpair.h"

#include <QRect>

#include <array>

/** The clock-settings dialog's designed geometry, in twips of its client area. */
namespace ClockSettingsLayout {

inline constexpr int ClientWidth = 4575;
inline constexpr int ClientHeight = 3735;

enum Control : std::size_t {
    CityListA, ///< Combo1: dial A's city
    SummerTimeBoxA, ///< Check1: dial A's summer time
    SummerTimeCaptionA, ///< Label1: "Summer+Time" beside Check1
    CityListB, ///< Combo2: dial B's city
    SummerTimeBoxB, ///< Check2: dial B's summer time
    SummerTimeCaptionB, ///< Label2: "Summer+Time" beside Check2
    CancelButton, ///< btnExit: "キャンセル"
    SetButton, ///< setTime: "設定"
    ControlCount
};

inline constexpr std::array<QRect, ControlCount> Controls = {{
    {105, 2115, 1755, 345},
    {225, 2715, 240, 225},
    {450, 2715, 1380, 240},
    {2775, 195, 1755, 345},
    {2820, 2715, 240, 225},
    {3045, 2715, 1380, 270},
    {2295, 3210, 1005, 345},
    {3405, 3210, 1005, 345},
}};

/** The world map behind the dials, drawn at its own size from the top-left corner. */
inline constexpr char WorldMap[] = ":/worldmap/worldmap.png";

/** The dialog's own font: the buttons and the digital times. */
QFont defaultFont();

/** The small dials: dial A at the upper left, dial B at the right, closer together than on the main window. */
DialLayout dials();

} // namespace ClockSettingsLayout
