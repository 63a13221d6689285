#include "clock/dialpair.h"
#include "clock/houroffsets.h"
#include "fakemainform.h"
#include "platform/fonts.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

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

/** Picks @p city from @p list as a user does: open the list, move to the entry, press Enter. */
void choose(QComboBox *list, const QString &city)
{
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(list->findText(city), 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

/** What a message box said, answered with its one button. */
struct MessageSeen
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

/** Answers the next modal message box, keeping what it showed. */
void answerMessageBox(MessageSeen *seen)
{
    QTimer::singleShot(0, [seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY2(box, "no message box");
        seen->caption = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = int(box->buttons().size());
        box->buttons().first()->click();
    });
}

} // namespace

class TestSetTimeDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensWithItsDesignedLook_data();
    void opensWithItsDesignedLook();
    void worldMapIsDrawnUnscaledOnWhite();
    void keyboardOrderAndKeys();
    void damagedIconKeepsTheBuiltInOne();
    void savedSettingsAreLoaded_data();
    void savedSettingsAreLoaded();
    void choicesSetTheOffsetsAtOnce();
    void failedSaveFallsBackToTokyo_data();
    void failedSaveFallsBackToTokyo();
    void setWithNoCityFallsBackWithoutMessage();
    void cancelWritesNothing();
    void surfaceDragsAndOpensTheMenu_data();
    void surfaceDragsAndOpensTheMenu();

private:
    std::unique_ptr<WorkingFolder> m_folder;
    FakeMainForm m_mainForm;
};

void TestSetTimeDialog::initTestCase()
{
    Fonts::install();
}

void TestSetTimeDialog::init()
{
    HourOffsetA = 0;
    HourOffsetB = 0;
    m_mainForm = FakeMainForm();
    m_folder = std::make_unique<WorkingFolder>();
    VERIFY_FOLDER(*m_folder);
    QVERIFY(m_folder->copyIn(QStringLiteral(":/icon/ico.ico"), QStringLiteral("ico.ico")));
}

void TestSetTimeDialog::cleanup()
{
    m_folder.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestSetTimeDialog::opensWithItsDesignedLook_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::newRow("Combo1") << "Combo1" << QRect(105, 2115, 1755, 345) << "Tokyo";
    QTest::newRow("Label1") << "Label1" << QRect(450, 2715, 1380, 240) << "Summer+Time";
    QTest::newRow("Label11") << "Label11" << QRect(225, 1830, 1455, 255) << "";
    QTest::newRow("Label3") << "Label3" << QRect(840, 180, 480, 330) << "12";
    QTest::newRow("Check1") << "Check1" << QRect(225, 2715, 240, 225) << "Check1";
    QTest::newRow("btnExit") << "btnExit" << QRect(2295, 3210, 1005, 345) << "キャンセル";
    QTest::newRow("setTime") << "setTime" << QRect(3405, 3210, 1005, 345) << "設定";
}

void TestSetTimeDialog::opensWithItsDesignedLook()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    QCOMPARE(dialog.objectName(), QStringLiteral("setTime"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("++ 時計設定 ++"));
    const int pt = dialog.pixelTwips();
    QCOMPARE(pt, 15);
    QCOMPARE(dialog.size(), QSize(305, 249));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize()); // not resizable
    QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!dialog.windowIcon().isNull());

    auto *control = dialog.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), QRect(twips.x() / pt, twips.y() / pt, twips.width() / pt, twips.height() / pt));
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(control))
        shown = label->text();
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        shown = button->text();
    else if (auto *list = qobject_cast<QComboBox *>(control))
        shown = list->currentText();
    QCOMPARE(shown, text);

    FIND_CONTROL(cancel, QPushButton, &dialog, "btnExit");
    QCOMPARE(cancel->toolTip(), QStringLiteral("++ 終了します ++"));
    FIND_CONTROL(set, QPushButton, &dialog, "setTime");
    QCOMPARE(set->toolTip(), QStringLiteral("++ 時計を設定します ++"));
}

