#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "dials/dialface.h"
#include "dials/dialpair.h"
#include "testsupport.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QToolTip>

#include <ctime>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// A clock on Windows, a picture with a description elsewhere.
#ifdef Q_OS_WIN
constexpr QAccessible::Role DialRole = QAccessible::Clock;
#else
constexpr QAccessible::Role DialRole = QAccessible::Graphic;
#endif

QString heardAs(QAccessible::Role role, const QString &name)
{
    return u"%1: %2"_s.arg(int(role)).arg(name);
}

// What a screen reader finds of a window: "role: name" of every object on screen, and what it describes.
struct Heard
{
    explicit Heard(QObject *window) { listen(QAccessible::queryAccessibleInterface(window)); }
    void listen(QAccessibleInterface *object)
    {
        if (!object || object->state().invisible)
            return;
        objects << heardAs(object->role(), object->text(QAccessible::Name));
        if (!object->text(QAccessible::Description).isEmpty())
            descriptions << object->text(QAccessible::Description);
        // A list is named by the label it has as its buddy on some systems: that label counts as its name.
        for (const auto &[label, relation] : object->relations(QAccessible::Label))
            objects << heardAs(object->role(), label->text(QAccessible::Name));
        for (int i = 0; i < object->childCount(); ++i)
            listen(object->child(i));
    }
    QStringList objects, descriptions;
};

// Design names (Check1, Combo1, Label11, mnuExit, ...) are for the code; nobody should hear them.
const QRegularExpression
    DesignName(u"^\\d+: ((Label|Combo|Check|Line|Shape|Picture|Timer|Drive|Dir|File)\\d+|mnu\\w+|"
               "btn\\w+|cmd\\w+|lbl\\w+|picIcon|setTime|setImg|setPic|frmAbout|mainForm|dial[AB])$"_s);

// The labels of @p window with text whose letters cannot be seen on a dark ground: fewer than five light pixels.
QStringList illegible(QWidget *window, const QList<QLabel *> &labels)
{
    const QImage shown = window->grab().toImage();
    QStringList unseen;
    for (const QLabel *label : labels) {
        int light = 0;
        const QRect area = label->geometry().intersected(shown.rect());
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                light += qGray(shown.pixel(x, y)) >= 160;
        if (label->isVisible() && !label->text().isEmpty() && light < 5)
            unseen << label->objectName();
    }
    return unseen;
}

} // namespace

class TestAccess : public WindowTest
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::initTestCase();
        // The dials compare their date and hours with the computer's clock: a computer in Japan.
#ifdef Q_OS_WIN
        qputenv("TZ", "JST-9"); // the C library's own form there: nine hours ahead of UTC
#else
        qputenv("TZ", "Asia/Tokyo");
