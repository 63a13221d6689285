#include "clock/tickrule.h"

namespace TickRule {

int millisecondsToNextTick(const QDateTime &now, int interval)
{
    return interval - now.time().msec() % interval + LagMilliseconds;
}

} // namespace TickRule
