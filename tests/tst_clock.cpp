#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "clock/handgeometry.h"
#include "clock/handline.h"
#include "clock/zonetime.h"
#include "testsupport.h"

#include <QLabel>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <ctime>

namespace {

// Resident memory of this process in KiB, or 0 where the system does not tell, nor under AddressSanitizer,
// which holds freed memory back for a while (LeakSanitizer looks for leaks in that build instead).
qint64 residentKiB()
{
#if defined(__SANITIZE_ADDRESS__)
    return 0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return 0;
#endif
#endif
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmRSS:");
    return at < 0 ? 0 : text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().split(' ').first().toLongLong();
}

} // namespace

class TestClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cityTable()
    {
        QComboBox list;
        appendCityNames(&list);
        QCOMPARE(list.currentIndex(), -1); // a freshly filled list selects nothing
        QStringList names;
        int offsets = 0;
        for (int i = 0; i < list.count(); ++i) {
            names << list.itemText(i);
            offsets += zoneOffsetAt(i);
        }
        // Tokyo first, the rest in alphabetical order, spelled as settings files store them.
        QCOMPARE(names.size(), 36);
        QCOMPARE(names.first(), QStringLiteral("Tokyo"));
        QVERIFY(std::is_sorted(names.begin() + 1, names.end()));
        QVERIFY(names.contains(QStringLiteral("Chicago ")) && names.contains(QStringLiteral("Washigton DC")));
        QCOMPARE(offsets, -258); // every city's offset counts
        QCOMPARE(zoneOffsetAt(names.indexOf(QStringLiteral("Honolulu"))), -19);
        QCOMPARE(zoneOffsetAt(names.indexOf(QStringLiteral("Wellington"))), 3);
        QCOMPARE(zoneOffsetAt(-1) + zoneOffsetAt(36), 0); // nothing selected, or past the end
    }

    void zoneTimeAndHands_data()
    {
        QTest::addColumn<QTime>("reading");
        QTest::addColumn<int>("hours");
        QTest::addColumn<QString>("shown"); // the digits, then the ends of the second, minute and hour hands
        QTest::newRow("all at twelve") << QTime(12, 0, 0) << 12 << "00:00:00 915.00 390.00 915.00 450.00 915.00 570.00";
        QTest::newRow("Honolulu, the day before")
            << QTime(4, 30, 45) << -19 << "09:30:45 390.00 915.00 915.00 1380.00 580.73 829.65";
        QTest::newRow("the next day, 1/120 radian a minute")
            << QTime(22, 59, 30) << 14 << "12:59:30 915.00 1440.00 866.39 452.55 1077.87 610.87";
        QTest::newRow("largest offset") << QTime(0, 0, 0) << 32767
                                        << "07:00:00 915.00 390.00 915.00 450.00 742.50 1213.78";
        QTest::newRow("smallest offset") << QTime(23, 59, 59) << -32768
                                         << "15:59:59 860.12 392.88 866.39 452.55 1219.13 1077.87";
    }
    void zoneTimeAndHands()
    {
        QFETCH(QTime, reading);
        QFETCH(int, hours);
        const auto zone =
            ZoneTime::shifted(ZoneTime::fromReading(QDateTime(QDate(2026, 3, 1), reading)), qint16(hours));
        const ZoneTime::TimeOfDay time = ZoneTime::timeOfDay(zone);
        const auto dials = HandGeometry::Dials::forWindow(15, 390, 4500, 2200);
        const auto hands = HandGeometry::hands(dials.centreA(), 15, dials.dialOffset, time);
        QTEST(QStringList({ZoneTime::format(time), twips({hands.second.x, hands.second.y}),
                           twips({hands.minute.x, hands.minute.y}), twips({hands.hour.x, hands.hour.y})})
                  .join(u' '),
              "shown");
    }

    void tickFollowsTheModelAndSkipsWhileDialAShowsThePresentSecond_data()
    {
        QTest::addColumn<int>("offsetA");
        QTest::addColumn<QString>("dialBAfterSecondTick");
        // At offset 0 dial A's time equals the present until the next second: the second tick does nothing.
        QTest::newRow("dial A at the computer's time") << 0 << "10:00:00";
        QTest::newRow("dial A shifted") << -9 << "13:00:00";
    }
    void tickFollowsTheModelAndSkipsWhileDialAShowsThePresentSecond()
    {
        QFETCH(int, offsetA);
        FixedClock clock;
        QWidget surface;
        ClockModel model;
        DialLayout layout;
        layout.lines[3] = QLineF(4800, 2895, 5160, 2535);
        layout.baseA = 390;
        layout.baseBX = 4500;
        layout.baseBY = 2200;
        DialPair dials(&surface, layout, 15, model);
        const auto hand = [&dials](int n) {
            return dials.findChild<HandLine *>(QStringLiteral("Line%1").arg(n));
        };
        dials.placePivots(12); // 120 dpi
        QCOMPARE(twips(hand(1)->start()) + u' ' + twips(hand(4)->start()),
                 QStringLiteral("810.00 810.00 4920.00 2620.00"));
        QCOMPARE(twips(hand(4)->end()), QStringLiteral("5160.00 2535.00")); // free ends wait for the first tick
        dials.placePivots(15);

        auto *timeA = child<QLabel>(&surface, "Label11");
        auto *timeB = child<QLabel>(&surface, "Label12");
        model.setOffsetA(qint16(offsetA));
        dials.tick();
        QCOMPARE(timeB->text(), QStringLiteral("10:00:00"));
        model.setOffsetB(3);
        dials.tick();
        QTEST(timeB->text(), "dialBAfterSecondTick");
        clock.advance(1);
        dials.tick();
        QCOMPARE(timeA->text(), QTime(10, 0, 1).addSecs(offsetA * 3600).toString(QStringLiteral("hh:mm:ss")));
        QCOMPARE(timeB->text(), QStringLiteral("13:00:01"));
        QCOMPARE(twips(hand(4)->end()) + u' ' + twips(hand(6)->end()),
                 QStringLiteral("5079.88 2202.88 5197.50 2426.22"));
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
        const qint64 ticks = 366 * 86400 / 97;
        qint64 before = 0;
        for (qint64 i = 0; i < ticks; ++i) {
            const QDateTime reading = first.addSecs(i * 97).toLocalTime();
            clock.set(reading);
            dials.tick();
            const QDateTime wall(reading.date(), reading.time(), QTimeZone::utc());
            if (timeB->text() != wall.addSecs(-13 * 3600).time().toString(QStringLiteral("hh:mm:ss")))
                QFAIL(qPrintable(timeB->text() + QLatin1String(" at ") + reading.toString(Qt::ISODate)));
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