void TestSetTimeDialog::worldMapIsDrawnUnscaledOnWhite()
{
    FixedClock clock;
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    const QImage map(QStringLiteral(":/worldmap/worldmap.png"));
    QCOMPARE(map.size(), QSize(338, 251));
    const QImage shown = dialog.grab().toImage();
    // Between dial A's list and the buttons nothing covers the map.
    QSet<QRgb> colours;
    for (int y = 168; y < 205; ++y) {
        for (int x = 126; x < 150; ++x) {
            QCOMPARE(shown.pixelColor(x, y), map.pixelColor(x, y));
            colours.insert(map.pixel(x, y));
        }
    }
    QVERIFY2(colours.size() > 1, "the compared part of the map is all one colour");
    QVERIFY(colours.contains(qRgb(255, 255, 255)));
    // The Summer+Time labels are opaque white, map or not.
    FIND_CONTROL(label, QLabel, &dialog, "Label2");
    QCOMPARE(shown.pixelColor(label->geometry().bottomRight() - QPoint(1, 1)), QColor(Qt::white));
}

void TestSetTimeDialog::keyboardOrderAndKeys()
{
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QStringList order;
    for (int i = 0; i < 7; ++i) {
        order << dialog.focusWidget()->objectName();
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order,
             (QStringList{QStringLiteral("Combo1"), QStringLiteral("Combo2"), QStringLiteral("btnExit"),
                          QStringLiteral("setTime"), QStringLiteral("Check1"), QStringLiteral("Check2"),
                          QStringLiteral("Combo1")}));

    // Neither button is the default or the cancel button.
    FIND_CONTROL(set, QPushButton, &dialog, "setTime");
    set->setFocus();
    QTest::keyClick(set, Qt::Key_Return);
    QTest::keyClick(set, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QVERIFY(!QFile::exists(m_folder->path(SettingsFileName)));
}

void TestSetTimeDialog::damagedIconKeepsTheBuiltInOne()
{
    QVERIFY(m_folder->write(QStringLiteral("ico.ico"), "not an icon"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^ico\\.ico: .*; using the built-in icon$")));
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    QVERIFY(!dialog.windowIcon().isNull());
    FIND_CONTROL(list, QComboBox, &dialog, "Combo1");
    QCOMPARE(list->currentText(), QStringLiteral("Tokyo")); // the load went on
}

void TestSetTimeDialog::savedSettingsAreLoaded_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("cityA");
    QTest::addColumn<QString>("cityB");
    QTest::addColumn<bool>("summerA");
    QTest::addColumn<bool>("summerB");
    QTest::addColumn<int>("offsetA");
    QTest::addColumn<int>("offsetB");

    QTest::newRow("no file") << QByteArray() << "Tokyo"
                             << "Tokyo" << false << false << 0 << 0;
    QTest::newRow("summer time adds an hour to the city")
        << QByteArray("-13,\"New York\",7,\"Sydney\",#TRUE#,#TRUE#\r\n") << "New York"
        << "Sydney" << true << true << -13 << 2;
    QTest::newRow("offset kept as saved without summer time")
        << QByteArray("5,\"Tokyo\",-9,\"London\",#FALSE#,#FALSE#\r\n") << "Tokyo"
        << "London" << false << false << 5 << -9;
    QTest::newRow("blank kept in Chicago ")
        << QByteArray("-15,\"Chicago \",0,\"Tokyo\",#FALSE#,#FALSE#\r\n") << "Chicago "
        << "Tokyo" << false << false << -15 << 0;
    QTest::newRow("summer time needs the exact spelling")
        << QByteArray("-8,\"Berlin\",-8,\"Paris\",#true#,TRUE\r\n") << "Berlin"
        << "Paris" << false << false << -8 << -8;
    QTest::newRow("dial A's city unknown: nothing selected")
        << QByteArray("-8,\"Atlantis\",1,\"Sydney\",#TRUE#,#TRUE#\r\n") << ""
        << "" << false << false << 0 << 0;
    QTest::newRow("dial B's city unknown: dial A only")
        << QByteArray("-7,\"Cairo\",1,\"Chicago\",#TRUE#,#TRUE#\r\n") << "Cairo"
        << "" << false << false << -7 << 0;
    QTest::newRow("offset A not a number: table offsets")
        << QByteArray("x,\"Oslo\",3,\"Wellington\",#TRUE#,#TRUE#\r\n") << "Oslo"
        << "Wellington" << false << false << -8 << 3;
    QTest::newRow("offset B out of range: offset A kept")
        << QByteArray("4,\"Oslo\",40000,\"Wellington\",#TRUE#,#TRUE#\r\n") << "Oslo"
        << "Wellington" << false << false << 4 << 3;
    QTest::newRow("five fields: nothing applied") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#TRUE#\r\n") << ""
                                                  << "" << false << false << 0 << 0;
}

void TestSetTimeDialog::savedSettingsAreLoaded()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, cityA);
    QFETCH(QString, cityB);
    QFETCH(bool, summerA);
    QFETCH(bool, summerB);
    QFETCH(int, offsetA);
    QFETCH(int, offsetB);
    if (!file.isEmpty())
        QVERIFY(m_folder->write(SettingsFileName, file));
    HourOffsetA = 11; // the main window's list may have changed them; opening starts again from 0
    HourOffsetB = 11;

    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    FIND_CONTROL(listA, QComboBox, &dialog, "Combo1");
    FIND_CONTROL(listB, QComboBox, &dialog, "Combo2");
    FIND_CONTROL(boxA, QCheckBox, &dialog, "Check1");
    FIND_CONTROL(boxB, QCheckBox, &dialog, "Check2");
    QCOMPARE(listA->count(), 36);
    QCOMPARE(listB->count(), 36);
    QCOMPARE(listA->currentText(), cityA);
    QCOMPARE(listB->currentText(), cityB);
    QCOMPARE(boxA->isChecked(), summerA);
    QCOMPARE(boxB->isChecked(), summerB);
    QCOMPARE(dialog.summerTimeA(), summerA);
    QCOMPARE(dialog.summerTimeB(), summerB);
    QCOMPARE(int(HourOffsetA), offsetA);
    QCOMPARE(int(HourOffsetB), offsetB);
    QVERIFY(m_mainForm.log.isEmpty()); // opening changes nothing on the main window
    QCOMPARE(m_folder->read(SettingsFileName), file); // nor in the file
}

