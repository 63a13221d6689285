#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "clock/handgeometry.h"
#include "clock/handline.h"
#include "clock/zonetime.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QTimeZone>
#include <QTimer>

#include <cmath>
#include <ctime>

namespace {

// A wall-clock reading shifted by whole hours, as date and "HH:NN:SS".
QString zoneTime(const QDateTime &reading, int hours)
{
    const ZoneTime::WallSeconds zone = ZoneTime::shifted(ZoneTime::fromReading(reading), qint16(hours));
    return ZoneTime::date(zone).toString(Qt::ISODate) + QLatin1Char(' ') + ZoneTime::format(ZoneTime::timeOfDay(zone));
}

void setTimeZone(const char *zone)
{
    zone ? qputenv("TZ", zone) : qunsetenv("TZ");
    tzset();
}

// The main window's dials, as far as the tick needs them.
DialLayout mainWindowDials()
{
    DialLayout layout;
    layout.lines[0] = QLineF(960, 840, 600, 1200);
    layout.lines[3] = QLineF(4800, 2895, 5160, 2535);
    layout.baseA = 390;
    layout.baseBX = 4500;
    layout.baseBY = 2200;
    return layout;
}

} // namespace

class TestClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        setTimeZone(nullptr);
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void cityTableHoldsTheStoredNamesInOrder()
    {
        // The names are stored in settings files, spelling and blanks included, so none may change.
        const QList<QPair<QByteArray, int>> expected = {
            {"Tokyo", 0},       {"Bangkok", -2},        {"Beijing", -1},   {"Berlin", -8},
            {"Cairo", -7},      {"Chicago ", -15},      {"Dublin", -9},    {"Helsinki", -7},
            {"Hong Kong", -1},  {"Honolulu", -19},      {"Jakarta", -2},   {"Johannesburg", -7},
            {"London", -9},     {"Los Angels", -17},    {"Madrid", -8},    {"Manila", -1},
            {"Melbourne", 1},   {"Mexico City", -15},   {"Moscow", -6},    {"Nairobi", -6},
            {"New York", -14},  {"Oslo", -8},           {"Paris", -8},     {"Rio de Janeiro", -12},
            {"Rome", -8},       {"San Francisco", -17}, {"Seoul", 0},      {"Shanghai", -1},
            {"Singapore", -1},  {"Sydney", 1},          {"Taipei", -1},    {"Toronto", -14},
            {"Vancouver", -17}, {"Washigton DC", -14},  {"Wellington", 3}, {"Zurich", -8},
        };
        QComboBox list;
        appendCityNames(&list);
        QCOMPARE(list.count(), expected.size());
        QCOMPARE(list.currentIndex(), -1); // a freshly filled list selects nothing
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(list.itemText(i).toLatin1(), expected[i].first);
            QCOMPARE(int(zoneOffsetAt(i)), expected[i].second);
        }
        for (int outside : {-1, 36, 32767, -32768})
            QCOMPARE(int(zoneOffsetAt(outside)), 0);
    }

    void zoneTimeIsCalendarArithmetic_data()
    {
        QTest::addColumn<QDateTime>("reading");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("shown");
        const auto at = [](int day, int h, int m, int s) {
            return QDateTime(QDate(2026, 3, day), QTime(h, m, s));
        };
        QTest::newRow("Honolulu at 10:00") << at(1, 10, 0, 0) << -19 << QStringLiteral("2026-02-28 15:00:00");
        QTest::newRow("Wellington summer at 10:00") << at(1, 10, 0, 0) << 4 << QStringLiteral("2026-03-01 14:00:00");
        QTest::newRow("into the next day") << at(1, 22, 30, 15) << 4 << QStringLiteral("2026-03-02 02:30:15");
        QTest::newRow("London") << at(1, 22, 30, 15) << -9 << QStringLiteral("2026-03-01 13:30:15");
        QTest::newRow("leading zeros") << at(1, 9, 5, 3) << 0 << QStringLiteral("2026-03-01 09:05:03");
        QTest::newRow("largest offset") << at(1, 0, 0, 0) << 32767 << QStringLiteral("2029-11-25 07:00:00");
        QTest::newRow("smallest offset") << at(1, 23, 59, 59) << -32768 << QStringLiteral("2022-06-05 15:59:59");
    }
    void zoneTimeIsCalendarArithmetic()
    {
        QFETCH(QDateTime, reading);
        QFETCH(int, hours);
        QFETCH(QString, shown);
        QCOMPARE(zoneTime(reading, hours), shown);
    }

    void zoneTimeIgnoresDaylightSavingChanges_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("instant");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("shown"); // the wall clock's reading, then the dial's
        const auto utc = [](int month, int day, int hour, int minute, int second) {
            return QDateTime(QDate(2026, month, day), QTime(hour, minute, second), QTimeZone::utc());
        };
        // New York springs forward at 02:00 on 8 March and falls back at 02:00 on 1 November 2026;
        // London changes at 01:00 UTC on 29 March and 25 October.
        const QByteArray newYork("America/New_York");
        const QByteArray london("Europe/London");
        QTest::newRow("NY, last winter second")
            << newYork << utc(3, 8, 6, 59, 59) << 14 << QStringLiteral("01:59:59 15:59:59");
        QTest::newRow("NY, first summer second")
            << newYork << utc(3, 8, 7, 0, 0) << 14 << QStringLiteral("03:00:00 17:00:00");
        QTest::newRow("NY, last summer second")
            << newYork << utc(11, 1, 5, 59, 59) << 14 << QStringLiteral("01:59:59 15:59:59");
        QTest::newRow("NY, the repeated hour")
            << newYork << utc(11, 1, 6, 0, 0) << 14 << QStringLiteral("01:00:00 15:00:00");
        QTest::newRow("London, into summer")
            << london << utc(3, 29, 1, 0, 0) << 9 << QStringLiteral("02:00:00 11:00:00");
        QTest::newRow("London, out of summer")
            << london << utc(10, 25, 1, 0, 0) << 9 << QStringLiteral("01:00:00 10:00:00");
        QTest::newRow("London, back across")
            << london << utc(3, 29, 1, 30, 0) << -1 << QStringLiteral("02:30:00 01:30:00");
    }
    void zoneTimeIgnoresDaylightSavingChanges()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, instant);
        QFETCH(int, hours);
        QFETCH(QString, shown);
        setTimeZone(zone.constData());
        const QDateTime local = instant.toLocalTime();
        if (local.time().toString() != shown.left(8))
            QSKIP("the time-zone data for this zone is not installed");
        QCOMPARE(zoneTime(local, hours).mid(11), shown.mid(9));
    }

    void handEnds_data()
    {
        QTest::addColumn<int>("pixelTwips");
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QPointF>("second");
        QTest::addColumn<QPointF>("minute");
        QTest::addColumn<QPointF>("hour");
        const QPointF a(915, 915);
        QTest::newRow("00:00:00") << 15 << a << QTime(0, 0, 0) << QPointF(915, 390) << QPointF(915, 450)
                                  << QPointF(915, 570);
        QTest::newRow("03:00:00") << 15 << a << QTime(3, 0, 0) << QPointF(915, 390) << QPointF(915, 450)
                                  << QPointF(1260, 915);
        QTest::newRow("15:00:00") << 15 << a << QTime(15, 0, 0) << QPointF(915, 390) << QPointF(915, 450)
                                  << QPointF(1260, 915);
        QTest::newRow("09:30:45") << 15 << a << QTime(9, 30, 45) << QPointF(390, 915) << QPointF(915, 1380)
                                  << QPointF(580.73, 829.65);
        QTest::newRow("12:59:30") << 15 << a << QTime(12, 59, 30) << QPointF(915, 1440) << QPointF(866.39, 452.55)
                                  << QPointF(1077.87, 610.87);
        QTest::newRow("06:15:15") << 15 << a << QTime(6, 15, 15) << QPointF(1440, 915) << QPointF(1380, 915)
                                  << QPointF(871.99, 1257.31);
        QTest::newRow("dial B, 09:30:45") << 15 << QPointF(5025, 2725) << QTime(9, 30, 45) << QPointF(4500, 2725)
                                          << QPointF(5025, 3190) << QPointF(4690.73, 2639.65);
        QTest::newRow("120 dpi, 00:00:00")
            << 12 << QPointF(810, 810) << QTime(0, 0, 0) << QPointF(810, 390) << QPointF(810, 438) << QPointF(810, 534);
        QTest::newRow("120 dpi, 03:45:15") << 12 << QPointF(810, 810) << QTime(3, 45, 15) << QPointF(1230, 810)
                                           << QPointF(438, 810) << QPointF(1066.82, 911.09);
    }
    void handEnds()
    {
        QFETCH(int, pixelTwips);
        QFETCH(QPointF, centre);
        QFETCH(QTime, time);
        const HandGeometry::Hands ends =
            HandGeometry::hands({float(centre.x()), float(centre.y())}, pixelTwips, float(35 * pixelTwips),
                                {time.hour(), time.minute(), time.second()});
        QFETCH(QPointF, second);
        QFETCH(QPointF, minute);
        QFETCH(QPointF, hour);
        COMPARE_TWIPS(QPointF(ends.second.x, ends.second.y), second);
        COMPARE_TWIPS(QPointF(ends.minute.x, ends.minute.y), minute);
        COMPARE_TWIPS(QPointF(ends.hour.x, ends.hour.y), hour);
    }

    void loadPutsPivotsOnTheCentres()
    {
        QWidget surface;
        ClockModel clock;
        DialPair dials(&surface, mainWindowDials(), 15, clock);
        const auto line = [&dials](int n) {
            return dials.findChild<HandLine *>(QStringLiteral("Line%1").arg(n));
        };
        COMPARE_TWIPS(line(1)->start(), QPointF(960, 840)); // as designed until the window loads
        dials.placePivots(12);
        for (int n = 1; n <= 6; ++n)
            COMPARE_TWIPS(line(n)->start(), n <= 3 ? QPointF(810, 810) : QPointF(4920, 2620));
        COMPARE_TWIPS(line(4)->end(), QPointF(5160, 2535)); // free ends wait for the first tick
    }

    void tickSkipsOnlyWhileDialAShowsThePresentSecond_data()
    {
        QTest::addColumn<int>("offsetA");
        QTest::addColumn<QString>("dialBAfterSecondTick");
        // At offset 0 dial A's time equals the present until the next second: the second tick does nothing.
        QTest::newRow("dial A at the computer's time") << 0 << QStringLiteral("10:00:00");
        QTest::newRow("dial A shifted") << -9 << QStringLiteral("13:00:00");
    }
    void tickSkipsOnlyWhileDialAShowsThePresentSecond()
    {
        QFETCH(int, offsetA);
        QFETCH(QString, dialBAfterSecondTick);
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        QWidget surface;
        ClockModel model;
        DialPair dials(&surface, mainWindowDials(), 15, model);
        dials.placePivots(15);
        const QLabel *timeB = surface.findChild<QLabel *>(QStringLiteral("Label12"));
        model.setOffsetA(qint16(offsetA));
        dials.tick();
        QCOMPARE(timeB->text(), QStringLiteral("10:00:00"));
        model.setOffsetB(3);
        dials.tick();
        QCOMPARE(timeB->text(), dialBAfterSecondTick);
        clock.advance(1);
        dials.tick();
        QCOMPARE(timeB->text(), QStringLiteral("13:00:01"));
        const double angle = -84 * M_PI / 180; // one second past twelve
        COMPARE_TWIPS(dials.findChild<HandLine *>(QStringLiteral("Line4"))->end(),
                      QPointF(5025 + 525 * std::cos(angle), 2725 + 525 * std::sin(angle)));
    }

    void timerComesJustAfterEachHalfSecond_data()
    {
        QTest::addColumn<QTime>("atStart");
        QTest::addColumn<int>("firstDelay");
        QTest::addColumn<QTime>("atTimeout"); // the clock when Timer1 fires, set or late as it may be
        QTest::addColumn<int>("nextDelay");
        QTest::addColumn<QString>("shown");
        const auto at = [](int second, int millisecond) {
            return QTime(10, 0, second, millisecond);
        };
        QTest::newRow("on the second") << at(0, 0) << 503 << at(0, 503) << 500 << QStringLiteral("10:00:00");
        QTest::newRow("at the tick") << at(0, 3) << 500 << at(0, 503) << 500 << QStringLiteral("10:00:00");
        QTest::newRow("woken a millisecond late") << at(0, 3) << 500 << at(0, 504) << 499 << QStringLiteral("10:00:00");
        QTest::newRow("end of a half second") << at(0, 499) << 4 << at(0, 503) << 500 << QStringLiteral("10:00:00");
        QTest::newRow("on the half second") << at(0, 500) << 503 << at(1, 3) << 500 << QStringLiteral("10:00:01");
        QTest::newRow("end of a second") << at(0, 997) << 6 << at(1, 3) << 500 << QStringLiteral("10:00:01");
        // A clock set while Timer1 waits, or a wake long after it was due, puts the next tick back on the half second.
        QTest::newRow("clock set back") << at(1, 3) << 500 << at(0, 250) << 253 << QStringLiteral("10:00:00");
        QTest::newRow("clock set forward") << at(0, 3) << 500 << at(5, 740) << 263 << QStringLiteral("10:00:05");
        QTest::newRow("fired early by the clock") << at(0, 503) << 500 << at(0, 999) << 4 << QStringLiteral("10:00:00");
        QTest::newRow("late wake") << at(0, 503) << 500 << at(3, 611) << 392 << QStringLiteral("10:00:03");
    }
    void timerComesJustAfterEachHalfSecond()
    {
        QFETCH(QTime, atStart);
        QFETCH(QTime, atTimeout);
        const QDate day(2026, 12, 6);
        FixedClock clock(QDateTime(day, atStart));
        QWidget surface;
        ClockModel model;
        DialPair dials(&surface, DialLayout(), 15, model);
        FIND_CONTROL(timer, QTimer, &dials, "Timer1");
        // A coarse timer may fire tens of milliseconds off its time.
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QVERIFY(timer->isActive());
        QTEST(timer->interval(), "firstDelay");

        FixedClock setOrLater(QDateTime(day, atTimeout));
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QVERIFY2(timer->isActive(), "Timer1 must be armed again for the next half second");
        QTEST(timer->interval(), "nextDelay");
        QTEST(surface.findChild<QLabel *>(QStringLiteral("Label11"))->text(), "shown");
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
