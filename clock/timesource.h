#pragma once

#include <QDateTime>

#include <functional>

/**
 * @brief The one place the program reads the present time: the computer's clock, in UTC.
 *
 * Tests fix the clock with set(). What the dials show is worked out from UTC alone (ZoneTime::japanTime),
 * so the computer's own time zone and its summer-time rules never take part.
 */
namespace TimeSource {

using Reader = std::function<QDateTime()>;

/** The present moment: the computer's clock in UTC, or what the reader set by set() gives. */
QDateTime now();

void set(Reader reader);
void reset();

} // namespace TimeSource