void TestSetTimeDialog::choicesSetTheOffsetsAtOnce()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    FIND_CONTROL(listA, QComboBox, &dialog, "Combo1");
    FIND_CONTROL(boxA, QCheckBox, &dialog, "Check1");
    FIND_CONTROL(listB, QComboBox, &dialog, "Combo2");
    FIND_CONTROL(boxB, QCheckBox, &dialog, "Check2");
    FIND_CONTROL(timeA, QLabel, &dialog, "Label11");

    choose(listA, QStringLiteral("Berlin"));
    QCOMPARE(HourOffsetA, -8);
    QTest::mouseClick(boxA, Qt::LeftButton);
    QVERIFY(dialog.summerTimeA());
    QCOMPARE(HourOffsetA, -7);
    dialog.dials().tick();
    QCOMPARE(timeA->text(), QStringLiteral("03:00:00")); // the preview follows
    // Ticking and clearing again and again never drifts.
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(boxA, Qt::LeftButton);
        QCOMPARE(HourOffsetA, -8);
        QTest::mouseClick(boxA, Qt::LeftButton);
        QCOMPARE(HourOffsetA, -7);
    }
    // Choosing a city, even the same one, clears its box and drops the extra hour.
    choose(listA, QStringLiteral("Berlin"));
    QVERIFY(!boxA->isChecked());
    QVERIFY(!dialog.summerTimeA());
    QCOMPARE(HourOffsetA, -8);
    clock.advance(1);
    dialog.dials().tick();
    QCOMPARE(timeA->text(), QStringLiteral("02:00:01"));

    // Dial B is separate: Wellington with summer time is four hours ahead.
    choose(listB, QStringLiteral("Wellington"));
    QTest::mouseClick(boxB, Qt::LeftButton);
    QCOMPARE(HourOffsetB, 4);
    QCOMPARE(HourOffsetA, -8);
    QVERIFY(m_mainForm.log.isEmpty());
}

