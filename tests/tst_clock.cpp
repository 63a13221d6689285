#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "clock/handgeometry.h"
#include "clock/zonetime.h"
#include "clocktesting.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

#include <algorithm>

using namespace Qt::StringLiterals;

class TestClock : public QObject
{
    Q_OBJECT

    static QPointF hundredths(const HandGeometry::Point &point)
    {
        return {std::round(point.x * 100.0) / 100, std::round(point.y * 100.0) / 100};
    }

private Q_SLOTS:
    void cityTable()
    {
        QStringList names;
        int offsets = 0;
        for (int i = 0; i < CityCount; ++i) {
            names << cityNameAt(i);
            offsets += zoneOffsetAt(i);
        }
        // Tokyo first, the rest in alphabetical order, spelled as settings files store them.
        QCOMPARE(names.first(), u"Tokyo"_s);
        QVERIFY(std::is_sorted(names.begin() + 1, names.end()));
        QCOMPARE(cityIndex(u"Chicago "_s), 5);
        QCOMPARE(cityIndex(u"Chicago"_s), -1);
        QCOMPARE(cityIndex(u"Washigton DC"_s), 33);
        QCOMPARE(cityIndex(u"Zurich"_s), 35);
        // Every city's offset counts; nothing selected, or past the end, is no city and no offset.
        QCOMPARE(offsets, -258);
        QCOMPARE(zoneOffsetAt(cityIndex(u"Honolulu"_s)), qint16(-19));
        QCOMPARE(zoneOffsetAt(-1), qint16(0));
        QCOMPARE(zoneOffsetAt(CityCount), qint16(0));
        QCOMPARE(cityNameAt(-1), QString());
        QCOMPARE(cityNameAt(CityCount), QString());
    }

    void modelKeepsTheRulesOfCitiesAndSummerTime()
    {
        ClockModel model;
        QSignalSpy changes(&model, &ClockModel::changed);
        const int sydney = cityIndex(u"Sydney"_s);
        model.chooseCity(Dial::B, sydney);
        QCOMPARE(model.dial(Dial::B), (DialState{u"Sydney"_s, false, 1}));
        // Summer time adds an hour to the city's offset, however often the box is ticked.
        model.setSummerTime(Dial::B, true);
        model.setSummerTime(Dial::B, true);
        QCOMPARE(model.dial(Dial::B), (DialState{u"Sydney"_s, true, 2}));
        model.setSummerTime(Dial::B, false);
        QCOMPARE(model.dial(Dial::B).offset, qint16(1));
        // A city chosen again, even the same one, starts without summer time.
        model.setSummerTime(Dial::B, true);
        model.chooseCity(Dial::B, sydney);
        QCOMPARE(model.dial(Dial::B), (DialState{u"Sydney"_s, false, 1}));
        QCOMPARE(model.dial(Dial::A), DialState());
        QCOMPARE(changes.count(), 5); // the repeated tick changed nothing, and said nothing

        // A caption from a settings file names no city of the table: its summer time is an hour on Japan time.
        model.setState({{u"Atlantis"_s, false, 5}, {}});
        model.setSummerTime(Dial::A, true);
        QCOMPARE(model.dial(Dial::A), (DialState{u"Atlantis"_s, true, 1}));
        model.chooseCity(Dial::A, -1);
        QCOMPARE(model.dial(Dial::A), DialState());
    }

    void zoneTimeAndHands_data()
    {
        QTest::addColumn<QTime>("japan"); // Japan's clock
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QPointF>("second"); // the hands' free ends around (915, 915), to two decimals
        QTest::addColumn<QPointF>("minute");
        QTest::addColumn<QPointF>("hour");
        QTest::newRow("at twelve") << QTime(12, 0, 0) << 12 << "00:00:00" << QPointF(915, 390) << QPointF(915, 450)
                                   << QPointF(915, 570);
        // Honolulu the day before; the next day, with the hour hand 1/120 radian further each minute.
        QTest::newRow("day before") << QTime(4, 30, 45) << -19 << "09:30:45" << QPointF(390, 915) << QPointF(915, 1380)
                                    << QPointF(580.73, 829.65);
        QTest::newRow("next day") << QTime(22, 59, 30) << 14 << "12:59:30" << QPointF(915, 1440)
                                  << QPointF(866.39, 452.55) << QPointF(1077.87, 610.87);
        QTest::newRow("quarter past six") << QTime(6, 15, 15) << 0 << "06:15:15" << QPointF(1440, 915)
                                          << QPointF(1380, 915) << QPointF(871.99, 1257.31);
        // The limits of a stored offset: whole days and more.
        QTest::newRow("most") << QTime(0, 0, 0) << 32767 << "07:00:00" << QPointF(915, 390) << QPointF(915, 450)
                              << QPointF(742.5, 1213.78);
        QTest::newRow("least") << QTime(23, 59, 59) << -32768 << "15:59:59" << QPointF(860.12, 392.88)
                               << QPointF(866.39, 452.55) << QPointF(1219.13, 1077.87);
    }
    void zoneTimeAndHands()
    {
        QFETCH(QTime, japan);
        QFETCH(int, hours);
        const ZoneTime::WallSeconds shown =
            ZoneTime::shifted(ZoneTime::japanTime(japanTime(QDate(2026, 3, 1), japan)), qint16(hours));
        const ZoneTime::TimeOfDay time = ZoneTime::timeOfDay(shown);
        QTEST(ZoneTime::format(time), "digits");
        const HandGeometry::Hands hands = HandGeometry::hands({915, 915}, 15, 525, time);
        QTEST(hundredths(hands.second), "second");
        QTEST(hundredths(hands.minute), "minute");
        QTEST(hundredths(hands.hour), "hour");
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
