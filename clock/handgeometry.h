#pragma once

#include "clock/zonetime.h"

#include <QtGlobal>

/**
 * @brief Where the three hands of a dial end, for a time of day.
 *
 * The arithmetic is single precision in a fixed order, with the angle widened to double for the
 * sine and cosine, so that every window draws the hands to the same hundredth of a twip.
 */
namespace HandGeometry {

inline constexpr float Pi = 3.1415927f;

struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};

struct Hands
{
    Point second;
    Point minute;
    Point hour;
};

/**
 * The dial geometry of one clock window, set once when the window is placed on its screen. The
 * dials' centres are their bases plus the dial offset, which stays a separate term of the sum.
 */
struct Dials
{
    qint32 pixelTwips = 0;
    float dialOffset = 0.0f; ///< 35 x pixelTwips: the second hand's length
    float baseA = 0.0f; ///< dial A's centre, less the dial offset, along both axes
    float baseBX = 0.0f;
    float baseBY = 0.0f;

    static Dials forWindow(qint32 pixelTwips, float baseA, float baseBX, float baseBY);

    Point centreA() const { return {baseA + dialOffset, baseA + dialOffset}; }
    Point centreB() const { return {baseBX + dialOffset, baseBY + dialOffset}; }
};

/** The free ends of the second, minute and hour hands around @p centre. */
Hands hands(const Point &centre, qint32 pixelTwips, float dialOffset, const ZoneTime::TimeOfDay &time);

} // namespace HandGeometry