void TestSetTimeDialog::failedSaveFallsBackToTokyo_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("disk full") << "disk full";
    QTest::newRow("folder vanished") << "folder vanished";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("file is a folder") << "file is a folder";
}

void TestSetTimeDialog::failedSaveFallsBackToTokyo()
{
    QFETCH(QString, failure);
    const QByteArray previous = "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n";
    const QDir folder = m_folder->dir();
    if (failure == QLatin1String("file is a folder"))
        QVERIFY(folder.mkdir(SettingsFileName));
    else
        QVERIFY(m_folder->write(SettingsFileName, previous));
    std::unique_ptr<ReadOnlyFolder> readOnly;
    if (failure == QLatin1String("read-only folder")) {
        readOnly = std::make_unique<ReadOnlyFolder>(folder.path());
        if (!readOnly->isActive())
            QSKIP("this user may write into any folder");
    }
    SetTimeDialog dialog(folder, m_mainForm);
    dialog.show();
    FIND_CONTROL(listB, QComboBox, &dialog, "Combo2");
    FIND_CONTROL(set, QPushButton, &dialog, "setTime");
    choose(listB, QStringLiteral("Sydney"));
    QCOMPARE(HourOffsetB, 1);
    if (failure == QLatin1String("folder vanished"))
        QVERIFY(QDir(folder).removeRecursively());

    MessageSeen seen;
    answerMessageBox(&seen);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^setTime\\.properties: ")));
    {
        std::optional<FullDisk> full;
        if (failure == QLatin1String("disk full")) {
            full.emplace();
            QVERIFY(full->isActive());
        }
        QTest::mouseClick(set, Qt::LeftButton);
    }
    readOnly.reset();

    QCOMPARE(seen.text, QStringLiteral("設定ファイルに書き込みができません"));
    QCOMPARE(seen.caption, QStringLiteral("Horavista"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(m_mainForm.log,
             (QStringList{QStringLiteral("select Tokyo"), QStringLiteral("captionA Tokyo"),
                          QStringLiteral("captionB Tokyo"), QStringLiteral("tagA 0"), QStringLiteral("tagB 0")}));
    QCOMPARE(HourOffsetA, 0);
    QCOMPARE(HourOffsetB, 0);
    QVERIFY(!dialog.isVisible());
    if (failure == QLatin1String("folder vanished")) {
        QVERIFY(!folder.exists());
    } else {
        if (failure != QLatin1String("file is a folder"))
            QCOMPARE(m_folder->read(SettingsFileName), previous); // the saved settings survive
        QStringList leftovers = folder.entryList(QDir::Files | QDir::Hidden);
        leftovers.removeOne(SettingsFileName);
        leftovers.removeOne(QStringLiteral("ico.ico"));
        QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(QLatin1Char(' '))));
    }
}

