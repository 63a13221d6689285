#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

/**
 * @brief Zone time: Japan time shifted by whole hours.
 *
 * The city table counts from Japan time, which is UTC plus nine hours all year round (Japan keeps no
 * summer time). A time is held as seconds of a wall-clock reading counted as if no time zone existed,
 * so shifting it is plain calendar arithmetic that no time-zone rule of the computer can move.
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

/** Japan's wall clock at the moment @p moment, to the whole second, whatever time zone it is given in. */
WallSeconds japanTime(const QDateTime &moment);

/** The computer's own wall clock at the moment @p moment: UTC with its time zone's present offset. */
WallSeconds localTime(const QDateTime &moment);

/** The wall-clock reading @p now plus @p hours hours, across days as the calendar goes. */
WallSeconds shifted(WallSeconds now, qint16 hours);

TimeOfDay timeOfDay(WallSeconds reading);

/** The calendar day of a wall-clock reading. */
QDate date(WallSeconds reading);

/** "HH:NN:SS": hours 00 to 23, each field two digits with a leading zero. */
QString format(const TimeOfDay &time);

/** The zero date-time (1899-12-30 00:00:00), earlier than any present time. */
WallSeconds zeroDateTime();

} // namespace ZoneTime
