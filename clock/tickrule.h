#pragma once

#include <QDateTime>

/**
 * @brief The rhythm of the dials: a tick every half second of the computer's clock, a little after it.
 */
namespace TickRule {

inline constexpr int IntervalMilliseconds = 500;

/**
 * How long after each half second the tick comes: enough that a timer which fires a hair early by the
 * wall clock (slewed by time synchronisation) still reads the new second.
 */
inline constexpr int LagMilliseconds = 3;

/** From the reading @p now of the clock to the next tick, a few milliseconds past the next half second. */
int millisecondsToNextTick(const QDateTime &now);

} // namespace TickRule
