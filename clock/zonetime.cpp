#include "clock/zonetime.h"

namespace ZoneTime {

namespace {

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 UnixEpochJulianDay = 2440588;

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

WallSeconds japanTime(const QDateTime &moment)
{
    constexpr qint64 JapanAheadOfUtc = 9 * 3600;
    return floorDiv(moment.toMSecsSinceEpoch(), 1000) + JapanAheadOfUtc;
}

WallSeconds localTime(const QDateTime &moment)
{
    return floorDiv(moment.toMSecsSinceEpoch(), 1000) + moment.toLocalTime().offsetFromUtc();
}

WallSeconds shifted(WallSeconds now, qint16 hours)
{
    return now + qint64(hours) * 3600;
}

TimeOfDay timeOfDay(WallSeconds reading)
{
    const qint64 seconds = reading - floorDiv(reading, SecondsPerDay) * SecondsPerDay;
    return {int(seconds / 3600), int(seconds / 60 % 60), int(seconds % 60)};
}

QDate date(WallSeconds reading)
{
    return QDate::fromJulianDay(floorDiv(reading, SecondsPerDay) + UnixEpochJulianDay);
}

QString format(const TimeOfDay &time)
{
    const QChar text[8] = {
        QChar(u'0' + time.hour / 10),   QChar(u'0' + time.hour % 10),   QChar(u':'),
        QChar(u'0' + time.minute / 10), QChar(u'0' + time.minute % 10), QChar(u':'),
        QChar(u'0' + time.second / 10), QChar(u'0' + time.second % 10),
    };
    return QString(text, 8);
}

WallSeconds zeroDateTime()
{
    return (QDate(1899, 12, 30).toJulianDay() - UnixEpochJulianDay) * SecondsPerDay;
}

} // namespace ZoneTime
