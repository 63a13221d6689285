#include "clock/citytable.h"
#include "clock/dialpair.h"
#include "clock/handgeometry.h"
#include "clock/handline.h"
#include "clock/houroffsets.h"
#include "clock/zonetime.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QTimeZone>

#include <cmath>
#include <ctime>
#include <memory>

namespace {

using ZoneTime::WallSeconds;

WallSeconds wall(const QDate &date, const QTime &time)
{
    return ZoneTime::fromReading(QDateTime(date, time, QTimeZone::utc()));
}

QDateTime asDateTime(WallSeconds seconds)
{
    const ZoneTime::TimeOfDay t = ZoneTime::timeOfDay(seconds);
    return QDateTime(ZoneTime::date(seconds), QTime(t.hour, t.minute, t.second), QTimeZone::utc());
}

// The main window's dials, enough for the tick: where they stand and which lines they draw.
DialLayout mainWindowDials()
{
    DialLayout layout;
    layout.shapes = {QRect(120, 120, 1575, 1575), QRect(165, 165, 1575, 1575), QRect(4245, 1965, 1575, 1575),
                     QRect(4200, 1920, 1575, 1575)};
    layout.lines = {QLineF(960, 840, 600, 1200),    QLineF(720, 1200, 1080, 840),   QLineF(840, 1200, 1200, 840),
                    QLineF(4800, 2895, 5160, 2535), QLineF(4905, 2910, 5265, 2550), QLineF(5040, 2880, 5400, 2520)};
    layout.label11 = QRect(240, 1920, 1455, 255);
    layout.label12 = QRect(4320, 1590, 1455, 255);
    layout.centerA = 390;
    layout.centerBX = 4500;
    layout.centerBY = 2200;
    return layout;
}

void setTimeZone(const char *zone)
{
    if (zone)
        qputenv("TZ", zone);
    else
        qunsetenv("TZ");
    tzset();
}

} // namespace

class TestClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void cityTableHoldsTheStoredNamesInOrder();
    void lookupGivesZeroOutsideTheTable_data();
    void lookupGivesZeroOutsideTheTable();
    void filledListHasNoSelection();

    void zoneTimeWrapsAcrossDays_data();
    void zoneTimeWrapsAcrossDays();
    void zoneTimeTakesTheWholeSixteenBitRange();
    void zoneTimeIgnoresDaylightSavingChanges_data();
    void zoneTimeIgnoresDaylightSavingChanges();
    void timeIsFormattedWithLeadingZeros_data();
    void timeIsFormattedWithLeadingZeros();

    void handEnds_data();
    void handEnds();

    void loadPutsPivotsOnTheCentres();
    void tickSkipsOnlyWhileDialAShowsThePresentSecond_data();
    void tickSkipsOnlyWhileDialAShowsThePresentSecond();
};

void TestClock::init()
{
    HourOffsetA = 0;
    HourOffsetB = 0;
}

void TestClock::cleanup()
{
    setTimeZone(nullptr);
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestClock::cityTableHoldsTheStoredNamesInOrder()
{
    // The names are stored in settings files, spelling and blanks included, so none may change.
    const QList<QPair<QByteArray, int>> expected = {
        {"Tokyo", 0},           {"Bangkok", -2},      {"Beijing", -1},      {"Berlin", -8},          {"Cairo", -7},
        {"Chicago ", -15},      {"Dublin", -9},       {"Helsinki", -7},     {"Hong Kong", -1},       {"Honolulu", -19},
        {"Jakarta", -2},        {"Johannesburg", -7}, {"London", -9},       {"Los Angels", -17},     {"Madrid", -8},
        {"Manila", -1},         {"Melbourne", 1},     {"Mexico City", -15}, {"Moscow", -6},          {"Nairobi", -6},
        {"New York", -14},      {"Oslo", -8},         {"Paris", -8},        {"Rio de Janeiro", -12}, {"Rome", -8},
        {"San Francisco", -17}, {"Seoul", 0},         {"Shanghai", -1},     {"Singapore", -1},       {"Sydney", 1},
        {"Taipei", -1},         {"Toronto", -14},     {"Vancouver", -17},   {"Washigton DC", -14},   {"Wellington", 3},
        {"Zurich", -8},
    };
    QCOMPARE(int(CityTable.size()), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(QByteArray(CityTable[std::size_t(i)].name), expected[i].first);
        QCOMPARE(int(zoneOffsetAt(i)), expected[i].second);
    }
}

void TestClock::lookupGivesZeroOutsideTheTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("offset");
    QTest::newRow("nothing selected") << -1 << 0;
    QTest::newRow("first") << 0 << 0;
    QTest::newRow("Honolulu") << 9 << -19;
    QTest::newRow("last") << 35 << -8;
    QTest::newRow("one past the end") << 36 << 0;
    QTest::newRow("far out") << 32767 << 0;
    QTest::newRow("far below") << -32768 << 0;
}

