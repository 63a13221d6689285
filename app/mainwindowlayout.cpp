#include "app/mainwindowlayout.h"

#include "platform/fonts.h"

namespace MainWindowLayout {

DialLayout dials()
{
    const QColor darkRed(0xC0, 0x00, 0x00);
    const QColor text; // invalid: the palette's text colour, black by default

    DialLayout layout;
    layout.shapes = {QRect(120, 120, 1575, 1575), QRect(165, 165, 1575, 1575), QRect(4245, 1965, 1575, 1575),
                     QRect(4200, 1920, 1575, 1575)};
    layout.lines = {QLineF(960, 840, 600, 1200),    QLineF(720, 1200, 1080, 840),   QLineF(840, 1200, 1200, 840),
                    QLineF(4800, 2895, 5160, 2535), QLineF(4905, 2910, 5265, 2550), QLineF(5040, 2880, 5400, 2520)};
    layout.lineColours = {darkRed, text, text, darkRed, text, text};
    // Label3 "12", Label4 "6", Label5 "3", Label6 "9", then Label7 to Label10 alike for dial B.
    layout.numerals = {QRect(825, 195, 480, 330),   QRect(885, 1395, 480, 330),  QRect(1515, 810, 480, 330),
                       QRect(225, 795, 480, 330),   QRect(4890, 1980, 480, 330), QRect(4965, 3180, 480, 330),
                       QRect(5565, 2610, 480, 330), QRect(4305, 2610, 480, 330)};
    layout.timeA = QRect(240, 1920, 1455, 255);
    layout.timeB = QRect(4320, 1590, 1455, 255);
    layout.numeralFont = Fonts::font(Fonts::sansSerif(), 8.25);
    layout.timeFont = Fonts::font(Fonts::japaneseGothic(), 9);
    layout.baseA = 390;
    layout.baseBX = 4500;
    layout.baseBY = 2200;
    return layout;
}

} // namespace MainWindowLayout
