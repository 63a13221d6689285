// A year of the main window's clock, many times faster than real time, in a time zone with
// daylight saving: after every tick the labels and hands must agree with a computation of their
// own, and the process must not grow.

#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "clock/handline.h"
#include "platform/fonts.h"
#include "testsupport.h"

#include <QLabel>
#include <QTimeZone>

#include <cmath>
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

// The dial's time, by Qt's own calendar arithmetic on the wall-clock reading.
QTime expectedTime(const QDateTime &local, int hours)
{
    return QDateTime(local.date(), local.time(), QTimeZone::utc()).addSecs(qint64(hours) * 3600).time();
}

// Where a hand of the given length ends, in double precision.
QPointF expectedEnd(const QPointF &centre, double length, double degrees)
{
    const double radians = degrees * M_PI / 180.0;
    return centre + QPointF(length * std::cos(radians), length * std::sin(radians));
}

bool near(const HandLine *line, const QPointF &want)
{
    return qAbs(line->end().x() - want.x()) < 0.05 && qAbs(line->end().y() - want.y()) < 0.05;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void aYearOfTicks();
};

void TestSoak::initTestCase()
{
    Fonts::install();
    qputenv("TZ", "Europe/London");
    tzset();
}

void TestSoak::cleanupTestCase()
{
    qunsetenv("TZ");
    tzset();
}

void TestSoak::aYearOfTicks()
{
    const QDateTime first(QDate(2026, 1, 1), QTime(0, 0, 0), QTimeZone::utc());
    if (first.addMonths(6).toLocalTime().offsetFromUtc() != 3600)
        QSKIP("the time-zone data for London is not installed");

    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.copyIn(QStringLiteral(":/icon/ico.ico"), QStringLiteral("ico.ico")));
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), "-9,\"London\",-13,\"New York\",#FALSE#,#TRUE#\r\n"));
    QDateTime reading = first.toLocalTime();
    TimeSource::set([&reading] { return reading; });

    ClockModel clock;
    MainForm mainForm(folder.dir(), clock);
    mainForm.load();
    mainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainForm));
    DialPair &dials = *mainForm.findChild<DialPair *>();
    const auto line = [&mainForm](int n) {
        return mainForm.findChild<HandLine *>(QStringLiteral("Line%1").arg(n));
    };
    const auto findLabel = [&mainForm](const char *name) {
        return mainForm.findChild<QLabel *>(QLatin1String(name));
    };
    const QPointF centreA(915, 915);
    const QPointF centreB(5025, 2725);

    // Steps of 97 seconds visit every second, minute and hour of the day many times over, and
    // cross the changes into and out of summer time, months and the year's end.
    const qint64 step = 97;
    const qint64 ticks = (366LL * 86400) / step;
    qint64 before = 0;
    for (qint64 i = 0; i < ticks; ++i) {
        reading = first.addSecs(i * step).toLocalTime();
        dials.tick();
        for (const auto &[hours, label, firstLine, centre] :
             {std::tuple{-9, findLabel("Label11"), 1, centreA}, std::tuple{-13, findLabel("Label12"), 4, centreB}}) {
            const QTime t = expectedTime(reading, hours);
            if (label->text() != t.toString(QStringLiteral("hh:mm:ss")))
                QFAIL(qPrintable(QStringLiteral("%1 shows %2 at %3")
                                     .arg(label->objectName(), label->text(), reading.toString(Qt::ISODate))));
            const bool handsAgree = near(line(firstLine), expectedEnd(centre, 525, (t.second() - 15) * 6.0)) &&
                near(line(firstLine + 1), expectedEnd(centre, 465, (t.minute() - 15) * 6.0)) &&
                near(line(firstLine + 2),
                     expectedEnd(centre, 345, (t.hour() % 12 - 3) * 30.0 + t.minute() / 120.0 * 180.0 / M_PI));
            if (!handsAgree)
                QFAIL(qPrintable(QStringLiteral("hands of %1 wrong at %2").arg(label->objectName(), t.toString())));
        }
        if (i % 512 == 0)
            QCoreApplication::processEvents(); // paint now and then, as the running window does
        if (i == ticks / 10)
            before = residentKiB();
    }
    QCoreApplication::processEvents();
    const qint64 after = residentKiB();
    // After a tenth of the year the process has settled; the rest of the year must not add to it.
    QVERIFY2(after - before < 1024, qPrintable(QStringLiteral("grew from %1 KiB to %2 KiB").arg(before).arg(after)));
    TimeSource::reset();
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
