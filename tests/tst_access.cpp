#include "about/aboutbox.h"
#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "dials/dialface.h"
#include "dials/dialpair.h"
#include "picture/picturedialog.h"
#include "platform/drivelist.h"
#include "settings/clocksettingsdialog.h"
#include "testsupport.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QToolTip>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

/** What a screen reader finds of a window: "role: name" of every object on screen, and what it describes. */
struct Heard
{
    QStringList objects;
    QStringList descriptions;
};

void listen(QAccessibleInterface *object, Heard *heard)
{
    if (!object || object->state().invisible)
        return;
    heard->objects << u"%1: %2"_s.arg(int(object->role())).arg(object->text(QAccessible::Name));
    if (!object->text(QAccessible::Description).isEmpty())
        heard->descriptions << object->text(QAccessible::Description);
    // A list is named by the label it has as its buddy on some systems: that label counts as its name.
    for (const auto &[label, relation] : object->relations(QAccessible::Label))
        heard->objects << u"%1: %2"_s.arg(int(object->role())).arg(label->text(QAccessible::Name));
    for (int i = 0; i < object->childCount(); ++i)
        listen(object->child(i), heard);
}

Heard heardOf(QObject *window)
{
    Heard heard;
    listen(QAccessible::queryAccessibleInterface(window), &heard);
    return heard;
}

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

