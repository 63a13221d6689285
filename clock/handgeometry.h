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

/** The dial geometry of one clock window, set once when the window loads. */
struct Dials
{
    qint32 PixelTwips = 0;
    float DialOffset = 0.0f; ///< 35 x PixelTwips: the second hand's length
    float CenterA = 0.0f;
    float CenterBX = 0.0f;
    float CenterBY = 0.0f;

    static Dials forWindow(qint32 pixelTwips, float centerA, float centerBX, float centerBY);

    Point centreA() const { return {CenterA + DialOffset, CenterA + DialOffset}; }
    Point centreB() const { return {CenterBX + DialOffset, CenterBY + DialOffset}; }
};

/** The free ends of the second, minute and hour hands around @p centre. */
Hands hands(const Point &centre, qint32 pixelTwips, float dialOffset, const ZoneTime::TimeOfDay &time);

} // namespace HandGeometry