void TestClock::lookupGivesZeroOutsideTheTable()
{
    QFETCH(int, index);
    QFETCH(int, offset);
    QCOMPARE(int(zoneOffsetAt(index)), offset);
}

void TestClock::filledListHasNoSelection()
{
    QComboBox list;
    appendCityNames(&list);
    QCOMPARE(list.count(), 36);
    QCOMPARE(list.currentIndex(), -1);
    QCOMPARE(list.itemText(5), QStringLiteral("Chicago "));
    QCOMPARE(list.itemText(35), QStringLiteral("Zurich"));
}

void TestClock::zoneTimeWrapsAcrossDays_data()
{
    QTest::addColumn<QTime>("clock");
    QTest::addColumn<int>("hours");
    QTest::addColumn<QTime>("shown");
    QTest::addColumn<int>("dayShift");
    QTest::newRow("Honolulu at 10:00") << QTime(10, 0) << -19 << QTime(15, 0) << -1;
    QTest::newRow("Wellington summer at 10:00") << QTime(10, 0) << 4 << QTime(14, 0) << 0;
    QTest::newRow("Wellington summer at 22:30:15") << QTime(22, 30, 15) << 4 << QTime(2, 30, 15) << 1;
    QTest::newRow("London at 22:30:15") << QTime(22, 30, 15) << -9 << QTime(13, 30, 15) << 0;
    QTest::newRow("Tokyo is the clock itself") << QTime(23, 59, 59) << 0 << QTime(23, 59, 59) << 0;
    QTest::newRow("midnight minus one hour") << QTime(0, 0) << -1 << QTime(23, 0) << -1;
}

void TestClock::zoneTimeWrapsAcrossDays()
{
    QFETCH(QTime, clock);
    QFETCH(int, hours);
    QFETCH(QTime, shown);
    QFETCH(int, dayShift);
    const QDate day(2026, 3, 1); // the day after a February 28th
    const QDateTime zone = asDateTime(ZoneTime::shifted(wall(day, clock), qint16(hours)));
    QCOMPARE(zone.time(), shown);
    QCOMPARE(zone.date(), day.addDays(dayShift));
}

void TestClock::zoneTimeTakesTheWholeSixteenBitRange()
{
    const QDate day(2026, 1, 1);
    // 32767 hours are 1365 days and 7 hours; -32768 hours are 1366 days less 16 hours.
    QCOMPARE(asDateTime(ZoneTime::shifted(wall(day, QTime(0, 0)), 32767)),
             QDateTime(day.addDays(1365), QTime(7, 0), QTimeZone::utc()));
    QCOMPARE(asDateTime(ZoneTime::shifted(wall(day, QTime(0, 0)), -32768)),
             QDateTime(day.addDays(-1366), QTime(16, 0), QTimeZone::utc()));
    const ZoneTime::TimeOfDay t = ZoneTime::timeOfDay(ZoneTime::shifted(wall(day, QTime(23, 59, 59)), -32768));
    QCOMPARE(ZoneTime::format(t), QStringLiteral("15:59:59"));
}