/** Design names (Check1, Combo1, Label11, mnuExit, ...) are for the code; nobody should hear them. */
QStringList designNames(const Heard &heard)
{
    static const QRegularExpression design(u"^\\d+: ((Label|Combo|Check|Line|Shape|Picture|Timer|Drive|Dir|File)\\d+|"
                                           "mnu\\w+|btn\\w+|cmd\\w+|lbl\\w+|picIcon|setTime|setImg|setPic|frmAbout|"
                                           "mainForm|dial[AB])$"_s);
    return heard.objects.filter(design);
}

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

    ClockModel m_clock;
    QByteArray m_zone;

    std::unique_ptr<MainWindow> start(const QByteArray &settings)
    {
        [&] {
            QVERIFY(m_folder->write(u"setTime.properties"_s, settings));
        }();
        m_clock.setState(ClockState());
        auto mainWindow = std::make_unique<MainWindow>(m_folder->dir(), m_clock);
        mainWindow->load();
        mainWindow->show();
        mainWindow->activateWindow();
        mainWindow->findChild<DialPair *>()->tick();
        return QTest::qWaitForWindowActive(mainWindow.get()) ? std::move(mainWindow) : nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        WindowTest::initTestCase();
        // The dials compare their date and hours with the computer's clock: a computer in Japan.
        m_zone = qgetenv("TZ");
        qputenv("TZ", "Asia/Tokyo");
        tzset();
    }
    void cleanupTestCase()
    {
        qputenv("TZ", m_zone);
        tzset();
    }

    void dialsAreHeardAsClocksWithTheirCitiesAndTimes()
    {
        FixedClock clock(japanTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        const auto mainWindow = start("-7,\"Berlin\",-17,\"Los Angels\",#TRUE#,#FALSE#");
        QVERIFY(mainWindow);
        Heard heard = heardOf(mainWindow.get());
        QCOMPARE(designNames(heard), QStringList());
        for (const QString &object :
             {heardAs(DialRole, u"時計 A: Berlin"_s), heardAs(DialRole, u"時計 B: Los Angels"_s),
              heardAs(QAccessible::Graphic, u"時計の間の画像"_s), heardAs(QAccessible::ComboBox, u"時計 B の都市"_s)})
            QVERIFY2(heard.objects.contains(object), qPrintable(object));
        // The clocks speak for their numerals, times, captions and tags.
        QVERIFY(heard.objects.filter(u"15$"_s).isEmpty());
        QCOMPARE(heard.descriptions,
                 (QStringList{u"03:00:15 サマータイム, このコンピューターより 7 時間遅れ"_s,
                              u"17:00:15, 12月5日 (前日), このコンピューターより 17 時間遅れ"_s}));
        // The tooltip says the same of a dial, with its city.
        QWidget *surface = mainWindow->centralWidget();
        QHelpEvent help(QEvent::ToolTip, QPoint(330, 200), surface->mapToGlobal(QPoint(330, 200)));
        QApplication::sendEvent(surface, &help);
        QCOMPARE(QToolTip::text(), u"Los Angels: 12月5日 (前日), このコンピューターより 17 時間遅れ"_s);
        QToolTip::hideText();

        // The times follow the ticks, the cities the model.
        clock.advance(1);
        mainWindow->findChild<DialPair *>()->tick();
        m_clock.chooseCity(Dial::B, 0);
        heard = heardOf(mainWindow.get());
        QVERIFY(heard.objects.contains(heardAs(DialRole, u"時計 B: Tokyo"_s)));
        QCOMPARE(heard.descriptions.value(0), u"03:00:16 サマータイム, このコンピューターより 7 時間遅れ"_s);
        // Tab goes from the list to dial A and dial B, which shows a focus frame.
        FIND_CHILD(dialB, DialFace, mainWindow.get(), "dialB");
        FIND_CHILD(list, QComboBox, mainWindow.get(), "Combo1");
        QTest::keyClick(list, Qt::Key_Tab);
        QTest::keyClick(mainWindow->focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialB);
        const QImage framed = dialB->grab().toImage();
        QCOMPARE_NE(framed.pixelColor(3, dialB->height() / 2), framed.pixelColor(1, dialB->height() / 2));
    }

    void dialogsNameEveryControlInWords_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("objects"); // among what is heard
        QTest::newRow("clock settings") << "setTime"
                                        << QStringList{heardAs(QAccessible::CheckBox, u"時計 A のサマータイム"_s),
                                                       heardAs(QAccessible::CheckBox, u"時計 B のサマータイム"_s),
                                                       heardAs(QAccessible::ComboBox, u"時計 A の都市"_s),
                                                       heardAs(QAccessible::ComboBox, u"時計 B の都市"_s),
                                                       heardAs(DialRole, u"時計 A: Tokyo"_s),
                                                       heardAs(DialRole, u"時計 B: Tokyo"_s)};
        QTest::newRow("picture") << "setImg"
                                 << QStringList{heardAs(QAccessible::ComboBox, u"ドライブ"_s),
                                                heardAs(QAccessible::List, u"フォルダー"_s),
                                                heardAs(QAccessible::List, u"画像ファイル"_s),
                                                heardAs(QAccessible::Graphic, u"プレビュー"_s)};
        QTest::newRow("About box") << "frmAbout"
                                   << QStringList{heardAs(QAccessible::Graphic, u"Horavista のアイコン"_s),
                                                  heardAs(QAccessible::PushButton, u"OK"_s)};
    }
    void dialogsNameEveryControlInWords()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, objects);
        FixedClock clock;
        std::unique_ptr<QDialog> dialog;
        if (window == u"setTime")
            dialog = std::make_unique<ClockSettingsDialog>(m_folder->dir(), m_clock);
        else if (window == u"setImg")
            dialog = std::make_unique<PictureDialog>(m_folder->dir(), DriveList::system());
        else
            dialog = std::make_unique<AboutBox>();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        const Heard heard = heardOf(dialog.get());
        QCOMPARE(designNames(heard), QStringList());
        for (const QString &object : objects)
            QVERIFY2(heard.objects.contains(object), qPrintable(object + u" among "_s + heard.objects.join(u", "_s)));
        // The map behind the clock settings' dials is described.
        QCOMPARE(heard.descriptions.filter(u"世界地図"_s).size(), int(window == u"setTime"));
    }

    void popUpMenuOpensByKeyboardAndIsAnnounced()
    {
        const auto mainWindow = start("0,\"Tokyo\",0,\"Tokyo\",#FALSE#,#FALSE#");
        QVERIFY(mainWindow);
        FIND_CHILD(list, QComboBox, mainWindow.get(), "Combo1");
        QCursor::setPos(mainWindow->frameGeometry().bottomRight() + QPoint(50, 50)); // the pointer away
        // Shift+F10 and the Menu key open the menu at the control with the focus, or at the pointer over the window.
        for (const auto &[key, modifiers, pointerOver] :
             {std::tuple{Qt::Key_Menu, Qt::NoModifier, false}, std::tuple{Qt::Key_F10, Qt::ShiftModifier, true}}) {
            if (pointerOver)
                QCursor::setPos(mainWindow->centralWidget()->mapToGlobal(QPoint(200, 10)));
            mainWindow->activateWindow(); // back from the menu before
            list->setFocus();
            QTRY_VERIFY(list->hasFocus());
            QPoint openedAt;
            QStringList entries;
            QString chosen;
            // Once the menu has opened and chosen its first entry, as a menu opened by a key does.
            QTimer::singleShot(0, [&] {
                QTimer::singleShot(0, [&] {
                    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
                    if (!menu)
                        return; // the comparisons below fail
                    openedAt = menu->pos();
                    chosen = menu->activeAction() ? menu->activeAction()->text() : QString();
                    QAccessibleInterface *heard = QAccessible::queryAccessibleInterface(menu);
                    entries << heard->text(QAccessible::Name);
                    for (int i = 0; i < heard->childCount(); ++i)
                        entries << heard->child(i)->text(QAccessible::Name);
                    menu->close();
                });
            });
            QTest::keyClick(list, key, modifiers);
            QCOMPARE(openedAt, pointerOver ? QCursor::pos() : list->mapToGlobal(list->rect().center()));
            QCOMPARE(entries, (QStringList{u"時計のメニュー"_s, u"時計設定"_s, u"画像設定"_s, QString(), u"終了"_s}));
            QCOMPARE(chosen, u"時計設定"_s);
        }
        // Alt+F opens the File menu; Ctrl+Q ends the program.
        mainWindow->activateWindow();
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        QTest::keyClick(list, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), u"mnuFile"_s);
        QApplication::activePopupWidget()->close();
        mainWindow->activateWindow();
        QTRY_VERIFY(mainWindow->isActiveWindow());
        QTest::keyClick(list, Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!mainWindow->isVisible());
    }

    void darkPaletteKeepsEveryLineAndTextLegible()
    {
        const QPalette designed = QApplication::palette();
        QPalette dark = designed;
        for (const auto &[role, colour] :
             {std::pair{QPalette::Window, QColor(0x20, 0x20, 0x20)}, std::pair{QPalette::Base, QColor(Qt::black)},
              std::pair{QPalette::Text, QColor(Qt::white)}, std::pair{QPalette::WindowText, QColor(Qt::white)},
              std::pair{QPalette::Button, QColor(0x30, 0x30, 0x30)},
              std::pair{QPalette::ButtonText, QColor(Qt::white)}})
            dark.setColor(role, colour);
        QApplication::setPalette(dark);
        FixedClock clock(japanTime(QDate(2026, 12, 6), QTime(10, 0, 15)));
        const auto mainWindow = start("-7,\"Berlin\",-17,\"Los Angels\",#TRUE#,#TRUE#");
        QVERIFY(mainWindow);
        QWidget *surface = mainWindow->centralWidget();
        const QImage shown = surface->grab().toImage();
        // Dial A's outline, minute and hour hands (03:00: up and right), every numeral, time and caption.
        QCOMPARE((QList<int>{qGray(shown.pixel(8, 60)), qGray(shown.pixel(61, 40)), qGray(shown.pixel(75, 61))}),
                 (QList<int>{255, 255, 255}));
        QList<QLabel *> texts;
        for (QLabel *label : surface->findChildren<DialText *>())
            if (label->autoFillBackground() == false) // the red tags keep their own colours
                texts << label;
        QCOMPARE(illegible(surface, texts), QStringList());
        // The clock settings' numerals, times and captions, and the About box's texts.
        QStringList unseen{u"(not opened)"_s};
        whenModalOpens([&](QWidget *dialog) {
            unseen = illegible(dialog, dialog->findChildren<QLabel *>());
            dialog->close();
        });
        FIND_CHILD(settings, QAction, mainWindow.get(), "mnuSetTime");
        settings->trigger();
        QCOMPARE(unseen, QStringList());
        AboutBox about;
        about.show();
        QCOMPARE(illegible(&about, about.findChildren<QLabel *>()), QStringList());
        QApplication::setPalette(designed);
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