#endif
        tzset();
    }

    void mainWindowIsHeardLegibleOnADarkPaletteAndWorkedByKeyboard()
    {
        // Light texts (window, button, text) on dark grounds (button, window, base).
        const auto designed = qScopeGuard([palette = QApplication::palette()] { QApplication::setPalette(palette); });
        QApplication::setPalette(QPalette(Qt::white, QColor(0x30, 0x30, 0x30), Qt::gray, Qt::black, Qt::darkGray,
                                          Qt::white, Qt::white, Qt::black, QColor(0x20, 0x20, 0x20)));
        FixedClock clock(japanTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        QVERIFY(m_folder->write(u"setTime.properties"_s, "-7,\"Berlin\",-17,\"Los Angels\",#TRUE#,#FALSE#"));
        ClockModel model;
        MainWindow mainWindow(m_folder->dir(), model);
        mainWindow.load();
        mainWindow.show();
        mainWindow.activateWindow();
        mainWindow.findChild<DialPair *>()->tick();
        QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
        QWidget *surface = mainWindow.centralWidget();
        FIND_CHILD(list, QComboBox, &mainWindow, "Combo1");
        const QImage shown = surface->grab().toImage();
        // Dial A's outline, minute and hour hands (03:00: up and right), every numeral, time and caption.
        QCOMPARE((QList<int>{qGray(shown.pixel(8, 60)), qGray(shown.pixel(61, 40)), qGray(shown.pixel(75, 61))}),
                 (QList<int>{255, 255, 255}));
        QList<QLabel *> texts; // but the red tags, which keep their own colours
        std::ranges::copy_if(surface->findChildren<DialText *>(), std::back_inserter(texts),
                             [](QLabel *label) { return !label->autoFillBackground(); });
        QCOMPARE(illegible(surface, texts), QStringList());
        Heard heard(&mainWindow);
        QCOMPARE(heard.objects.filter(DesignName), QStringList());
        for (const QString &object :
             {heardAs(DialRole, u"時計 A: Berlin"_s), heardAs(DialRole, u"時計 B: Los Angels"_s),
              heardAs(QAccessible::Graphic, u"時計の間の画像"_s), heardAs(QAccessible::ComboBox, u"時計 B の都市"_s)})
            QVERIFY2(heard.objects.contains(object), qPrintable(object));
        // The clocks speak for their numerals, times, captions and tags.
        QCOMPARE(heard.objects.filter(QRegularExpression(u"15$|Summer\\+Time"_s)), QStringList());
        QCOMPARE(heard.descriptions,
                 (QStringList{u"03:00:15 サマータイム, このコンピューターより 7 時間遅れ"_s,
                              u"17:00:15, 12月5日 (前日), このコンピューターより 17 時間遅れ"_s}));
        // The tooltip says the same of a dial, with its city.
        QHelpEvent help(QEvent::ToolTip, QPoint(330, 200), surface->mapToGlobal(QPoint(330, 200)));
        QApplication::sendEvent(surface, &help);
        QCOMPARE(QToolTip::text(), u"Los Angels: 12月5日 (前日), このコンピューターより 17 時間遅れ"_s);
        QToolTip::hideText();

        // The times follow the ticks, the cities the model.
        clock.advance(1);
        mainWindow.findChild<DialPair *>()->tick();
        model.chooseCity(Dial::B, 0);
        heard = Heard(&mainWindow);
        QVERIFY(heard.objects.contains(heardAs(DialRole, u"時計 B: Tokyo"_s)));
        QCOMPARE(heard.descriptions.value(0), u"03:00:16 サマータイム, このコンピューターより 7 時間遅れ"_s);
        // Tab goes from the list to dial A and dial B, which shows a focus frame.
        FIND_CHILD(dialB, DialFace, &mainWindow, "dialB");
        QTest::keyClick(list, Qt::Key_Tab);
        QTest::keyClick(mainWindow.focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialB);
        const QImage framed = dialB->grab().toImage();
        QCOMPARE_NE(framed.pixelColor(3, dialB->height() / 2), framed.pixelColor(1, dialB->height() / 2));
        QCursor::setPos(mainWindow.frameGeometry().bottomRight() + QPoint(50, 50)); // the pointer away
        // Shift+F10 and the Menu key open the menu at the control with the focus, or at the pointer over the window.
        for (const auto &[key, modifiers, pointerOver] :
             {std::tuple{Qt::Key_Menu, Qt::NoModifier, false}, std::tuple{Qt::Key_F10, Qt::ShiftModifier, true}}) {
            if (pointerOver)
                QCursor::setPos(surface->mapToGlobal(QPoint(200, 10)));
            mainWindow.activateWindow(); // back from the menu before
            list->setFocus();
            QTRY_VERIFY(list->hasFocus());
            QPoint openedAt;
            QString menuName, chosen;
            // Once the menu has opened and chosen its first entry, as a menu opened by a key does.
            QTimer::singleShot(0, [&] {
                QTimer::singleShot(0, [&] {
                    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                        openedAt = menu->pos();
                        chosen = menu->activeAction() ? menu->activeAction()->text() : QString();
                        menuName = QAccessible::queryAccessibleInterface(menu)->text(QAccessible::Name);
                        menu->close();
                    }
                });
            });
            QTest::keyClick(list, key, modifiers);
            QCOMPARE(openedAt, pointerOver ? QCursor::pos() : list->mapToGlobal(list->rect().center()));
            QCOMPARE(menuName, u"時計のメニュー"_s);
            QCOMPARE(chosen, u"時計設定"_s);
        }
        // The dialogs: their controls named in words (the map behind the clock settings' dials described), and
        // their texts legible.
        for (const auto &[command, objects] :
             {std::pair{"mnuSetTime",
                        QStringList{heardAs(QAccessible::CheckBox, u"時計 A のサマータイム"_s),
                                    heardAs(QAccessible::ComboBox, u"時計 A の都市"_s),
                                    heardAs(QAccessible::ComboBox, u"時計 B の都市"_s)}},
              std::pair{"mnuSetImg",
                        QStringList{heardAs(QAccessible::ComboBox, u"ドライブ"_s),
                                    heardAs(QAccessible::List, u"フォルダー"_s),
                                    heardAs(QAccessible::List, u"画像ファイル"_s),
                                    heardAs(QAccessible::Graphic, u"プレビュー"_s)}},
              std::pair{"mnuCallVersion", QStringList{heardAs(QAccessible::Graphic, u"Horavista のアイコン"_s)}}}) {
            std::optional<Heard> inDialog;
            QStringList unseen{QLatin1String(command) + u" not opened"_s};
            whenModalOpens([&](QWidget *dialog) {
                inDialog.emplace(dialog);
                unseen = illegible(dialog, dialog->findChildren<QLabel *>());
                dialog->close();
            });
            mainWindow.findChild<QAction *>(QLatin1String(command))->trigger();
            QCOMPARE(unseen, QStringList());
            QCOMPARE(inDialog->objects.filter(DesignName), QStringList());
            for (const QString &object : objects)
                QVERIFY2(inDialog->objects.contains(object), qPrintable(object));
            QCOMPARE(inDialog->descriptions.filter(u"世界地図"_s).size(), int(qstrcmp(command, "mnuSetTime") == 0));
        }
        // Alt+F opens the File menu; Ctrl+Q ends the program.
        mainWindow.activateWindow();
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), u"mnuFile"_s);
        QApplication::activePopupWidget()->close();
        mainWindow.activateWindow();
        QTRY_VERIFY(mainWindow.isActiveWindow());
        QTest::keyClick(list, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!mainWindow.isVisible());
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
