#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "dials/diallabel.h"
#include "dials/dialpainting.h"
#include "dials/dialpair.h"
#include "dials/dialtexts.h"
#include "dials/handline.h"
#include "testsupport.h"

#include <QLabel>
#include <QPainter>

#include <ctime>

using namespace Qt::StringLiterals;

class TestDials : public QObject
{
    Q_OBJECT

    // Dial A's base at 390 and dial B's at (4500, 2200), as on the main window; no outlines, hands from the corner.
    static DialLayout mainWindowBases()
    {
        DialLayout layout;
        layout.baseA = 390;
        layout.baseBX = 4500;
        layout.baseBY = 2200;
        return layout;
    }

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
    void initTestCase()
    {
        Fonts::install();
    }

    void ticksShowTheModelAndChangesShowAtOnce()
    {
        FixedClock clock;
        QWidget surface;
        ClockModel model;
        DialPair dials(&surface, mainWindowBases(), 15, model);
        FIND_CHILD(secondB, HandLine, &dials, "Line4");
        FIND_CHILD(timeA, QLabel, &surface, "Label11");
        FIND_CHILD(timeB, QLabel, &surface, "Label12");
        // The free ends and the digits wait for the first tick, changes too.
        model.setState({{u"Tokyo"_s, false, 0}, {u"Seoul"_s, false, 3}});
        QCOMPARE(secondB->end(), QPointF(0, 0));
        QCOMPARE(timeB->text(), QString());

        dials.tick();
        QCOMPARE(timeA->text(), u"10:00:00"_s);
        QCOMPARE(timeB->text(), u"13:00:00"_s);
        // Once the dials show a time, a change of the model shows at once, without waiting for a tick.
        model.chooseCity(Dial::B, cityIndex(u"Sydney"_s));
        QCOMPARE(timeB->text(), u"11:00:00"_s);
        clock.advance(1);
        dials.tick();
        QCOMPARE(timeA->text(), u"10:00:01"_s);
        QCOMPARE(timeB->text(), u"11:00:01"_s);
        model.setState({{u"London"_s, false, -9}, {u"New York"_s, true, -13}});
        QCOMPARE(timeA->text(), u"01:00:01"_s);
        QCOMPARE(timeB->text(), u"21:00:01"_s);
        QCOMPARE(toHundredths(secondB->end()), QPointF(5079.88, 2202.88)); // around dial B's centre (5025, 2725)
    }

    void aMinuteOfHandsPaintsWhatStrokesPaint()
    {
        // Hands copied from their pictures, within a repainted part of several rectangles, are the pixels that
        // stroking them gives.
        FixedClock clock;
        QWidget surface;
        ClockModel model;
        model.setState({{u"Tokyo"_s, false, 0}, {u"Kabul"_s, false, -5}});
        DialPair dials(&surface, mainWindowBases(), 15, model);
        const DialPainting painting(15);
        QImage blank(400, 250, QImage::Format_RGB32);
        blank.fill(Qt::yellow);
        for (int second = 0; second < 62; ++second) {
            dials.tick();
            QImage painted = blank;
            QImage stroked = blank;
            // A hole in dial A.
            const QRegion dirty = QRegion(blank.rect()) - QRegion(20, 20, 30, 30);
            QPainter painter(&painted);
            painter.setClipRegion(dirty);
            dials.paint(painter, dirty);
            QPainter strokes(&stroked);
            strokes.setClipRegion(dirty);
            for (const HandLine *hand : dials.findChildren<HandLine *>())
                painting.paintLine(strokes, hand->start(), hand->end(), surface.palette().color(QPalette::Text));
            QCOMPARE(painted, stroked);
            clock.advance(1);
        }
    }

    void comparisonsNameTheDateWhereItDiffers()
    {
        // A dial against the computer's 10:00 on 6 December: the same day, the day before or after, or further off.
        const ZoneTime::WallSeconds computer = ZoneTime::japanTime(japanTime(QDate(2026, 12, 6), QTime(10, 0)));
        const QList<std::pair<qint16, QString>> expected{
            {0, u"このコンピューターと同じ時刻"_s},
            {-17, u"12月5日 (前日), このコンピューターより 17 時間遅れ"_s},
            {14, u"12月7日 (翌日), このコンピューターより 14 時間進み"_s},
            {-35, u"12月4日 (2 日前), このコンピューターより 35 時間遅れ"_s},
            {38, u"12月8日 (2 日後), このコンピューターより 38 時間進み"_s}};
        for (const auto &[hours, comparison] : expected)
            QCOMPARE(DialTexts::comparison(ZoneTime::shifted(computer, hours), computer), comparison);
    }

