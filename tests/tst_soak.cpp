// A year of the main window's clock, many times faster than real time, in a time zone with
// daylight saving: every tick must show the wall clock's time shifted by the dial's hours, and the
// process must not grow.

#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "testsupport.h"

#include <QLabel>
#include <QTimeZone>

#include <ctime>

namespace {

// Resident memory of this process in KiB, or 0 where the system does not tell.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

} // namespace

class TestSoak : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void aYearOfTicks()
    {
        qputenv("TZ", "Europe/London");
        tzset();
        const QDateTime first(QDate(2026, 1, 1), QTime(0, 0, 0), QTimeZone::utc());
        if (first.addMonths(6).toLocalTime().offsetFromUtc() != 3600)
            QSKIP("the time-zone data for London is not installed");

        QVERIFY(
            m_folder->write(QStringLiteral("setTime.properties"), "-9,\"London\",-13,\"New York\",#FALSE#,#TRUE#\r\n"));
        FixedClock clock(first.toLocalTime());
        ClockModel model;
        MainForm mainForm(m_folder->dir(), model);
        mainForm.load();
        mainForm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainForm));
        DialPair *dials = mainForm.findChild<DialPair *>();
        const QLabel *timeB = mainForm.findChild<QLabel *>(QStringLiteral("Label12"));

        // Steps of 97 seconds cross the changes into and out of summer time, months and the year's end.
        const qint64 step = 97;
        const qint64 ticks = (366LL * 86400) / step;
        qint64 before = 0;
        for (qint64 i = 0; i < ticks; ++i) {
            const QDateTime reading = first.addSecs(i * step).toLocalTime();
            clock.set(reading);
            dials->tick();
            const QDateTime wall(reading.date(), reading.time(), QTimeZone::utc());
            if (timeB->text() != wall.addSecs(-13 * 3600).time().toString(QStringLiteral("hh:mm:ss")))
                QFAIL(qPrintable(QStringLiteral("%1 at %2").arg(timeB->text(), reading.toString(Qt::ISODate))));
            if (i % 512 == 0)
                QCoreApplication::processEvents(); // paint now and then, as the running window does
            if (i == ticks / 10)
                before = residentKiB();
        }
        QCoreApplication::processEvents();
        const qint64 after = residentKiB();
        // After a tenth of the year the process has settled; the rest of the year must not add to it.
        QVERIFY2(after - before < 1024,
                 qPrintable(QStringLiteral("grew from %1 KiB to %2 KiB").arg(before).arg(after)));
        qunsetenv("TZ");
        tzset();
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
