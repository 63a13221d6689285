#include "clock/handgeometry.h"

#include <cmath>

namespace HandGeometry {

namespace {

Point end(const Point &centre, float length, float angle)
{
    // The sum is worked out in double and stored as single-precision twips.
    const double a = angle;
    return {static_cast<float>(centre.x + double(length) * std::cos(a)),
            static_cast<float>(centre.y + double(length) * std::sin(a))};
}

} // namespace

Dials Dials::forWindow(qint32 pixelTwips, float baseA, float baseBX, float baseBY)
{
    return {pixelTwips, static_cast<float>(35 * pixelTwips), baseA, baseBX, baseBY};
}

Hands hands(const Point &centre, qint32 pixelTwips, float dialOffset, const ZoneTime::TimeOfDay &time)
{
    // Angles grow clockwise because y grows downward; -90 degrees points to 12.
    const float radian = Pi / 180.0f;
    const float secondAngle = radian * float(time.second - 15) * 6.0f;
    const float minuteAngle = radian * float(time.minute - 15) * 6.0f;
    // The hour hand creeps 1/120 radian per minute: the dial's own rule, a little under half a degree.
    const float hourAngle = radian * float(time.hour % 12 - 3) * 30.0f + float(time.minute) / 120.0f;

    Hands result;
    result.second = end(centre, dialOffset, secondAngle);
    result.minute = end(centre, dialOffset - float(4 * pixelTwips), minuteAngle);
    result.hour = end(centre, dialOffset - float(12 * pixelTwips), hourAngle);
    return result;
}

} // namespace HandGeometry
