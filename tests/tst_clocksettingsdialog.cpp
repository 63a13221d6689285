#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "settings/mainformcontrols.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

using namespace Qt::StringLiterals;

class TestSetTimeDialog : public WindowTest
{
    Q_OBJECT

    // The main window as the settings code sees it, recording each change in order. Any city but "" is known.
    struct FakeMainForm : MainFormControls
    {
        QStringList log;
        bool selectCityB(const QString &city) override { return (log << u"list "_s + city).size() && !city.isEmpty(); }
        void setCityCaptionA(const QString &caption) override { log << u"A "_s + caption; }
        void setCityCaptionB(const QString &caption) override { log << u"B "_s + caption; }
        void showSummerTimeA(bool shown) override { log << u"tagA %1"_s.arg(shown); }
        void showSummerTimeB(bool shown) override { log << u"tagB %1"_s.arg(shown); }
    } m_mainForm;
    ClockModel m_clock;

    // Each dial's city, whether its box is ticked, and its hour offset: "Berlin 1 -7 | Tokyo 0 0".
    QString dialsOf(const SetTimeDialog &d) const
    {
        const auto dial = [&d](const char *list, const char *box) {
            return join(child<QComboBox>(&d, list)->currentText(), int(child<QAbstractButton>(&d, box)->isChecked()));
        };
        return join(dial("Combo1", "Check1"), m_clock.offsetA(), '|', dial("Combo2", "Check2"), m_clock.offsetB());
    }

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        m_mainForm.log.clear();
        m_clock.setOffsets(11, 11); // the main window's list may have changed them; filling the lists zeroes both
    }

    void openingLoadsChoicesMoveTheHandsAndButtonsSave_data()
    {
        // The dialog opens on the file the row names. Then "Combo1=Berlin" picks Berlin from the list Combo1, a name
        // alone clicks that control, and "full" fills the disk.
        QTest::addColumn<QString>("actions");
        // Afterwards: closed or not, the dials, the main window's changes, the messages, the file if it changed.
        QTest::addColumn<QString>("shown");
        // Loading: select A, select B, offset A, offset B, tick the boxes; the first failure stops the rest. A tick
        // makes the offset the city's and an hour; "TRUE" ticks nothing.
        QTest::newRow("no file") << u""_s << u"Tokyo 0 0 | Tokyo 0 0"_s;
        QTest::newRow(R"(-13,"New York",7,"Sydney",#TRUE#,#TRUE#)") << u""_s << u"New York 1 -13 | Sydney 1 2"_s;
        QTest::newRow(R"(5,"Tokyo",4,"London",#FALSE#,TRUE)") << u""_s << u"Tokyo 0 5 | London 0 4"_s;
        QTest::newRow(R"(5,"Cairo",1,"Chicago",#TRUE#,#TRUE#)") << u""_s << u"Cairo 0 -7 |  0 0"_s;
        QTest::newRow(R"(x,"Oslo",3,"Wellington",#TRUE#,#TRUE#)") << u""_s << u"Oslo 0 -8 | Wellington 0 3"_s;
        QTest::newRow(R"(4,"Oslo",40000,"Wellington",#TRUE#,#TRUE#)") << u""_s << u"Oslo 0 4 | Wellington 0 3"_s;
        // Ticked, cleared and ticked: no drift. Cancel writes nothing and puts nothing back: the hands keep the
        // choice until the next save or start.
        QTest::newRow(R"(0,"Tokyo",0,"Tokyo",#FALSE#,#FALSE#)")
            << u"Combo1=Berlin,Check1,Check1,Check1,btnExit"_s << u"closed; Berlin 1 -7 | Tokyo 0 0"_s;
        // A choice, even of the same city, clears its box; Set saves and shows the choice on the main window.
        QTest::newRow(R"(-13,"New York",1,"Tokyo",#TRUE#,#TRUE#)")
            << u"Combo1=New York,Check1,Combo2=Sydney,Check2,setTime"_s
            << u"closed; New York 1 -13 | Sydney 1 2; list Sydney, A New York, B Sydney, tagA 1, tagB 1; "
               "-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n"_s;
        // A save that fails keeps the file, says so, and puts Tokyo on the main window.
        const QString tokyo = u"list Tokyo, A Tokyo, B Tokyo, tagA 0, tagB 0"_s;
        QTest::newRow(R"(2,"Sydney",-9,"London",#FALSE#,#FALSE#)")
            << u"full,setTime"_s
            << u"closed; Sydney 0 0 | London 0 0; %1; Horavista 設定ファイルに書き込みができません"_s.arg(tokyo);
        // With nothing selected, Set writes empty cities; the main window knows no such city and shows Tokyo.
        QTest::newRow(R"(-8,"Atlantis",1,"Sydney",#TRUE#,#TRUE#)")
            << u"setTime"_s << u"closed;  0 0 |  0 0; list , %1; 0,\"\",0,\"\",#FALSE#,#FALSE#\r\n"_s.arg(tokyo);
    }
    void openingLoadsChoicesMoveTheHandsAndButtonsSave()
    {
        QFETCH(QString, actions);
        const QByteArray before = QByteArray(QTest::currentDataTag()).replace("no file", "");
        QVERIFY(before.isEmpty() || m_folder->write(u"setTime.properties"_s, before));
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        dialog.show();
        QCOMPARE(dialog.focusWidget(), child(&dialog, "Combo1"));
        QTest::keyClick(child(&dialog, "Check1"), Qt::Key_Return); // neither button is the default or the cancel one
        QTest::keyClick(child(&dialog, "Check1"), Qt::Key_Escape);
        MessageCatcher messages;
        std::optional<FullDisk> full; // choices write nothing, nor does reading: full from the start to the end
        if (actions.startsWith(u"full") && full.emplace().isActive())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^setTime\\.properties: "_s));
        else if (full)
            QSKIP(FullDisk::WhyInactive);
        for (const QString &action : actions.split(u',', Qt::SkipEmptyParts)) {
            if (action.contains(u'='))
                choose(&dialog, qPrintable(action.section(u'=', 0, 0)), action.section(u'=', 1));
            else if (action != u"full")
                QTest::mouseClick(child(&dialog, qPrintable(action)), Qt::LeftButton);
        }
        const QByteArray after = m_folder->read(u"setTime.properties"_s);
        QStringList shown{dialog.isVisible() ? QString() : u"closed"_s, dialsOf(dialog), m_mainForm.log.join(u", "_s),
                          messages.seen.join(u' '), after == before ? QString() : QString::fromUtf8(after)};
        shown.removeAll(QString());
        QTEST(shown.join(u"; "_s), "shown");
    }

    void surfaceShowsThePreviewDragsAndOpensTheMenu()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QList<QPoint> menuOpenedAt;
        dialog.setPopUpMenu([&menuOpenedAt](const QPoint &at) { menuOpenedAt << at; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const auto *set = child<QPushButton>(&dialog, "setTime");
        QStringList seen{join(dialog.windowIcon().isNull(), dialog.size(), set->text(), set->toolTip()),
                         child<QPushButton>(&dialog, "btnExit")->text()};
        for (const char *smaller : {"Combo1", "Combo2", "Label1", "Label2"}) // the dialog's type has 9 points
            QCOMPARE(child(&dialog, smaller)->font().pointSizeF(), 8.25);
        dialog.findChild<DialPair *>()->tick();
        const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage map = QImage(u":/worldmap/worldmap.png"_s).convertToFormat(QImage::Format_RGB32);
        // The map unscaled where nothing covers it (below dial A's list, left of its centre), the outlines of
        // dial A and dial B, and the second hands at 15 seconds from each centre to the right.
        for (const QPoint at :
             {QPoint(130, 170), QPoint(50, 61), QPoint(9, 60), QPoint(293, 100), QPoint(90, 61), QPoint(250, 112)})
            seen << (shown.pixel(at) == map.pixel(at) ? u"map"_s : QString::number(shown.pixel(at) & 0xFFFFFF, 16));
        QCOMPARE(seen.join(u' '),
                 u"false QSize(305, 249) 設定 ++ 時計を設定します ++ キャンセル map map 0 0 c00000 c00000"_s);

        // Lists, boxes and buttons keep the mouse; the labels are the surface.
        const QPoint before = dialog.pos();
        dragOn(child(&dialog, "Check2"), QPoint(3, 3), QPoint(-40, 26));
        dragOn(child(&dialog, "Label1"), QPoint(3, 3), QPoint(30, 20));
        QCOMPARE(dialog.pos(), before + QPoint(30, 20));
        QTest::mouseClick(&dialog, Qt::RightButton, {}, QPoint(150, 240)); // the map below the lists
        QCOMPARE(menuOpenedAt, QList<QPoint>{dialog.mapToGlobal(QPoint(150, 240))});
    }
};

QTEST_MAIN(TestSetTimeDialog)
#include "tst_settimedialog.moc"
