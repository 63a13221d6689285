#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

/**
 * @brief Zone time: the computer's wall-clock reading shifted by whole hours.
 *
 * A reading is held as seconds counted as if no time zone existed, so shifting it is plain
 * calendar arithmetic: no time-zone or daylight-saving rule of the computer can move it.
 */
namespace ZoneTime {

/** Seconds of a wall-clock reading, counted from 1970-01-01 00:00:00 as if on a zoneless calendar. */
using WallSeconds = qint64;

struct TimeOfDay
{
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/** The date and time fields of @p reading (whatever its time zone says), to the whole second. */
WallSeconds fromReading(const QDateTime &reading);

/** The wall-clock reading @p now plus @p hours hours, across days as the calendar goes. */
WallSeconds shifted(WallSeconds now, qint16 hours);

TimeOfDay timeOfDay(WallSeconds reading);

/** "HH:NN:SS": hours 00 to 23, each field two digits with a leading zero. */
QString format(const TimeOfDay &time);

/** The zero date-time (1899-12-30 00:00:00), earlier than any present time. */
WallSeconds zeroDateTime();

} // namespace ZoneTime