void TestClock::zoneTimeIgnoresDaylightSavingChanges_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("instant");
    QTest::addColumn<QTime>("wallClock");
    QTest::addColumn<int>("hours");
    QTest::addColumn<QTime>("shown");
    const auto utc = [](int month, int day, int hour, int minute, int second) {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute, second), QTimeZone::utc());
    };
    // New York springs forward at 02:00 on 8 March and falls back at 02:00 on 1 November 2026.
    QTest::newRow("New York, last second of winter time")
        << QByteArray("America/New_York") << utc(3, 8, 6, 59, 59) << QTime(1, 59, 59) << 14 << QTime(15, 59, 59);
    QTest::newRow("New York, first second of summer time")
        << QByteArray("America/New_York") << utc(3, 8, 7, 0, 0) << QTime(3, 0, 0) << 14 << QTime(17, 0, 0);
    QTest::newRow("New York, last second of summer time")
        << QByteArray("America/New_York") << utc(11, 1, 5, 59, 59) << QTime(1, 59, 59) << 14 << QTime(15, 59, 59);
    QTest::newRow("New York, the repeated hour")
        << QByteArray("America/New_York") << utc(11, 1, 6, 0, 0) << QTime(1, 0, 0) << 14 << QTime(15, 0, 0);
    // London changes at 01:00 UTC on 29 March and 25 October 2026.
    QTest::newRow("London, into summer time")
        << QByteArray("Europe/London") << utc(3, 29, 1, 0, 0) << QTime(2, 0, 0) << 9 << QTime(11, 0, 0);
    QTest::newRow("London, out of summer time")
        << QByteArray("Europe/London") << utc(10, 25, 1, 0, 0) << QTime(1, 0, 0) << 9 << QTime(10, 0, 0);
    QTest::newRow("London, an hour back across the change")
        << QByteArray("Europe/London") << utc(3, 29, 1, 30, 0) << QTime(2, 30, 0) << -1 << QTime(1, 30, 0);
}

void TestClock::zoneTimeIgnoresDaylightSavingChanges()
{
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, instant);
    QFETCH(QTime, wallClock);
    QFETCH(int, hours);
    QFETCH(QTime, shown);
    setTimeZone(zone.constData());
    const QDateTime local = instant.toLocalTime();
    if (local.time() != wallClock)
        QSKIP("the time-zone data for this zone is not installed");
    const ZoneTime::TimeOfDay t = ZoneTime::timeOfDay(ZoneTime::shifted(ZoneTime::fromReading(local), qint16(hours)));
    QCOMPARE(QTime(t.hour, t.minute, t.second), shown);
}

void TestClock::timeIsFormattedWithLeadingZeros_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("morning") << QTime(9, 5, 3) << QStringLiteral("09:05:03");
    QTest::newRow("midnight") << QTime(0, 0, 0) << QStringLiteral("00:00:00");
    QTest::newRow("afternoon, no AM/PM") << QTime(15, 0, 0) << QStringLiteral("15:00:00");
    QTest::newRow("last second") << QTime(23, 59, 59) << QStringLiteral("23:59:59");
}

void TestClock::timeIsFormattedWithLeadingZeros()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(ZoneTime::format({time.hour(), time.minute(), time.second()}), text);
}

void TestClock::handEnds_data()
{
    QTest::addColumn<int>("pixelTwips");
    QTest::addColumn<QPointF>("centre");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QPointF>("second");
    QTest::addColumn<QPointF>("minute");
    QTest::addColumn<QPointF>("hour");
    const QPointF a15(915, 915);
    QTest::newRow("00:00:00") << 15 << a15 << QTime(0, 0, 0) << QPointF(915, 390) << QPointF(915, 450)
                              << QPointF(915, 570);
    QTest::newRow("03:00:00") << 15 << a15 << QTime(3, 0, 0) << QPointF(915, 390) << QPointF(915, 450)
                              << QPointF(1260, 915);
    QTest::newRow("15:00:00") << 15 << a15 << QTime(15, 0, 0) << QPointF(915, 390) << QPointF(915, 450)
                              << QPointF(1260, 915);
    QTest::newRow("09:30:45") << 15 << a15 << QTime(9, 30, 45) << QPointF(390, 915) << QPointF(915, 1380)
                              << QPointF(580.73, 829.65);
    QTest::newRow("12:59:30") << 15 << a15 << QTime(12, 59, 30) << QPointF(915, 1440) << QPointF(866.39, 452.55)
                              << QPointF(1077.87, 610.87);
    QTest::newRow("06:15:15") << 15 << a15 << QTime(6, 15, 15) << QPointF(1440, 915) << QPointF(1380, 915)
                              << QPointF(871.99, 1257.31);
    QTest::newRow("dial B, 09:30:45") << 15 << QPointF(5025, 2725) << QTime(9, 30, 45) << QPointF(4500, 2725)
                                      << QPointF(5025, 3190) << QPointF(4690.73, 2639.65);
    QTest::newRow("120 dpi, 00:00:00") << 12 << QPointF(810, 810) << QTime(0, 0, 0) << QPointF(810, 390)
                                       << QPointF(810, 438) << QPointF(810, 534);
    QTest::newRow("120 dpi, 03:45:15") << 12 << QPointF(810, 810) << QTime(3, 45, 15) << QPointF(1230, 810)
                                       << QPointF(438, 810) << QPointF(1066.82, 911.09);
}

