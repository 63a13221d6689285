#include "clock/clockmodel.h"
#include "dials/dialpair.h"
#include "settings/clocksettingsdialog.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLabel>

using namespace Qt::StringLiterals;

class TestClockSettingsDialog : public WindowTest
{
    Q_OBJECT

    ClockModel m_clock;
    // What the main window showed before the dialog opened: a city chosen from its list, not saved.
    const ClockState m_shownBefore{{u"Rome"_s, true, -7}, {u"Los Angels"_s, false, -17}};

    // The dialog's lists and boxes (dial A's, then dial B's) show the clock's state.
    void checkChoicesShown(const ClockSettingsDialog &dialog)
    {
        QStringList cities;
        QList<bool> boxes;
        for (const QComboBox *list : dialog.findChildren<QComboBox *>())
            cities << list->currentText();
        for (const QCheckBox *box : dialog.findChildren<QCheckBox *>())
            boxes << box->isChecked();
        QCOMPARE(cities, (QStringList{m_clock.dial(Dial::A).city, m_clock.dial(Dial::B).city}));
        QCOMPARE(boxes, (QList<bool>{m_clock.dial(Dial::A).summerTime, m_clock.dial(Dial::B).summerTime}));
    }

private Q_SLOTS:
    void choicesShowAtOnceSetSavesAndCancelPutsBack_data()
    {
        // The dialog opens on the file the row names. Then "Combo1=Berlin" picks Berlin from the list Combo1, a name
        // alone clicks that control, "close" is the close box and "full" fills the disk.
        QTest::addColumn<QString>("actions");
        QTest::addColumn<ClockState>("opened"); // what the dialog and the main window show as it opens
        QTest::addColumn<ClockState>("after"); // what they show once the dialog has closed
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QByteArray>("written"); // the file afterwards, if it changed
        const ClockState saved{{u"New York"_s, true, -13}, {u"Sydney"_s, true, 2}};
        const QByteArray savedLine = "-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n";
        const ClockState tokyo = ClockState::tokyo();
        // Ticked, cleared and ticked: no drift; the close box writes nothing and puts back what was shown before.
        QTest::newRow(R"(0,"Tokyo",0,"Tokyo",#FALSE#,#FALSE#)")
            << u"Combo1=Berlin,Check1,Check1,Check1,close"_s << tokyo << m_shownBefore << QStringList() << QByteArray();
        // A choice, even of the same city, clears its box; Set saves the choice and keeps it.
        QTest::newRow(R"(-13,"New York",1,"Tokyo",#TRUE#,#TRUE#)")
            << u"Combo1=New York,Check1,Combo2=Sydney,Check2,setTime"_s
            << ClockState{{u"New York"_s, true, -13}, {u"Tokyo"_s, true, 1}} << saved << QStringList() << savedLine;
        // A save that fails keeps the file, says so, and puts Tokyo on the main window.
        QTest::newRow(R"(2,"Sydney",-9,"London",#FALSE#,#FALSE#)")
            << u"full,setTime"_s << ClockState{{u"Sydney"_s, false, 2}, {u"London"_s, false, -9}} << tokyo
            << QStringList{u"Horavista 設定ファイルに書き込みができません"_s} << QByteArray();
        // With nothing selected, Set writes empty cities; the main window's list knows no such city: Tokyo.
        QTest::newRow(R"(-8,"Atlantis",1,"Sydney",#TRUE#,#TRUE#)")
            << u"setTime"_s << ClockState() << tokyo << QStringList()
            << QByteArray("0,\"\",0,\"\",#FALSE#,#FALSE#\r\n");
    }
    void choicesShowAtOnceSetSavesAndCancelPutsBack()
    {
        QFETCH(QString, actions);
        const QByteArray before(QTest::currentDataTag());
        QVERIFY(m_folder->write(u"setTime.properties"_s, before));
        m_clock.setState(m_shownBefore);
        ClockSettingsDialog dialog(m_folder->dir(), m_clock);
        dialog.show();
        QTEST(m_clock.state(), "opened");
        checkChoicesShown(dialog);
        FIND_CHILD(boxA, QWidget, &dialog, "Check1");
        FIND_CHILD(listA, QWidget, &dialog, "Combo1");
        QCOMPARE(dialog.focusWidget(), listA);
        QTest::keyClick(boxA, Qt::Key_Return); // neither button is the default or the cancel one
        QTest::keyClick(boxA, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());

        MessageCatcher messages;
        std::optional<FullDisk> full; // choices write nothing, nor does reading: full from the start to the end
        if (actions.startsWith(u"full") && full.emplace().isActive())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^setTime\\.properties: "_s));
        else if (full)
            QSKIP(FullDisk::WhyInactive);
        for (const QString &action : actions.split(u',', Qt::SkipEmptyParts)) {
            const QString name = action.section(u'=', 0, 0);
            auto *control = dialog.findChild<QWidget *>(name);
            QVERIFY2(control || name == u"close" || name == u"full", qPrintable(u"no control named "_s + name));
            if (action == u"close")
                dialog.close();
            else if (action.contains(u'='))
                choose(qobject_cast<QComboBox *>(control), action.section(u'=', 1));
            else if (action != u"full")
                QTest::mouseClick(control, Qt::LeftButton);
            if (dialog.isVisible())
                checkChoicesShown(dialog);
        }
        QVERIFY(!dialog.isVisible());
        QTEST(m_clock.state(), "after");
        QTEST(messages.seen, "messages");
        const QByteArray after = m_folder->read(u"setTime.properties"_s);
        QTEST(after == before ? QByteArray() : after, "written");
    }

