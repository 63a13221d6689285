#include "forms/basecolours.h"
#include "forms/menustyle.h"
#include "forms/picturebox.h"
#include "forms/twips.h"
#include "testsupport.h"

#include <QMenuBar>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

class TestForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void twipsAndTheirPixels()
    {
        // Halves go to the even neighbour: 7.5 and 12.5 twips a pixel at 192 and 115.2 dpi.
        QCOMPARE(Twips::roundHalfEven(-1.5), -2);
        QCOMPARE(Twips::pixelTwips(96), 15);
        QCOMPARE(Twips::pixelTwips(192), 8);
        QCOMPARE(Twips::pixelTwips(115.2), 12);
        QCOMPARE(Twips::pixelTwips(0), 15);
        // 4305 / 12 = 358.75 and 1455 / 12 = 121.25: each value on its own to the nearest pixel, table or not.
        const std::array<QRect, 2> table{QRect(4305, 1335, 1455, 255), QRect(120, 120, 1575, 1575)};
        QCOMPARE(Twips::toPixels(table[0], 12), QRect(359, 111, 121, 21));
        QCOMPARE(Twips::toPixels(table, 12)[0], QRect(359, 111, 121, 21));
        QCOMPARE(Twips::toPixels(table, 15)[1], QRect(8, 8, 105, 105));
    }

    void pictureBoxShowsNaturalSizeFromTheCorner()
    {
        QImage picture(30, 5, QImage::Format_RGB32);
        picture.fill(Qt::red);
        PictureBox box(nullptr, PictureBox::Border::None);
        box.resize(20, 10);
        box.setPicture(picture);
        const QImage shown = box.grab().toImage();
        // Cut off at the box's edge, not shrunk nor centred; the background below it, and everywhere once cleared.
        const QColor background = box.palette().color(QPalette::Base);
        QCOMPARE(shown.pixelColor(0, 0), QColor(Qt::red));
        QCOMPARE(shown.pixelColor(19, 4), QColor(Qt::red));
        QCOMPARE(shown.pixelColor(0, 5), background);
        box.clearPicture();
        QCOMPARE(box.grab().toImage().pixelColor(0, 0), background);
    }

    void menusUnderlineTheirLettersOnlyWhileAltIsHeld()
    {
        MenuStyle style; // on a style that underlines them always
        QMenuBar bar;
        QMenu menu;
        QCOMPARE(style.styleHint(QStyle::SH_UnderlineShortcut, nullptr, &bar), 0);
        QCOMPARE(style.styleHint(QStyle::SH_UnderlineShortcut, nullptr, &menu), 0);
    }

    void designedWhiteWindowsFollowThePalette()
    {
        // Their ground and text take the palette's base and text colours, again when the desktop's palette changes
        // (switched to high contrast while the window is open).
        QWidget window;
        BaseColours::apply(&window);
        QCOMPARE(window.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Base));
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([&original] { QApplication::setPalette(original); });
        QPalette dark = original;
        dark.setColor(QPalette::Base, Qt::black);
        dark.setColor(QPalette::Text, Qt::white);
        QApplication::setPalette(dark);
        QTRY_COMPARE(window.palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(window.palette().color(QPalette::WindowText), QColor(Qt::white));
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