    void aYearOfTicksInATimeZoneWithSummerTime()
    {
        // Steps of 97 seconds cross New York's changes into and out of summer time, months and the year's end, on
        // a computer in New York whose clock reads local time: dial A on Tokyo shows UTC + 9, dial B on New York
        // without summer time UTC - 5 all year; and the process does not grow.
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "America/New_York");
        tzset();
        const QDateTime first(QDate(2026, 1, 1), QTime(0, 0, 0), QTimeZone::utc());
        if (first.addMonths(6).toLocalTime().offsetFromUtc() != -4 * 3600)
            QSKIP("TZ does not name New York's zone here: no zone data, or a C library without IANA names");
        FixedClock clock;
        QWidget surface;
        ClockModel model;
        model.setState({{u"Tokyo"_s, false, 0}, {u"New York"_s, false, -14}});
        DialPair dials(&surface, DialLayout(), 15, model);
        surface.show();
        FIND_CHILD(timeA, QLabel, &surface, "Label11");
        FIND_CHILD(timeB, QLabel, &surface, "Label12");
        qint64 before = 0;
        for (qint64 i = 0, ticks = 366 * 86400 / 97; i < ticks; ++i) {
            const QDateTime moment = first.addSecs(i * 97);
            clock.set(moment.toLocalTime());
            dials.tick();
            if (timeA->text() != moment.addSecs(9 * 3600).time().toString(u"hh:mm:ss"_s) ||
                timeB->text() != moment.addSecs(-5 * 3600).time().toString(u"hh:mm:ss"_s))
                QFAIL(qPrintable(timeA->text() + u' ' + timeB->text() + u" at "_s + moment.toString(Qt::ISODate)));
            if (i % 512 == 0)
                QCoreApplication::processEvents(); // paint now and then, as the running window does
            if (i == ticks / 10)
                before = residentKiB();
        }
        QVERIFY2(residentKiB() - before < 1024, "the process grew over the year");
        qputenv("TZ", zone);
        tzset();
    }

    void timerComesJustAfterEachSecond_data()
    {
        // Milliseconds after 10:00:00: the clock when the dials start, and when Timer1 fires, set or late as it may be.
        QTest::addColumn<int>("atStart");
        QTest::addColumn<int>("atTimeout");
        QTest::addColumn<int>("firstDelay"); // the first tick comes on the half second, the next ones on the second
        QTest::addColumn<int>("nextDelay");
        QTest::addColumn<QString>("shown"); // dial A's time after the timeout
        QTest::newRow("on the second") << 0 << 503 << 503 << 500 << "10:00:00";
        QTest::newRow("on the half second") << 500 << 1003 << 503 << 1000 << "10:00:01";
        QTest::newRow("woken a millisecond late") << 503 << 1004 << 500 << 999 << "10:00:01";
        // A clock set while Timer1 waits, or a wake long after it was due, puts the next tick back on the second.
        QTest::newRow("clock set back") << 1503 << 250 << 500 << 753 << "10:00:00";
        QTest::newRow("fired early by the clock") << 503 << 999 << 500 << 4 << "10:00:00";
        QTest::newRow("late wake") << 503 << 3611 << 500 << 392 << "10:00:03";
    }
    void timerComesJustAfterEachSecond()
    {
        QFETCH(int, atStart);
        QFETCH(int, atTimeout);
        const QDateTime ten = japanTime(QDate(2026, 12, 6), QTime(10, 0));
        FixedClock clock(ten.addMSecs(atStart));
        QWidget surface;
        ClockModel model;
        DialPair dials(&surface, DialLayout(), 15, model);
        FIND_CHILD(timer, QTimer, &dials, "Timer1");
        FIND_CHILD(timeA, QLabel, &surface, "Label11");
        QTEST(timer->interval(), "firstDelay");
        clock.set(ten.addMSecs(atTimeout));
        // A coarse timer may fire tens of milliseconds off its time; the one-shot Timer1 is armed again each time.
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QTEST(timer->interval(), "nextDelay");
        QTEST(timeA->text(), "shown");
    }

    void labelsPaintWhatQLabelPaints_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("next"); // shown after a change of font and of palette
        QTest::addColumn<int>("alignment");
        QTest::addColumn<DialLabel::Repaint>("repaint"); // the times' digits, in their own font, repaint alone
        using Repaint = DialLabel::Repaint;
        QTest::newRow("a time") << u"10:00:15"_s << u"10:01:00"_s << int(Qt::AlignHCenter) << Repaint::ChangedDigits;
        QTest::newRow("a numeral") << u"12"_s << u"9"_s << int(Qt::AlignLeft) << Repaint::Whole;
        QTest::newRow("a city") << u"New York"_s << u"Tokyo"_s << int(Qt::AlignHCenter) << Repaint::Whole;
        QTest::newRow("read right to left, painted by QLabel")
            << u"\u05D9\u05E8\u05D5\u05E9\u05DC\u05D9\u05DD"_s << u"Tokyo"_s << int(Qt::AlignLeft) << Repaint::Whole;
        QTest::newRow("two lines, painted by QLabel") << u"1\n2"_s << u"3"_s << int(Qt::AlignRight) << Repaint::Whole;
    }
    void labelsPaintWhatQLabelPaints()
    {
        QFETCH(QString, text);
        QFETCH(int, alignment);
        QFETCH(DialLabel::Repaint, repaint);
        const QString family =
            repaint == DialLabel::Repaint::ChangedDigits ? Fonts::japaneseGothic() : Fonts::sansSerif();
        QWidget surface;
        DialLabel label(text, Qt::Alignment(alignment) | Qt::AlignTop, &surface, repaint);
        QLabel plain(text, &surface);
        plain.setAlignment(Qt::Alignment(alignment) | Qt::AlignTop);
        plain.setForegroundRole(QPalette::Text); // as every text of a dial
        for (QLabel *each : {static_cast<QLabel *>(&label), &plain}) {
            each->setFont(Fonts::font(family, 9));
            each->setGeometry(0, 0, 97, 34);
        }
        surface.show(); // a time on screen repaints its changed digits alone
        QCOMPARE(label.grab().toImage(), plain.grab().toImage());
        // What the label keeps is made afresh for a new font, palette and text.
        QPalette red = surface.palette();
        red.setColor(QPalette::Text, Qt::red);
        for (QLabel *each : {static_cast<QLabel *>(&label), &plain}) {
            each->setFont(Fonts::font(family, 12));
            each->setPalette(red);
        }
        QFETCH(QString, next);
        label.showText(next);
        plain.setText(next);
        QCOMPARE(label.grab().toImage(), plain.grab().toImage());

        // Masked to its text, a label keeps every pixel that the text paints, and no more.
        label.maskToText();
        const QRegion mask = label.mask();
        QVERIFY(!mask.isEmpty());
        QCOMPARE(mask.contains(QPoint(96, 33)), false);
        const QImage painted = plain.grab().toImage();
        plain.setText(QString());
        const QImage blank = plain.grab().toImage();
        for (int y = 0; y < painted.height(); ++y) {
            for (int x = 0; x < painted.width(); ++x) {
                if (painted.pixel(x, y) != blank.pixel(x, y) && !mask.contains(QPoint(x, y)))
                    QFAIL(qPrintable(u"text painted outside the mask at %1, %2"_s.arg(x).arg(y)));
            }
        }
        // The mask follows a new text; a label that QLabel paints is not masked.
        label.showText(text);
        QVERIFY(label.mask() != mask);
        QCOMPARE(label.mask().isEmpty(), QByteArray(QTest::currentDataTag()).endsWith("painted by QLabel"));
    }

    void repaintingAHandsBoundsErasesIt()
    {
        // Every pixel that drawing a hand touched lies in its bounds, and the bounds are not much more. A hand
        // painted again where it was is copied from a picture, pixel for pixel, and stroked anew in a new colour.
        QImage blank(100, 100, QImage::Format_RGB32);
        blank.fill(Qt::white);
        const DialPainting painting(15);
        DialPainting::KeptLine kept;
        for (const QPointF &end : {QPointF(580.73, 829.65), QPointF(1247.5, 1247.5), QPointF(915, 405)}) {
            const QRect bounds = painting.lineBounds(QPointF(915, 915), end);
            QImage canvas = blank;
            QPainter painter(&canvas);
            painting.paintLine(painter, QPointF(915, 915), end, Qt::black);
            QCOMPARE(canvas.pixelColor(61, 61), QColor(Qt::black));
            const QList<Qt::GlobalColor> colours{Qt::black, Qt::black, Qt::black, Qt::red};
            for (qsizetype i = 0; i < colours.size(); ++i) {
                QImage again = blank;
                QPainter keptPainter(&again);
                painting.paintKeptLine(keptPainter, kept, QPointF(915, 915), end, colours[i]);
                QCOMPARE(again.pixelColor(61, 61), QColor(colours[i]));
                QCOMPARE(again == canvas, colours[i] == Qt::black);
                // The picture is made at the second paint in the same place and colour.
                QCOMPARE(kept.picture.isNull(), i == 0 || i == 3);
            }
            painter.fillRect(bounds, Qt::white);
            painter.end();
            QCOMPARE(canvas, blank);
            QCOMPARE_LT(bounds.width() * bounds.height(), 40 * 40);
        }
    }
};

QTEST_MAIN(TestDials)
#include "tst_dials.moc"