    void surfaceShowsThePreviewDragsAndOpensTheMenu()
    {
        FixedClock clock(japanTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        ClockSettingsDialog dialog(m_folder->dir(), m_clock);
        QList<QPoint> menuOpenedAt;
        dialog.setPopUpMenu([&menuOpenedAt](const QPoint &at, bool) { menuOpenedAt << at; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        FIND_CHILD(set, QPushButton, &dialog, "setTime");
        FIND_CHILD(cancel, QPushButton, &dialog, "btnExit");
        FIND_CHILD(timeB, QLabel, &dialog, "Label12");
        FIND_CHILD(listB, QComboBox, &dialog, "Combo2");
        FIND_CHILD(boxB, QCheckBox, &dialog, "Check2");
        FIND_CHILD(captionA, QLabel, &dialog, "Label1");
        QVERIFY(!dialog.windowIcon().isNull());
        QCOMPARE(dialog.size(), QSize(305, 249));
        QCOMPARE(set->text(), u"設定"_s);
        QCOMPARE(set->toolTip(), u"++ 時計を設定します ++"_s);
        QCOMPARE(cancel->text(), u"キャンセル"_s);
        QList<qreal> smaller; // the lists and the summer time captions; the dialog's own type has 9 points
        for (const QWidget *control : dialog.findChildren<QWidget *>(QRegularExpression(u"^(Combo|Label)[12]$"_s)))
            smaller << control->font().pointSizeF();
        QCOMPARE(smaller, QList<qreal>(4, 8.25));

        dialog.findChild<DialPair *>()->tick();
        const QImage shown = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage map = QImage(u":/worldmap/worldmap.png"_s).convertToFormat(QImage::Format_RGB32);
        // The map unscaled where nothing covers it (below dial A's list, left of its centre), the outlines of
        // dial A and dial B, and the second hands at 15 seconds from each centre to the right.
        QCOMPARE(colours(shown, {{130, 170}, {50, 61}, {9, 60}, {293, 100}, {90, 61}, {250, 112}}),
                 (QList<QColor>{map.pixelColor(130, 170), map.pixelColor(50, 61), Qt::black, Qt::black,
                                QColor(0xC0, 0, 0), QColor(0xC0, 0, 0)}));
        // A choice shows in the preview at once.
        QCOMPARE(timeB->text(), u"10:00:15"_s);
        choose(listB, u"London"_s);
        QCOMPARE(timeB->text(), u"01:00:15"_s);

        // Lists, boxes and buttons keep the mouse; the labels are the surface.
        const QPoint before = dialog.pos();
        dragOn(boxB, QPoint(3, 3), QPoint(-40, 26));
        dragOn(captionA, QPoint(3, 3), QPoint(30, 20));
        QCOMPARE(dialog.pos(), before + QPoint(30, 20));
        QTest::mouseClick(&dialog, Qt::RightButton, {}, QPoint(150, 240)); // the map below the lists
        QCOMPARE(menuOpenedAt, QList<QPoint>{dialog.mapToGlobal(QPoint(150, 240))});
    }
};

QTEST_MAIN(TestClockSettingsDialog)
#include "tst_clocksettingsdialog.moc"
