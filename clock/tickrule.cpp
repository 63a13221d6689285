#include "clock/tickrule.h"

namespace TickRule {

int millisecondsToNextTick(const QDateTime &now)
{
    return IntervalMilliseconds - now.time().msec() % IntervalMilliseconds + LagMilliseconds;
}

} // namespace TickRule
