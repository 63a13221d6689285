#pragma once

#include <QDateTime>

/**
 * @brief The rhythm of the dials: a tick just after each second of the computer's clock.
 *
 * The dials show whole seconds, so a tick between two seconds would find nothing to change. Until
 * the dials first show a time they tick on the half second, so that a window never waits longer
 * than that for its first time.
 */
namespace TickRule {

inline constexpr int IntervalMilliseconds = 1000;
inline constexpr int FirstIntervalMilliseconds = 500;

/**
 * How long after each second the tick comes: enough that a timer which fires a hair early by the
 * wall clock (slewed by time synchronisation) still reads the new second.
 */
inline constexpr int LagMilliseconds = 3;

/**
 * From the reading @p now of the clock to the next tick, a few milliseconds past the next whole
 * multiple of @p interval milliseconds.
 */
int millisecondsToNextTick(const QDateTime &now, int interval = IntervalMilliseconds);

} // namespace TickRule
