#pragma once

// The clock the tests read, and the clock's state as a failing comparison prints it, for the test
// programs with and without windows.

#include "clock/clockmodel.h"
#include "clock/timesource.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

// The UTC moment at which Japan's wall clock (UTC + 9, all year) reads @p date @p time.
inline QDateTime japanTime(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, QTimeZone::utc()).addSecs(-9 * 3600);
}

// The clock every test reads: fixed at a UTC moment until set again; by default 2026-12-06 10:00:00 in Japan.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime &moment = japanTime(QDate(2026, 12, 6), QTime(10, 0, 0)))
        : m_moment(moment)
    {
        TimeSource::set([this] { return m_moment; });
    }
    ~FixedClock() { TimeSource::reset(); }
    void set(const QDateTime &moment) { m_moment = moment; }
    void advance(int seconds) { m_moment = m_moment.addSecs(seconds); }

private:
    QDateTime m_moment;
};

// "Sydney summer +2": a dial's city, its summer time and its offset.
inline QString describe(const DialState &state)
{
    return QStringLiteral("%1 %2%3").arg(state.city, state.summerTime ? QStringLiteral("summer ") : QString(),
                                         QString::asprintf("%+d", state.offset));
}

inline char *toString(const DialState &state)
{
    return QTest::toString(describe(state));
}

// "Tokyo +0 | Sydney summer +2": dial A, then dial B.
inline char *toString(const ClockState &state)
{
    return QTest::toString(describe(state.a) + QStringLiteral(" | ") + describe(state.b));
}
