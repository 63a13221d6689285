#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "settings/mainformcontrols.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

#include <QCheckBox>

namespace {

const QString SettingsFileName = QStringLiteral("setTime.properties");

/** The main window as the settings code sees it, recording each change in order. Any city but "" is known. */
struct FakeMainForm : MainFormControls
{
    QStringList log;
    bool selectCityB(const QString &city) override
    {
        log << QStringLiteral("select ") + city;
        return !city.isEmpty();
    }
    void setCityCaptionA(const QString &caption) override { log << QStringLiteral("captionA ") + caption; }
    void setCityCaptionB(const QString &caption) override { log << QStringLiteral("captionB ") + caption; }
    void showSummerTimeA(bool shown) override { log << QStringLiteral("tagA %1").arg(shown); }
    void showSummerTimeB(bool shown) override { log << QStringLiteral("tagB %1").arg(shown); }
};

} // namespace

class TestSetTimeDialog : public WindowTest
{
    Q_OBJECT

    FakeMainForm m_mainForm;
    ClockModel m_clock;

    /** Each dial's city, whether its box is ticked, and its hour offset: "Berlin 1 -7|Tokyo 0 0". */
    QString dialsOf(const SetTimeDialog &d) const
    {
        const auto dial = [&d](const char *list, const char *box, qint16 offset) {
            return QStringLiteral("%1 %2 %3")
                .arg(child<QComboBox>(&d, list)->currentText())
                .arg(child<QCheckBox>(&d, box)->isChecked())
                .arg(offset);
        };
        return dial("Combo1", "Check1", m_clock.offsetA()) + u'|' + dial("Combo2", "Check2", m_clock.offsetB());
    }

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        m_mainForm.log.clear();
        m_clock.setOffsets(11, 11); // the main window's list may have changed them; filling the lists zeroes both
    }

    void savedSettingsAreLoaded_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("loaded");
        // Steps: select A, select B, offset A, offset B, tick the boxes; the first failure stops the rest.
        QTest::newRow("no file: Tokyo") << QByteArray() << "Tokyo 0 0|Tokyo 0 0";
        QTest::newRow("a tick adds an hour to the city's offset")
            << QByteArray("-13,\"New York\",7,\"Sydney\",#TRUE#,#TRUE#\r\n") << "New York 1 -13|Sydney 1 2";
        QTest::newRow("saved offsets without summer time")
            << QByteArray("5,\"Tokyo\",4,\"London\",#FALSE#,TRUE") << "Tokyo 0 5|London 0 4";
        QTest::newRow("city A unknown") << QByteArray("-8,\"Atlantis\",1,\"Sydney\",#TRUE#,#TRUE#") << " 0 0| 0 0";
        QTest::newRow("city B unknown") << QByteArray("5,\"Cairo\",1,\"Chicago\",#TRUE#,#TRUE#") << "Cairo 0 -7| 0 0";
        QTest::newRow("offset A not a number")
            << QByteArray("x,\"Oslo\",3,\"Wellington\",#TRUE#,#TRUE#") << "Oslo 0 -8|Wellington 0 3";
        QTest::newRow("offset B out of range")
            << QByteArray("4,\"Oslo\",40000,\"Wellington\",#TRUE#,#TRUE#") << "Oslo 0 4|Wellington 0 3";
        QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#TRUE#\r\n") << " 0 0| 0 0";
    }
    void savedSettingsAreLoaded()
    {
        QFETCH(QByteArray, file);
        QVERIFY(file.isEmpty() || m_folder->write(SettingsFileName, file));
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QTEST(dialsOf(dialog), "loaded");
        QVERIFY(m_mainForm.log.isEmpty()); // opening changes nothing on the main window
        QCOMPARE(m_folder->read(SettingsFileName), file); // nor in the file
    }

    void previewShowsBothDialsOverTheMap()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        QVERIFY(QFile::remove(m_folder->path(QStringLiteral("ico.ico"))));
        QTest::ignoreMessage(QtWarningMsg, "ico.ico: file not found; using the built-in icon");
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QVERIFY(!dialog.windowIcon().isNull());
        QCOMPARE(dialog.size(), QSize(305, 249));
        const auto *set = child<QPushButton>(&dialog, "setTime");
        const auto *cancel = child<QPushButton>(&dialog, "btnExit");
        QCOMPARE(set->text() + cancel->text() + set->toolTip(), QStringLiteral("設定キャンセル++ 時計を設定します ++"));
        dialog.findChild<DialPair *>()->tick();
        const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        // The world map unscaled from the corner, where nothing covers it (below dial A's list).
        const QImage map = QImage(QStringLiteral(":/worldmap/worldmap.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.copy(126, 168, 24, 37), map.copy(126, 168, 24, 37));
        // Both dials' outlines, and their second hands at 15 seconds: from each centre to the right.
        QCOMPARE(shown.pixelColor(9, 60), QColor(Qt::black)); // dial A's outer square, left side
        QCOMPARE(shown.pixelColor(293, 100), QColor(Qt::black)); // dial B's inner square, right side
        for (const QPoint &on : {QPoint(70, 61), QPoint(90, 61), QPoint(250, 112)})
            QCOMPARE(shown.pixelColor(on), QColor(0xC0, 0, 0));
        QCOMPARE(shown.pixelColor(50, 61), map.pixelColor(50, 61)); // nothing left of dial A's centre
    }

    void choicesMoveTheClockAndCancelKeepsTheFile()
    {
        const QByteArray saved = "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n";
        QVERIFY(m_folder->write(SettingsFileName, saved));
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        dialog.show();
        auto *boxA = child<QCheckBox>(&dialog, "Check1");
        QCOMPARE(dialog.focusWidget(), child(&dialog, "Combo1"));
        choose(&dialog, "Combo1", QStringLiteral("Berlin"));
        QCOMPARE(dialsOf(dialog), QStringLiteral("Berlin 0 -8|Tokyo 0 0"));
        QTest::mouseClick(boxA, Qt::LeftButton);
        QTest::mouseClick(child(&dialog, "Check2"), Qt::LeftButton);
        QCOMPARE(dialsOf(dialog), QStringLiteral("Berlin 1 -7|Tokyo 1 1"));
        QTest::mouseClick(boxA, Qt::LeftButton);
        QTest::mouseClick(boxA, Qt::LeftButton); // again and again: no drift
        QCOMPARE(dialsOf(dialog), QStringLiteral("Berlin 1 -7|Tokyo 1 1"));
        choose(&dialog, "Combo1", QStringLiteral("Berlin")); // even the same city clears its box
        choose(&dialog, "Combo2", QStringLiteral("Zurich"));
        QCOMPARE(dialsOf(dialog), QStringLiteral("Berlin 0 -8|Zurich 0 -8"));
        QTest::keyClick(boxA, Qt::Key_Return); // neither button is the default or the cancel button
        QTest::keyClick(boxA, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(child(&dialog, "btnExit"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_folder->read(SettingsFileName), saved);
        QVERIFY(m_mainForm.log.isEmpty());
        QCOMPARE(m_clock.offsetA(), -8); // the hands keep the last choice until the next save or start
    }

    void setSavesAndShowsTheChoice_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QByteArray>("file"); // afterwards
        QTest::addColumn<QString>("shown"); // on the main window, then the offsets and the message
        const QString tokyo = QStringLiteral("select Tokyo, captionA Tokyo, captionB Tokyo, tagA 0, tagB 0; 0 0; ");
        const QString noRoom = tokyo + QStringLiteral("Horavista 設定ファイルに書き込みができません");
        QTest::newRow("saved") << QString() << QByteArray("-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n")
                               << "select Sydney, captionA New York, captionB Sydney, tagA 1, tagB 1; -13 2; ";
        QTest::newRow("disk full") << "disk full" << QByteArray("-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n")
                                   << noRoom;
        QTest::newRow("folder vanished") << "folder vanished" << QByteArray() << noRoom;
        QTest::newRow("no city selected: written, no message")
            << "no city" << QByteArray("0,\"\",0,\"\",#FALSE#,#FALSE#\r\n") << QStringLiteral("select , ") + tokyo;
    }
    void setSavesAndShowsTheChoice()
    {
        QFETCH(QString, failure);
        const bool noCity = failure == QLatin1String("no city");
        QVERIFY(m_folder->write(SettingsFileName,
                                noCity ? "0,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n"
                                       : "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n"));
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        dialog.show();
        if (!noCity) {
            choose(&dialog, "Combo2", QStringLiteral("Sydney"));
            QTest::mouseClick(child(&dialog, "Check2"), Qt::LeftButton);
        }
        if (!failure.isEmpty() && !noCity)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^setTime\\.properties: ")));
        if (failure == QLatin1String("folder vanished")) {
            if (WorkingFolder::whyItCannotVanish())
                QSKIP(WorkingFolder::whyItCannotVanish());
            QVERIFY(m_folder->dir().removeRecursively());
        }
        MessageCatcher messages;
        {
            std::optional<FullDisk> full;
            if (failure == QLatin1String("disk full") && !full.emplace().isActive())
                QSKIP(FullDisk::WhyInactive);
            QTest::mouseClick(child(&dialog, "setTime"), Qt::LeftButton);
        }
        QVERIFY(!dialog.isVisible());
        QTEST(m_folder->read(SettingsFileName), "file");
        QTEST(QStringLiteral("%1; %2 %3; %4")
                  .arg(m_mainForm.log.join(QStringLiteral(", ")))
                  .arg(m_clock.offsetA())
                  .arg(m_clock.offsetB())
                  .arg(messages.seen.join(u' ')),
              "shown");
    }

    void surfaceDragsAndOpensTheMenu()
    {
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QList<QPoint> menuOpenedAt;
        dialog.setPopUpMenu([&menuOpenedAt](const QPoint &at) { menuOpenedAt << at; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint before = dialog.pos();
        dragOn(child(&dialog, "Check2"), QPoint(3, 3), QPoint(-40, 26)); // lists, boxes and buttons keep the mouse
        QCOMPARE(dialog.pos(), before);
        dragOn(child(&dialog, "Label1"), QPoint(3, 3), QPoint(-40, 26)); // labels are the surface
        QCOMPARE(dialog.pos(), before + QPoint(-40, 26));
        QTest::mouseClick(&dialog, Qt::RightButton, {}, QPoint(150, 240)); // the map below the lists
        QCOMPARE(menuOpenedAt, QList<QPoint>{dialog.mapToGlobal(QPoint(150, 240))});
    }
};

QTEST_MAIN(TestSetTimeDialog)
#include "tst_settimedialog.moc"
