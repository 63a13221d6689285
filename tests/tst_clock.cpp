#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "clock/handline.h"
#include "testsupport.h"

#include <QLabel>
#include <QTimeZone>

#include <algorithm>
#include <ctime>

using namespace Qt::StringLiterals;

class TestClock : public QObject
{
    Q_OBJECT

    // Resident memory of this process in KiB, or 0 where the system does not tell, nor under AddressSanitizer,
    // which holds freed memory back for a while (LeakSanitizer looks for leaks in that build instead).
    static qint64 residentKiB()
    {
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer) // Qt makes __has_feature 0 where unknown
        return 0;
#endif
        QFile status(u"/proc/self/status"_s);
        if (!status.open(QIODevice::ReadOnly))
            return 0;
        // "VmRSS:    12345 kB"
        return QString::fromLatin1(status.readAll()).section(u"VmRSS:"_s, 1).section(u'k', 0, 0).trimmed().toLongLong();
    }

private Q_SLOTS:
    void cityTable()
    {
        QComboBox list;
        appendCityNames(&list);
        QStringList names;
        int offsets = 0;
        for (int i = 0; i < list.count(); ++i) {
            names << list.itemText(i);
            offsets += zoneOffsetAt(i);
        }
        // Tokyo first, the rest in alphabetical order, spelled as settings files store them. A freshly filled list
        // selects nothing; every city's offset counts; nothing selected, or past the end, has none.
        QVERIFY(std::is_sorted(names.begin() + 1, names.end()));
        QCOMPARE(join(list.currentIndex(), names.size(), names.first(), names.indexOf(u"Chicago "_s),
                      names.indexOf(u"Washigton DC"_s), offsets, zoneOffsetAt(names.indexOf(u"Honolulu"_s)),
                      zoneOffsetAt(-1), zoneOffsetAt(36)),
                 u"-1 36 Tokyo 5 33 -258 -19 0 0"_s);
    }

    void zoneTimeAndHands_data()
    {
        QTest::addColumn<QTime>("reading");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("shown"); // the digits, then the ends of the second, minute and hour hands
        // Honolulu the day before; the next day, with the hour hand 1/120 radian further each minute; the offsets'
        // limits.
        QTest::newRow("at twelve") << QTime(12, 0, 0) << 12 << "00:00:00 915.00 390.00 915.00 450.00 915.00 570.00";
        QTest::newRow("day before") << QTime(4, 30, 45) << -19 << "09:30:45 390.00 915.00 915.00 1380.00 580.73 829.65";
        QTest::newRow("next day") << QTime(22, 59, 30) << 14 << "12:59:30 915.00 1440.00 866.39 452.55 1077.87 610.87";
        QTest::newRow("most") << QTime(0, 0, 0) << 32767 << "07:00:00 915.00 390.00 915.00 450.00 742.50 1213.78";
        QTest::newRow("least") << QTime(23, 59, 59) << -32768 << "15:59:59 860.12 392.88 866.39 452.55 1219.13 1077.87";
    }
    void zoneTimeAndHands()
    {
        QFETCH(QTime, reading);
        QFETCH(int, hours);
        const ZoneTime::TimeOfDay time = ZoneTime::timeOfDay(
            ZoneTime::shifted(ZoneTime::fromReading(QDateTime(QDate(2026, 3, 1), reading)), qint16(hours)));
        const HandGeometry::Hands hands = HandGeometry::hands({915, 915}, 15, 525, time);
        QTEST(join(ZoneTime::format(time), twips({hands.second.x, hands.second.y}),
                   twips({hands.minute.x, hands.minute.y}), twips({hands.hour.x, hands.hour.y})),
              "shown");
    }

    void tickFollowsTheModelAndSkipsWhileDialAShowsThePresentSecond()
    {
        FixedClock clock;
        QWidget surface;
        ClockModel model;
        // No shapes, hands from and to the corner, dial A's base at 390 and dial B's at (4500, 2200).
        DialPair dials(&surface, {{}, {}, {}, {}, {}, {}, {}, {}, 390, 4500, 2200}, 15, model);
        dials.placePivots(15);
        // The pivots on the dials' centres; the free ends wait for the first tick.
        QCOMPARE(join(twips(child<HandLine>(&dials, "Line1")->start()),
                      twips(child<HandLine>(&dials, "Line4")->start()), twips(child<HandLine>(&dials, "Line4")->end())),
                 u"915.00 915.00 5025.00 2725.00 0.00 0.00"_s);
        // Four ticks with new offsets, the clock a second on before the third. While dial A's time equals the present
        // second the tick has nothing to do, not even for dial B; otherwise each tick shows the new offsets.
        QStringList shown;
        const int steps[][3] = {{0, 0, 0}, {0, 3, 0}, {-9, 2, 1}, {-9, 3, 0}}; // offset A, offset B, seconds on
        for (const auto &step : steps) {
            model.setOffsets(qint16(step[0]), qint16(step[1]));
            clock.advance(step[2]);
            dials.tick();
            shown << child<QLabel>(&surface, "Label11")->text() << child<QLabel>(&surface, "Label12")->text();
        }
        QCOMPARE(shown.join(u' '), u"10:00:00 10:00:00 10:00:00 10:00:00 01:00:01 12:00:01 01:00:01 13:00:01"_s);
        QCOMPARE(join(twips(child<HandLine>(&dials, "Line4")->end()), twips(child<HandLine>(&dials, "Line6")->end())),
                 u"5079.88 2202.88 5197.50 2426.22"_s);
    }

    void aYearOfTicksInATimeZoneWithSummerTime()
    {
        // Steps of 97 seconds cross the changes into and out of summer time, months and the year's end:
        // every tick shows the wall clock shifted, and the process does not grow.
        qputenv("TZ", "Europe/London");
        tzset();
        const QDateTime first(QDate(2026, 1, 1), QTime(0, 0, 0), QTimeZone::utc());
        if (first.addMonths(6).toLocalTime().offsetFromUtc() != 3600)
            QSKIP("TZ does not name London's zone here: no zone data, or a C library without IANA names");
        FixedClock clock;
        QWidget surface;
        ClockModel model;
        model.setOffsetB(-13);
        DialPair dials(&surface, DialLayout(), 15, model);
        dials.placePivots(15);
        surface.show();
        const QLabel *timeB = child<QLabel>(&surface, "Label12");
        qint64 before = 0;
        for (qint64 i = 0, ticks = 366 * 86400 / 97; i < ticks; ++i) {
            const QDateTime reading = first.addSecs(i * 97).toLocalTime();
            clock.set(reading);
            dials.tick();
            if (timeB->text() != reading.time().addSecs(-13 * 3600).toString(u"hh:mm:ss"_s))
                QFAIL(qPrintable(timeB->text() + u" at "_s + reading.toString(Qt::ISODate)));
            if (i % 512 == 0)
                QCoreApplication::processEvents(); // paint now and then, as the running window does
            if (i == ticks / 10)
                before = residentKiB();
        }
        QVERIFY2(residentKiB() - before < 1024, "the process grew over the year");
        qunsetenv("TZ");
        tzset();
    }

    void timerComesJustAfterEachHalfSecond_data()
    {
        // Milliseconds after 10:00:00: the clock when the dials start, and when Timer1 fires, set or late as it may be.
        QTest::addColumn<int>("atStart");
        QTest::addColumn<int>("atTimeout");
        QTest::addColumn<QString>("shown"); // the first delay, the next, and dial A's time
        QTest::newRow("on the second") << 0 << 503 << "503 500 10:00:00";
        QTest::newRow("woken a millisecond late") << 3 << 504 << "500 499 10:00:00";
        QTest::newRow("on the half second") << 500 << 1003 << "503 500 10:00:01";
        // A clock set while Timer1 waits, or a wake long after it was due, puts the next tick back on the half second.
        QTest::newRow("clock set back") << 1003 << 250 << "500 253 10:00:00";
        QTest::newRow("fired early by the clock") << 503 << 999 << "500 4 10:00:00";
        QTest::newRow("late wake") << 503 << 3611 << "500 392 10:00:03";
    }
    void timerComesJustAfterEachHalfSecond()
    {
        QFETCH(int, atStart);
        QFETCH(int, atTimeout);
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0)).addMSecs(atStart));
        QWidget surface;
        ClockModel model;
        DialPair dials(&surface, DialLayout(), 15, model);
        auto *timer = child<QTimer>(&dials, "Timer1");
        const int firstDelay = timer->interval();
        clock.set(QDateTime(QDate(2026, 12, 6), QTime(10, 0)).addMSecs(atTimeout));
        // A coarse timer may fire tens of milliseconds off its time; the one-shot Timer1 is armed again each time.
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout") && timer->isActive() &&
                timer->timerType() == Qt::PreciseTimer);
        QTEST(join(firstDelay, timer->interval(), child<QLabel>(&surface, "Label11")->text()), "shown");
    }
};

QTEST_MAIN(TestClock)
#include "tst_clock.moc"