void TestSetTimeDialog::setWithNoCityFallsBackWithoutMessage()
{
    // A file naming no known city leaves both lists without a selection.
    QVERIFY(m_folder->write(SettingsFileName, "0,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n"));
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    dialog.show();
    FIND_CONTROL(set, QPushButton, &dialog, "setTime");
    auto messageShown = std::make_shared<bool>(false);
    QTimer::singleShot(0, [messageShown] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            *messageShown = true;
            modal->close();
        }
    });
    QTest::mouseClick(set, Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(!*messageShown); // the file was written; only the main window found no such city
    QCOMPARE(m_folder->read(SettingsFileName), QByteArray("0,\"\",0,\"\",#FALSE#,#FALSE#\r\n"));
    QCOMPARE(m_mainForm.log.first(), QStringLiteral("no entry "));
    QCOMPARE(m_mainForm.log.mid(1),
             (QStringList{QStringLiteral("select Tokyo"), QStringLiteral("captionA Tokyo"),
                          QStringLiteral("captionB Tokyo"), QStringLiteral("tagA 0"), QStringLiteral("tagB 0")}));
    QVERIFY(!dialog.isVisible());
}

void TestSetTimeDialog::cancelWritesNothing()
{
    const QByteArray saved = "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n";
    QVERIFY(m_folder->write(SettingsFileName, saved));
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    dialog.show();
    FIND_CONTROL(listA, QComboBox, &dialog, "Combo1");
    FIND_CONTROL(listB, QComboBox, &dialog, "Combo2");
    FIND_CONTROL(cancel, QPushButton, &dialog, "btnExit");
    choose(listA, QStringLiteral("Rome"));
    choose(listB, QStringLiteral("Moscow"));
    QTest::mouseClick(cancel, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_folder->read(SettingsFileName), saved);
    QVERIFY(m_mainForm.log.isEmpty());
    // The hands keep the last choice until the next save or start.
    QCOMPARE(HourOffsetA, -8);
    QCOMPARE(HourOffsetB, -6);
}

void TestSetTimeDialog::surfaceDragsAndOpensTheMenu_data()
{
    QTest::addColumn<QString>("pressedOn");
    QTest::addColumn<bool>("isSurface");
    QTest::newRow("background") << "" << true;
    QTest::newRow("Summer+Time label") << "Label1" << true;
    QTest::newRow("digital time") << "Label12" << true;
    QTest::newRow("numeral") << "Label7" << true;
    QTest::newRow("city list") << "Combo1" << false;
    QTest::newRow("summer-time box") << "Check2" << false;
    QTest::newRow("Set button") << "setTime" << false;
}

void TestSetTimeDialog::surfaceDragsAndOpensTheMenu()
{
    QFETCH(QString, pressedOn);
    QFETCH(bool, isSurface);
    SetTimeDialog dialog(m_folder->dir(), m_mainForm);
    QList<QPoint> menuOpenedAt;
    dialog.setPopUpMenu([&menuOpenedAt](const QPoint &at) { menuOpenedAt << at; });
    dialog.move(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QWidget *target = &dialog;
    QPoint at(150, 240); // the map below the lists
    if (!pressedOn.isEmpty()) {
        target = dialog.findChild<QWidget *>(pressedOn);
        QVERIFY2(target, qPrintable(pressedOn));
        at = QPoint(3, 3);
    }
    auto *list = qobject_cast<QComboBox *>(target);
    const QPoint before = dialog.pos();
    dragOn(target, at, QPoint(-40, 26), Qt::MiddleButton);
    QCOMPARE(dialog.pos(), before);
    dragOn(target, at, QPoint(-40, 26));
    QCOMPARE(dialog.pos(), isSurface ? before + QPoint(-40, 26) : before);
    QCOMPARE(dialog.mouse().Dragging, qint16(0)); // the release ended it
    if (list)
        list->hidePopup(); // the press opened the list

    const QPoint pointer = target->mapToGlobal(at);
    QTest::mouseClick(target, Qt::RightButton, {}, at);
    if (list)
        list->hidePopup();
    QCOMPARE(menuOpenedAt, isSurface ? QList<QPoint>{pointer} : QList<QPoint>{});
}

QTEST_MAIN(TestSetTimeDialog)
#include "tst_settimedialog.moc"