void TestClock::handEnds()
{
    QFETCH(int, pixelTwips);
    QFETCH(QPointF, centre);
    QFETCH(QTime, time);
    QFETCH(QPointF, second);
    QFETCH(QPointF, minute);
    QFETCH(QPointF, hour);
    const HandGeometry::Hands ends =
        HandGeometry::hands({float(centre.x()), float(centre.y())}, pixelTwips, float(35 * pixelTwips),
                            {time.hour(), time.minute(), time.second()});
    const auto check = [](const HandGeometry::Point &got, const QPointF &want) {
        return qAbs(got.x - want.x()) < 0.005 && qAbs(got.y - want.y()) < 0.005;
    };
    const auto show = [](const HandGeometry::Point &p) {
        return QStringLiteral("(%1, %2)").arg(p.x).arg(p.y);
    };
    QVERIFY2(check(ends.second, second), qPrintable(show(ends.second)));
    QVERIFY2(check(ends.minute, minute), qPrintable(show(ends.minute)));
    QVERIFY2(check(ends.hour, hour), qPrintable(show(ends.hour)));
}

void TestClock::loadPutsPivotsOnTheCentres()
{
    QWidget surface;
    DialPair dials(&surface, mainWindowDials(), 15);
    COMPARE_TWIPS(dials.line(1)->start(), QPointF(960, 840)); // as designed until the window loads
    dials.load(12);
    for (int n = 1; n <= 3; ++n)
        COMPARE_TWIPS(dials.line(n)->start(), QPointF(810, 810));
    for (int n = 4; n <= 6; ++n)
        COMPARE_TWIPS(dials.line(n)->start(), QPointF(4920, 2620));
    COMPARE_TWIPS(dials.line(4)->end(), QPointF(5160, 2535)); // free ends wait for the first tick
}

void TestClock::tickSkipsOnlyWhileDialAShowsThePresentSecond_data()
{
    QTest::addColumn<int>("offsetA");
    QTest::addColumn<QString>("dialBAfterSecondTick");
    // At offset 0 dial A's time equals the present until the next second: the second tick does nothing.
    QTest::newRow("dial A at the computer's time") << 0 << QStringLiteral("10:00:00");
    QTest::newRow("dial A shifted") << -9 << QStringLiteral("13:00:00");
}

void TestClock::tickSkipsOnlyWhileDialAShowsThePresentSecond()
{
    QFETCH(int, offsetA);
    QFETCH(QString, dialBAfterSecondTick);
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
    QWidget surface;
    DialPair dials(&surface, mainWindowDials(), 15);
    dials.load(15);
    HourOffsetA = qint16(offsetA);
    dials.tick();
    QCOMPARE(dials.label12()->text(), QStringLiteral("10:00:00"));
    HourOffsetB = 3;
    dials.tick();
    QCOMPARE(dials.label12()->text(), dialBAfterSecondTick);
    clock.advance(1);
    dials.tick();
    QCOMPARE(dials.label12()->text(), QStringLiteral("13:00:01"));
    COMPARE_TWIPS(dials.line(4)->end(),
                  QPointF(5025 + 525 * std::cos(-84 * M_PI / 180), 2725 + 525 * std::sin(-84 * M_PI / 180)));
}

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
