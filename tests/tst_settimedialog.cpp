#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "platform/fonts.h"
#include "settings/mainformcontrols.h"
#include "settings/settimedialog.h"
#include "windowtest.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <optional>

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

/** Picks @p city from @p list as a user does: open the list, move to the entry, press Enter. */
void choose(QComboBox *list, const QString &city)
{
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(list->findText(city), 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

/** Each dial's city, its box (twice, as the saved flag follows it) and its hour offset: "Berlin 11 -7|Tokyo 00 0". */
QString dialsOf(const SetTimeDialog &d, const ClockModel &clock)
{
    const auto dial = [&d](const QString &n, qint16 offset) {
        const bool ticked = d.findChild<QCheckBox *>(QStringLiteral("Check") + n)->isChecked();
        return QStringLiteral("%1 %2%3 %4")
            .arg(d.findChild<QComboBox *>(QStringLiteral("Combo") + n)->currentText(), QString::number(ticked),
                 QString::number(ticked), QString::number(offset));
    };
    return dial(QStringLiteral("1"), clock.offsetA()) + QLatin1Char('|') + dial(QStringLiteral("2"), clock.offsetB());
}

} // namespace

class TestSetTimeDialog : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        WindowTest::init();
        m_mainForm.log.clear();
    }

    void opensWithoutIcoIco()
    {
        QVERIFY(QFile::remove(m_folder->path(QStringLiteral("ico.ico"))));
        QTest::ignoreMessage(QtWarningMsg, "ico.ico: file not found; using the built-in icon");
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QVERIFY(!dialog.windowIcon().isNull());
        QCOMPARE(dialsOf(dialog, m_clock), QStringLiteral("Tokyo 00 0|Tokyo 00 0")); // the load went on
        // Between dial A's list and the buttons nothing covers the map, drawn unscaled from the corner.
        const QRect bare(126, 168, 24, 37);
        const QImage map = QImage(QStringLiteral(":/worldmap/worldmap.png")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(map.size(), QSize(338, 251));
        QCOMPARE(dialog.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(bare), map.copy(bare));
        QImage blank(bare.size(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        QVERIFY(map.copy(bare) != blank);
    }

    void savedSettingsAreLoaded_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("loaded");
        // Steps: select A, select B, offset A, offset B, tick the boxes; the first failure stops the rest.
        QTest::newRow("no file: Tokyo") << QByteArray() << "Tokyo 00 0|Tokyo 00 0";
        QTest::newRow("a tick adds an hour to the city's offset")
            << QByteArray("-13,\"New York\",7,\"Sydney\",#TRUE#,#TRUE#\r\n") << "New York 11 -13|Sydney 11 2";
        QTest::newRow("saved offsets; only #TRUE# ticks")
            << QByteArray("5,\"Tokyo\",4,\"London\",#true#,TRUE\r\n") << "Tokyo 00 5|London 00 4";
        QTest::newRow("city A unknown") << QByteArray("-8,\"Atlantis\",1,\"Sydney\",#TRUE#,#TRUE#\r\n")
                                        << " 00 0| 00 0";
        QTest::newRow("city B unknown") << QByteArray("5,\"Cairo\",1,\"Chicago\",#TRUE#,#TRUE#\r\n")
                                        << "Cairo 00 -7| 00 0";
        QTest::newRow("offset A not a number")
            << QByteArray("x,\"Oslo\",3,\"Wellington\",#TRUE#,#TRUE#\r\n") << "Oslo 00 -8|Wellington 00 3";
        QTest::newRow("offset B out of range")
            << QByteArray("4,\"Oslo\",40000,\"Wellington\",#TRUE#,#TRUE#\r\n") << "Oslo 00 4|Wellington 00 3";
        QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#TRUE#\r\n") << " 00 0| 00 0";
    }

    void savedSettingsAreLoaded()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, loaded);
        if (!file.isEmpty())
            QVERIFY(m_folder->write(SettingsFileName, file));
        m_clock.setOffsetA(11); // the main window's list may have changed them; filling the lists zeroes both
        m_clock.setOffsetB(11);
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QCOMPARE(dialsOf(dialog, m_clock), loaded);
        QVERIFY(m_mainForm.log.isEmpty()); // opening changes nothing on the main window
        QCOMPARE(m_folder->read(SettingsFileName), file); // nor in the file
    }

    void handlersThenCancel()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        const QByteArray saved = "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n";
        QVERIFY(m_folder->write(SettingsFileName, saved));
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        dialog.show();
        FIND_CONTROL(listA, QComboBox, &dialog, "Combo1");
        FIND_CONTROL(boxA, QCheckBox, &dialog, "Check1");
        choose(listA, QStringLiteral("Berlin"));
        QCOMPARE(dialsOf(dialog, m_clock), QStringLiteral("Berlin 00 -8|Tokyo 00 0"));
        QTest::mouseClick(boxA, Qt::LeftButton);
        QCOMPARE(dialsOf(dialog, m_clock), QStringLiteral("Berlin 11 -7|Tokyo 00 0"));
        QTest::mouseClick(boxA, Qt::LeftButton);
        QCOMPARE(dialsOf(dialog, m_clock), QStringLiteral("Berlin 00 -8|Tokyo 00 0"));
        QTest::mouseClick(boxA, Qt::LeftButton); // and again: no drift
        dialog.findChild<DialPair *>()->tick();
        FIND_CONTROL(timeA, QLabel, &dialog, "Label11");
        QCOMPARE(timeA->text(), QStringLiteral("03:00:00")); // the preview follows
        choose(listA, QStringLiteral("Berlin")); // even the same city clears its box
        QCOMPARE(dialsOf(dialog, m_clock), QStringLiteral("Berlin 00 -8|Tokyo 00 0"));

        // Neither button is the default or the cancel button.
        QTest::keyClick(boxA, Qt::Key_Return);
        QTest::keyClick(boxA, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        FIND_CONTROL(cancel, QPushButton, &dialog, "btnExit");
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(m_folder->read(SettingsFileName), saved);
        QVERIFY(m_mainForm.log.isEmpty());
        QCOMPARE(m_clock.offsetA(), -8); // the hands keep the last choice until the next save or start
    }

    void failedSetFallsBackToTokyo_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("disk full") << "disk full";
        QTest::newRow("folder vanished") << "folder vanished";
        QTest::newRow("read-only folder") << "read-only folder";
        QTest::newRow("no city selected: written, no message") << "no city";
    }

    void failedSetFallsBackToTokyo()
    {
        QFETCH(QString, failure);
        const bool noCity = failure == QLatin1String("no city");
        const QByteArray previous = noCity ? "0,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n"
                                           : "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n";
        QVERIFY(m_folder->write(SettingsFileName, previous));
        std::optional<ReadOnlyFolder> readOnly;
        if (failure == QLatin1String("read-only folder")) {
            readOnly.emplace(m_folder->dir().path());
            if (!readOnly->isActive())
                QSKIP(readOnly->whyInactive());
        }
        if (failure == QLatin1String("disk full") && !FullDisk().isActive())
            QSKIP(FullDisk().whyInactive());
        if (failure == QLatin1String("folder vanished") && WorkingFolder::whyItCannotVanish())
            QSKIP(WorkingFolder::whyItCannotVanish());
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        dialog.show();
        FIND_CONTROL(listB, QComboBox, &dialog, "Combo2");
        FIND_CONTROL(set, QPushButton, &dialog, "setTime");
        if (!noCity) {
            choose(listB, QStringLiteral("Sydney"));
            QCOMPARE(m_clock.offsetB(), 1);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^setTime\\.properties: ")));
        }
        if (failure == QLatin1String("folder vanished"))
            QVERIFY(m_folder->dir().removeRecursively());

        auto message = std::make_shared<QString>();
        QTimer::singleShot(0, [message] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                *message = box->text();
                box->buttons().first()->click();
            }
        });
        {
            std::optional<FullDisk> full;
            if (failure == QLatin1String("disk full"))
                QVERIFY(full.emplace().isActive());
            QTest::mouseClick(set, Qt::LeftButton);
        }
        QCoreApplication::processEvents();
        readOnly.reset();

        QCOMPARE(*message, noCity ? QString() : QStringLiteral("設定ファイルに書き込みができません"));
        const QStringList tokyo{QStringLiteral("select Tokyo"), QStringLiteral("captionA Tokyo"),
                                QStringLiteral("captionB Tokyo"), QStringLiteral("tagA 0"), QStringLiteral("tagB 0")};
        QCOMPARE(m_mainForm.log, noCity ? QStringList{QStringLiteral("select ")} + tokyo : tokyo);
        QCOMPARE(m_clock.offsetA(), 0);
        QCOMPARE(m_clock.offsetB(), 0);
        QVERIFY(!dialog.isVisible());
        if (noCity)
            QCOMPARE(m_folder->read(SettingsFileName), QByteArray("0,\"\",0,\"\",#FALSE#,#FALSE#\r\n"));
        else if (failure != QLatin1String("folder vanished"))
            QCOMPARE(m_folder->read(SettingsFileName), previous); // the saved settings survive
    }

    void surfaceDragsAndOpensTheMenu_data()
    {
        QTest::addColumn<QString>("pressedOn");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("background") << "" << QPoint(-40, 26);
        QTest::newRow("Summer+Time label") << "Label1" << QPoint(-40, 26);
        QTest::newRow("summer-time box") << "Check2" << QPoint();
    }

    void surfaceDragsAndOpensTheMenu()
    {
        QFETCH(QString, pressedOn);
        QFETCH(QPoint, moved);
        SetTimeDialog dialog(m_folder->dir(), m_mainForm, m_clock);
        QList<QPoint> menuOpenedAt;
        dialog.setPopUpMenu([&menuOpenedAt](const QPoint &at) { menuOpenedAt << at; });
        dialog.move(300, 200);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QWidget *target = pressedOn.isEmpty() ? &dialog : dialog.findChild<QWidget *>(pressedOn);
        QVERIFY(target);
        const QPoint at = pressedOn.isEmpty() ? QPoint(150, 240) : QPoint(3, 3); // the map below the lists
        const QPoint before = dialog.pos();
        dragOn(target, at, QPoint(-40, 26), Qt::MiddleButton);
        QCOMPARE(dialog.pos(), before);
        dragOn(target, at, QPoint(-40, 26));
        QCOMPARE(dialog.pos(), before + moved);
        QTest::mouseClick(target, Qt::RightButton, {}, at);
        QCOMPARE(menuOpenedAt, moved.isNull() ? QList<QPoint>{} : QList<QPoint>{target->mapToGlobal(at)});
    }

private:
    FakeMainForm m_mainForm;
    ClockModel m_clock;
};

QTEST_MAIN(TestSetTimeDialog)
#include "tst_settimedialog.moc"
