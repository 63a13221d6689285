#include "app/mainform.h"
#include "clock/clockmodel.h"
#include "clock/dialpair.h"
#include "platform/fonts.h"
#include "settings/settimedialog.h"
#include "windowtest.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString SettingsFileName = QStringLiteral("setTime.properties");

/** Right-clicks @p widget at @p at and chooses @p item of the pop-up menu that opens, or closes the menu. */
void rightClick(QWidget *widget, const QPoint &at, const char *item = nullptr)
{
    QTimer::singleShot(0, [item] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY2(menu, "no pop-up menu opened");
        for (QAction *action : menu->actions()) {
            if (item && action->objectName() == QLatin1String(item))
                return QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
        menu->close();
    });
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
    QCoreApplication::processEvents();
}

/** Runs @p inDialog on the clock-settings dialog once a command has opened it, then closes it if still open. */
void whenDialogOpens(const std::function<void(SetTimeDialog *)> &inDialog, int triesLeft = 200)
{
    QTimer::singleShot(10, [inDialog, triesLeft] {
        auto *dialog = qobject_cast<SetTimeDialog *>(QApplication::activeModalWidget());
        if (!dialog && triesLeft > 0)
            return whenDialogOpens(inDialog, triesLeft - 1); // a pop-up menu may still be on its way
        QVERIFY2(dialog, "no clock-settings dialog opened");
        inDialog(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

/** Picks @p city from the dialog's list @p name as a user does: open the list, move to the entry, press Enter. */
void choose(QWidget *dialog, const char *name, const QString &city)
{
    auto *list = dialog->findChild<QComboBox *>(QLatin1String(name));
    list->showPopup();
    list->view()->setCurrentIndex(list->model()->index(list->findText(city), 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
}

} // namespace

class TestMenus : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void surfaceDragsTheWindow_data()
    {
        QTest::addColumn<QString>("pressedOn");
        QTest::addColumn<int>("button");
        QTest::newRow("surface, left") << "" << int(Qt::LeftButton);
        QTest::newRow("surface, middle") << "" << int(Qt::MiddleButton);
        QTest::newRow("city caption") << "Label1" << int(Qt::LeftButton);
        QTest::newRow("picture") << "Picture1" << int(Qt::LeftButton);
        QTest::newRow("city list") << "Combo1" << int(Qt::LeftButton);
    }

    void surfaceDragsTheWindow()
    {
        QFETCH(QString, pressedOn);
        QFETCH(int, button);
        const bool moves = pressedOn.isEmpty() && button == Qt::LeftButton;
        const auto mainForm = start();
        QVERIFY(mainForm);
        QWidget *target = pressedOn.isEmpty() ? mainForm->centralWidget() : mainForm->findChild<QWidget *>(pressedOn);
        QVERIFY(target);
        const QPoint at =
            pressedOn.isEmpty() ? QPoint(200, 10) : QPoint(4, 4); // bare surface between dial A and picture
        const QPoint before = mainForm->pos();
        // Far: no bounds keep the window on the screen. (The offscreen platform misplaces windows at negative
        // coordinates, so the drag goes to the lower right.)
        dragOn(target, at, QPoint(1230, 1016), Qt::MouseButton(button));
        QCOMPARE(mainForm->pos(), moves ? before + QPoint(1230, 1016) : before);
        if (auto *list = qobject_cast<QComboBox *>(target))
            list->hidePopup(); // the press opened the list
        // The release ended the drag: the pointer crossing the surface with the button held moves nothing.
        const QPoint moved = mainForm->pos();
        const QPoint pointer = mainForm->centralWidget()->mapToGlobal(QPoint(100, 60));
        QMouseEvent move(QEvent::MouseMove, QPoint(100, 60), pointer, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(mainForm->centralWidget(), &move);
        QCOMPARE(mainForm->pos(), moved);
    }

    void popUpMenusOfTheWindowAndTheDialog()
    {
        const auto mainForm = start();
        QVERIFY(mainForm);
        QWidget *surface = mainForm->centralWidget();
        rightClick(surface, QPoint(200, 10));
        const auto *menu = mainForm->findChild<QMenu *>(QStringLiteral("mnuFILE"));
        QCOMPARE(menu->pos(), surface->mapToGlobal(QPoint(200, 10)));
        QStringList items;
        for (QAction *action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            // The menu bar's own commands.
            QVERIFY(action->isSeparator() || mainForm->findChild<QAction *>(action->objectName()) == action);
        }
        QCOMPARE(items.join(QLatin1Char(' ')), QStringLiteral("時計設定 画像設定 - 終了"));

        int secondDialogs = 0;
        whenDialogOpens([&](SetTimeDialog *dialog) {
            QVERIFY(dialog->isModal() && dialog->parentWidget() == mainForm.get());
            QVERIFY((dialog->frameGeometry().center() - mainForm->frameGeometry().center()).manhattanLength() <= 2);
            // The dialog's own pop-up menu: its 時計設定 does nothing, the dialog being open already. A second
            // dialog over this one would be counted and closed.
            QTimer::singleShot(200, dialog, [&] {
                ++secondDialogs;
                QApplication::activeModalWidget()->close();
            });
            rightClick(dialog, QPoint(150, 240), "mnuSetTime");
            QCOMPARE(QApplication::activeModalWidget(), dialog);
        });
        rightClick(surface, QPoint(200, 10), "mnuSetTime");
        QCOMPARE(secondDialogs, 0);
        QVERIFY(!mainForm->findChild<SetTimeDialog *>()); // unloaded at closing
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<QString>("from");
        QTest::newRow("menu bar") << "menu bar";
        QTest::newRow("menu bar after a dismissed pop-up menu") << "menu bar after pop-up";
        QTest::newRow("pop-up menu") << "pop-up";
        QTest::newRow("pop-up menu of the clock-settings dialog") << "dialog";
    }

    void exitEndsTheProgram()
    {
        QFETCH(QString, from);
        const auto mainForm = start();
        QVERIFY(mainForm);
        QWidget *surface = mainForm->centralWidget();
        if (from == QLatin1String("menu bar after pop-up"))
            rightClick(surface, QPoint(200, 10));
        bool dialogClosedFirst = false;
        connect(qApp, &QGuiApplication::lastWindowClosed, mainForm.get(),
                [&dialogClosedFirst] { dialogClosedFirst = !QApplication::activeModalWidget(); });
        QTimer::singleShot(5000, mainForm.get(), [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, mainForm.get(), [&] {
            if (from == QLatin1String("pop-up"))
                return rightClick(surface, QPoint(200, 10), "mnuExit");
            const bool viaDialog = from == QLatin1String("dialog");
            if (viaDialog)
                whenDialogOpens([](SetTimeDialog *dialog) { rightClick(dialog, QPoint(150, 240), "mnuExit"); });
            mainForm->findChild<QAction *>(viaDialog ? QStringLiteral("mnuSetTime") : QStringLiteral("mnuExit"))
                ->trigger();
        });
        QCOMPARE(QCoreApplication::exec(), 0); // the event loop ended: no window of the program is left open
        QVERIFY(dialogClosedFirst);
        QVERIFY(!mainForm->isVisible());
        QCOMPARE(m_folder->dir().entryList(QDir::Files), QStringList{QStringLiteral("ico.ico")}); // nothing written
    }

    void mainWindowFollowsTheDialogThenSetSaves()
    {
        FixedClock clock(QDateTime(QDate(2026, 12, 6), QTime(10, 0, 0)));
        const QByteArray saved = "-13,\"New York\",1,\"Sydney\",#TRUE#,#FALSE#\r\n";
        QVERIFY(m_folder->write(SettingsFileName, saved));
        const auto mainForm = start();
        QVERIFY(mainForm);
        const auto label = [&mainForm](const char *name) {
            return mainForm->findChild<QLabel *>(QLatin1String(name));
        };
        QAction *setTime = mainForm->findChild<QAction *>(QStringLiteral("mnuSetTime"));

        // The main window's own ticks follow every choice before anything is saved; the close box saves nothing.
        QStringList seen;
        whenDialogOpens([&](SetTimeDialog *dialog) {
            choose(dialog, "Combo1", QStringLiteral("Berlin"));
            mainForm->findChild<DialPair *>()->tick();
            seen << label("Label11")->text() << label("Label12")->text();
            QTest::mouseClick(dialog->findChild<QCheckBox *>(QStringLiteral("Check1")), Qt::LeftButton);
            clock.advance(1);
            mainForm->findChild<DialPair *>()->tick();
            seen << label("Label11")->text();
            QVERIFY(dialog->close());
        });
        setTime->trigger();
        QCOMPARE(seen.join(QLatin1Char(' ')), QStringLiteral("02:00:00 11:00:00 03:00:01"));
        QCOMPARE(m_clock.offsetA(), -7); // the hands keep the last choice, the captions the saved one
        QCOMPARE(label("Label1")->text(), QStringLiteral("New York"));
        QVERIFY(label("Label13")->isVisible());
        QCOMPARE(m_folder->read(SettingsFileName), saved);

        // Set saves, puts the cities and tags on the main window, and reads the file back.
        whenDialogOpens([&](SetTimeDialog *dialog) {
            choose(dialog, "Combo1", QStringLiteral("Tokyo"));
            choose(dialog, "Combo2", QStringLiteral("Sydney"));
            QTest::mouseClick(dialog->findChild<QCheckBox *>(QStringLiteral("Check2")), Qt::LeftButton);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("setTime")), Qt::LeftButton);
        });
        setTime->trigger();
        QCOMPARE(m_folder->read(SettingsFileName), QByteArray("0,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n"));
        QCOMPARE(label("Label1")->text(), QStringLiteral("Tokyo"));
        QCOMPARE(label("Label2")->text(), QStringLiteral("Sydney"));
        QCOMPARE(mainForm->findChild<QComboBox *>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("Sydney"));
        QVERIFY(!label("Label13")->isVisible());
        QVERIFY(label("Label14")->isVisible());
        QCOMPARE(m_clock.offsetA(), 0);
        QCOMPARE(m_clock.offsetB(), 2); // the saved line read back, not the list handler's 1
    }

private:
    std::unique_ptr<MainForm> start()
    {
        auto mainForm = std::make_unique<MainForm>(m_folder->dir(), m_clock);
        mainForm->load();
        mainForm->show();
        return QTest::qWaitForWindowExposed(mainForm.get()) ? std::move(mainForm) : nullptr;
    }
    ClockModel m_clock;
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
