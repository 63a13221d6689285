#include "app/callmenu.h"
#include "app/mainform.h"
#include "clock/dialpair.h"
#include "clock/houroffsets.h"
#include "platform/fonts.h"
#include "platform/formmouse.h"
#include "settings/settimedialog.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString SettingsFileName = QStringLiteral("setTime.properties");

QMenu *openMenu()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

CallMenu *callMenu()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QLatin1String("callMenu"))
            return qobject_cast<CallMenu *>(window);
    }
    return nullptr;
}

QAction *item(const QMenu *menu, const QString &name)
{
    for (QAction *action : menu->actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

/** Chooses an item of the open pop-up menu with a left click, as a user does. */
void clickItem(QMenu *menu, const QString &name)
{
    QAction *action = item(menu, name);
    QVERIFY2(action, qPrintable(name));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

/**
 * Right-clicks @p widget at @p at and hands the pop-up menu that opens to @p inMenu, which must
 * close it. Returns whether a menu opened.
 */
bool rightClick(QWidget *widget, const QPoint &at, const std::function<void(QMenu *)> &inMenu)
{
    auto opened = std::make_shared<bool>(false);
    QTimer::singleShot(0, [opened, inMenu] {
        if (QMenu *menu = openMenu()) {
            *opened = true;
            inMenu(menu);
        }
    });
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
    return *opened;
}

/** Runs @p inDialog on the clock-settings dialog once a command has opened it, then closes it if still open. */
void whenDialogOpens(const std::function<void(SetTimeDialog *)> &inDialog, int triesLeft = 200)
{
    QTimer::singleShot(0, [inDialog, triesLeft] {
        auto *dialog = qobject_cast<SetTimeDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            // A pop-up menu may still be on its way to the command.
            if (triesLeft > 0)
                QTimer::singleShot(10, [inDialog, triesLeft] { whenDialogOpens(inDialog, triesLeft - 1); });
            else
                QFAIL("no clock-settings dialog opened");
            return;
        }
        inDialog(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

/** Runs the program's event loop with @p act as its first event; the result is the loop's exit code. */
int runUntilTheProgramEnds(const std::function<void()> &act)
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    QTimer::singleShot(0, act);
    return QCoreApplication::exec();
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void surfaceDragsTheWindow_data();
    void surfaceDragsTheWindow();
    void noDragWithoutAPressOnTheSurface();
    void rightButtonOpensThePopUpMenu();
    void exitEndsTheProgram_data();
    void exitEndsTheProgram();
    void clockSettingsOpenOverTheMainWindow_data();
    void clockSettingsOpenOverTheMainWindow();
    void mainWindowFollowsTheDialogBeforeSaving();
    void setPutsTheChoiceOnTheMainWindow();
    void popUpMenuInTheDialog();
    void exitFromTheDialogsPopUpMenu();

private:
    std::unique_ptr<MainForm> start();
    std::unique_ptr<WorkingFolder> m_folder;
};

void TestMenus::initTestCase()
{
    Fonts::install();
}

void TestMenus::init()
{
    HourOffsetA = 0;
    HourOffsetB = 0;
    m_folder = std::make_unique<WorkingFolder>();
    VERIFY_FOLDER(*m_folder);
    QVERIFY(m_folder->copyIn(QStringLiteral(":/icon/ico.ico"), QStringLiteral("ico.ico")));
}

void TestMenus::cleanup()
{
    m_folder.reset();
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

std::unique_ptr<MainForm> TestMenus::start()
{
    auto mainForm = std::make_unique<MainForm>(m_folder->dir());
    mainForm->Form_Load();
    mainForm->show();
    if (!QTest::qWaitForWindowExposed(mainForm.get()))
        return nullptr;
    return mainForm;
}

void TestMenus::surfaceDragsTheWindow_data()
{
    QTest::addColumn<QString>("pressedOn");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("moves");
    QTest::newRow("surface, left") << "" << int(Qt::LeftButton) << true;
    QTest::newRow("surface, middle") << "" << int(Qt::MiddleButton) << false;
    QTest::newRow("city caption") << "Label1" << int(Qt::LeftButton) << false;
    QTest::newRow("city caption B") << "Label2" << int(Qt::LeftButton) << false;
    QTest::newRow("digital time") << "Label11" << int(Qt::LeftButton) << false;
    QTest::newRow("numeral") << "Label3" << int(Qt::LeftButton) << false;
    QTest::newRow("picture") << "Picture1" << int(Qt::LeftButton) << false;
    QTest::newRow("city list") << "Combo1" << int(Qt::LeftButton) << false;
}

void TestMenus::surfaceDragsTheWindow()
{
    QFETCH(QString, pressedOn);
    QFETCH(int, button);
    QFETCH(bool, moves);
    const auto mainForm = start();
    QVERIFY(mainForm);
    QWidget *target = mainForm->centralWidget();
    QPoint at(200, 10); // the bare surface between dial A and the picture
    if (!pressedOn.isEmpty()) {
        target = mainForm->findChild<QWidget *>(pressedOn);
        QVERIFY2(target, qPrintable(pressedOn));
        at = QPoint(4, 4);
    }
    const QPoint before = mainForm->pos();
    dragOn(target, at, QPoint(30, 16), Qt::MouseButton(button));
    QCOMPARE(mainForm->pos(), moves ? before + QPoint(30, 16) : before);
    // Once more, far: no bounds keep the window on the screen. (The offscreen platform misplaces windows
    // at negative coordinates, so the test drags it off to the lower right.)
    dragOn(target, at, QPoint(1200, 1000), Qt::MouseButton(button));
    QCOMPARE(mainForm->pos(), moves ? before + QPoint(1230, 1016) : before);
    if (moves)
        QVERIFY(!mainForm->screen()->geometry().intersects(mainForm->frameGeometry()));
    if (moves) {
        QCOMPARE(mainForm->mouse().DragX, float(at.x() * mainForm->pixelTwips()));
        QCOMPARE(mainForm->mouse().DragY, float(at.y() * mainForm->pixelTwips()));
    }
    QCOMPARE(mainForm->mouse().Dragging, qint16(0));
    auto *list = qobject_cast<QComboBox *>(target);
    if (list)
        list->hidePopup(); // the press opened the list
    if (!pressedOn.isEmpty()) {
        // Controls that keep the mouse do not open the pop-up menu either.
        QVERIFY(!rightClick(target, at, [](QMenu *menu) { menu->close(); }));
        if (list)
            list->hidePopup();
    }
    QVERIFY(!callMenu());
}

void TestMenus::noDragWithoutAPressOnTheSurface()
{
    const auto mainForm = start();
    QVERIFY(mainForm);
    QWidget *surface = mainForm->centralWidget();
    const QPoint before = mainForm->pos();
    // The button went down outside the window; the pointer then crosses it with the button held.
    const QPoint pointer = surface->mapToGlobal(QPoint(100, 60));
    QMouseEvent move(QEvent::MouseMove, surface->mapFromGlobal(pointer), pointer, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    QCOMPARE(mainForm->pos(), before);

    // After a drag has ended, moving the pointer moves nothing.
    dragOn(surface, QPoint(200, 10), QPoint(10, 10));
    const QPoint dragged = mainForm->pos();
    QCOMPARE(dragged, before + QPoint(10, 10));
    QApplication::sendEvent(surface, &move);
    QCOMPARE(mainForm->pos(), dragged);
}

void TestMenus::rightButtonOpensThePopUpMenu()
{
    const auto mainForm = start();
    QVERIFY(mainForm);
    QWidget *surface = mainForm->centralWidget();
    QVERIFY(!callMenu()); // loaded at the first right click
    QStringList items;
    QPoint menuAt;
    bool carrierHidden = false;
    const bool opened = rightClick(surface, QPoint(200, 10), [&](QMenu *menu) {
        for (const QAction *action : menu->actions())
            items << action->objectName() + QLatin1Char('=') +
                    (action->isSeparator() ? QStringLiteral("-") : action->text());
        menuAt = menu->pos();
        carrierHidden = callMenu() && !callMenu()->isVisible();
        QCOMPARE(menu->objectName(), QStringLiteral("mnuFILE"));
        QCOMPARE(menu->title(), QStringLiteral("File(&F)"));
        QCOMPARE(menu->parentWidget(), callMenu());
        // The pop-up menu and the menu bar carry the same commands.
        QCOMPARE(item(menu, QStringLiteral("mnuExit")), mainForm->findChild<QAction *>(QStringLiteral("mnuExit")));
        menu->close();
    });
    QVERIFY(opened);
    QCOMPARE(items,
             (QStringList{QStringLiteral("mnuSetTime=時計設定"), QStringLiteral("mnuSetImg=画像設定"),
                          QStringLiteral("mnuStep2=-"), QStringLiteral("mnuExit=終了")}));
    QCOMPARE(menuAt, surface->mapToGlobal(QPoint(200, 10)));
    QVERIFY(carrierHidden);
    QCOMPARE(callMenu()->windowTitle(), QStringLiteral("menu用ダミー"));
    QVERIFY(!callMenu()->isVisible()); // it stays loaded, never shown
    QVERIFY(mainForm->isVisible());
    QCOMPARE(mainForm->mouse().Dragging, qint16(0));
}

void TestMenus::exitEndsTheProgram_data()
{
    QTest::addColumn<QString>("from");
    QTest::newRow("menu bar") << "menu bar";
    QTest::newRow("pop-up menu") << "pop-up menu";
    QTest::newRow("menu bar after a dismissed pop-up menu") << "menu bar after pop-up";
    QTest::newRow("close box after a dismissed pop-up menu") << "close box after pop-up";
}

void TestMenus::exitEndsTheProgram()
{
    QFETCH(QString, from);
    QVERIFY(m_folder->write(SettingsFileName, "-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n"));
    const auto mainForm = start();
    QVERIFY(mainForm);
    QWidget *surface = mainForm->centralWidget();
    const QStringList filesBefore = m_folder->dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (from != QLatin1String("menu bar") && from != QLatin1String("pop-up menu")) {
        QVERIFY(rightClick(surface, QPoint(200, 10), [](QMenu *menu) { menu->close(); }));
        QVERIFY(callMenu());
    }

    const int exitCode = runUntilTheProgramEnds([&] {
        if (from == QLatin1String("pop-up menu")) {
            QVERIFY(
                rightClick(surface, QPoint(200, 10), [](QMenu *menu) { clickItem(menu, QStringLiteral("mnuExit")); }));
        } else if (from == QLatin1String("close box after pop-up")) {
            QVERIFY(mainForm->close());
        } else {
            mainForm->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        }
    });
    QCOMPARE(exitCode, 0); // the event loop ended: no window of the program is left open
    QVERIFY(!mainForm->isVisible());
    QTRY_VERIFY(!callMenu()); // nor a hidden one
    QCOMPARE(m_folder->dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), filesBefore); // nothing written
}

void TestMenus::clockSettingsOpenOverTheMainWindow_data()
{
    QTest::addColumn<bool>("fromPopUpMenu");
    QTest::newRow("menu bar") << false;
    QTest::newRow("pop-up menu") << true;
}

void TestMenus::clockSettingsOpenOverTheMainWindow()
{
    QFETCH(bool, fromPopUpMenu);
    const auto mainForm = start();
    QVERIFY(mainForm);
    mainForm->move(mainForm->pos() + QPoint(-37, 23)); // off the screen's centre
    QString opened;
    QPoint offCentre(99, 99);
    bool modal = false;
    const auto inDialog = [&](SetTimeDialog *dialog) {
        opened = dialog->objectName();
        modal = dialog->isModal() && dialog->parentWidget() == mainForm.get();
        offCentre = dialog->frameGeometry().center() - mainForm->frameGeometry().center();
        FIND_CONTROL(cancel, QPushButton, dialog, "btnExit");
        QTest::mouseClick(cancel, Qt::LeftButton);
    };
    if (fromPopUpMenu) {
        QVERIFY(rightClick(mainForm->centralWidget(), QPoint(200, 10), [&](QMenu *menu) {
            whenDialogOpens(inDialog);
            clickItem(menu, QStringLiteral("mnuSetTime"));
        }));
    } else {
        whenDialogOpens(inDialog);
        mainForm->findChild<QAction *>(QStringLiteral("mnuSetTime"))->trigger();
    }
    QCOMPARE(opened, QStringLiteral("setTime"));
    QVERIFY(modal);
    QVERIFY2(qAbs(offCentre.x()) <= 1 && qAbs(offCentre.y()) <= 1,
             qPrintable(QStringLiteral("%1, %2 off the centre").arg(offCentre.x()).arg(offCentre.y())));
    QVERIFY(!mainForm->findChild<SetTimeDialog *>()); // unloaded at closing
    QVERIFY(mainForm->isVisible());
}

void TestMenus::mainWindowFollowsTheDialogBeforeSaving()
{
    FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
    QVERIFY(m_folder->write(SettingsFileName, "-13,\"New York\",1,\"Sydney\",#TRUE#,#FALSE#\r\n"));
    const auto mainForm = start();
    QVERIFY(mainForm);
    FIND_CONTROL(timeA, QLabel, mainForm.get(), "Label11");
    FIND_CONTROL(timeB, QLabel, mainForm.get(), "Label12");
    FIND_CONTROL(cityA, QLabel, mainForm.get(), "Label1");
    FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
    QStringList seen;
    whenDialogOpens([&](SetTimeDialog *dialog) {
        FIND_CONTROL(listA, QComboBox, dialog, "Combo1");
        listA->showPopup();
        listA->view()->setCurrentIndex(listA->model()->index(listA->findText(QStringLiteral("Berlin")), 0));
        QTest::keyClick(listA->view(), Qt::Key_Return);
        mainForm->dials().tick(); // the main window's own tick, while the dialog is open
        seen << timeA->text() << timeB->text();
        FIND_CONTROL(boxA, QCheckBox, dialog, "Check1");
        QTest::mouseClick(boxA, Qt::LeftButton);
        clock.advance(1);
        mainForm->dials().tick();
        seen << timeA->text();
        QVERIFY(dialog->close()); // the close box
    });
    mainForm->findChild<QAction *>(QStringLiteral("mnuSetTime"))->trigger();
    QCOMPARE(seen, (QStringList{QStringLiteral("02:00:00"), QStringLiteral("11:00:00"), QStringLiteral("03:00:01")}));
    // Closed without saving: the hands keep the last choice, the captions the saved one.
    QCOMPARE(HourOffsetA, -7);
    QCOMPARE(cityA->text(), QStringLiteral("New York"));
    QVERIFY(tagA->isVisible());
    QCOMPARE(m_folder->read(SettingsFileName), QByteArray("-13,\"New York\",1,\"Sydney\",#TRUE#,#FALSE#\r\n"));
}

void TestMenus::setPutsTheChoiceOnTheMainWindow()
{
    const auto mainForm = start();
    QVERIFY(mainForm);
    FIND_CONTROL(list, QComboBox, mainForm.get(), "Combo1");
    // An unsaved choice in the main window's list gives way to the saved settings when the dialog opens.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(HourOffsetB, -8);
    int offsetBAtOpening = 99;
    whenDialogOpens([&](SetTimeDialog *dialog) {
        offsetBAtOpening = HourOffsetB;
        FIND_CONTROL(listB, QComboBox, dialog, "Combo2");
        listB->showPopup();
        listB->view()->setCurrentIndex(listB->model()->index(listB->findText(QStringLiteral("Sydney")), 0));
        QTest::keyClick(listB->view(), Qt::Key_Return);
        FIND_CONTROL(boxB, QCheckBox, dialog, "Check2");
        QTest::mouseClick(boxB, Qt::LeftButton);
        FIND_CONTROL(set, QPushButton, dialog, "setTime");
        QTest::mouseClick(set, Qt::LeftButton);
    });
    mainForm->findChild<QAction *>(QStringLiteral("mnuSetTime"))->trigger();
    QCOMPARE(offsetBAtOpening, 0);

    QCOMPARE(m_folder->read(SettingsFileName), QByteArray("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
    FIND_CONTROL(cityA, QLabel, mainForm.get(), "Label1");
    FIND_CONTROL(cityB, QLabel, mainForm.get(), "Label2");
    FIND_CONTROL(tagA, QLabel, mainForm.get(), "Label13");
    FIND_CONTROL(tagB, QLabel, mainForm.get(), "Label14");
    QCOMPARE(cityA->text(), QStringLiteral("Tokyo"));
    QCOMPARE(cityB->text(), QStringLiteral("Sydney"));
    QCOMPARE(list->currentText(), QStringLiteral("Sydney"));
    QVERIFY(!tagA->isVisible());
    QVERIFY(tagB->isVisible());
    QCOMPARE(HourOffsetA, 0);
    QCOMPARE(HourOffsetB, 2); // the saved line read back, not the list handler's 1
}

void TestMenus::popUpMenuInTheDialog()
{
    const auto mainForm = start();
    QVERIFY(mainForm);
    int dialogsOpen = 0;
    QStringList items;
    bool stillOpen = false;
    // Opened from the main window's own pop-up menu, so two menus' worth of commands are on the stack.
    const auto inDialog = [&](SetTimeDialog *dialog) {
        QVERIFY(rightClick(dialog, QPoint(150, 240), [&](QMenu *menu) {
            for (const QAction *action : menu->actions())
                items << action->objectName();
            clickItem(menu, QStringLiteral("mnuSetTime")); // the dialog is open already: nothing happens
        }));
        dialogsOpen = int(mainForm->findChildren<SetTimeDialog *>().size());
        stillOpen = dialog->isVisible() && QApplication::activeModalWidget() == dialog;
        QVERIFY(rightClick(dialog, QPoint(150, 240), [](QMenu *menu) { menu->close(); }));
    };
    QVERIFY(rightClick(mainForm->centralWidget(), QPoint(200, 10), [&](QMenu *menu) {
        whenDialogOpens(inDialog);
        clickItem(menu, QStringLiteral("mnuSetTime"));
    }));
    QCOMPARE(items,
             (QStringList{QStringLiteral("mnuSetTime"), QStringLiteral("mnuSetImg"), QStringLiteral("mnuStep2"),
                          QStringLiteral("mnuExit")}));
    QCOMPARE(dialogsOpen, 1);
    QVERIFY(stillOpen);
    QVERIFY(mainForm->isVisible());
}

void TestMenus::exitFromTheDialogsPopUpMenu()
{
    const auto mainForm = start();
    QVERIFY(mainForm);
    bool dialogClosedFirst = false;
    connect(qApp, &QGuiApplication::lastWindowClosed, this,
            [&dialogClosedFirst] { dialogClosedFirst = !QApplication::activeModalWidget(); });
    const int exitCode = runUntilTheProgramEnds([&] {
        whenDialogOpens([](SetTimeDialog *dialog) {
            FIND_CONTROL(listA, QComboBox, dialog, "Combo1");
            listA->showPopup();
            listA->view()->setCurrentIndex(listA->model()->index(3, 0));
            QTest::keyClick(listA->view(), Qt::Key_Return);
            QVERIFY(
                rightClick(dialog, QPoint(150, 240), [](QMenu *menu) { clickItem(menu, QStringLiteral("mnuExit")); }));
            QVERIFY(!dialog->isVisible());
        });
        mainForm->findChild<QAction *>(QStringLiteral("mnuSetTime"))->trigger();
    });
    disconnect(qApp, &QGuiApplication::lastWindowClosed, this, nullptr);
    QCOMPARE(exitCode, 0);
    QVERIFY(dialogClosedFirst);
    QVERIFY(!mainForm->isVisible());
    QTRY_VERIFY(!callMenu());
    QVERIFY(!QFile::exists(m_folder->path(SettingsFileName))); // Exit saves nothing
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
