#include "settings/clocksettingslayout.h"

#include "platform/fonts.h"

namespace ClockSettingsLayout {

DialLayout dials()
{
    const QColor darkRed(0xC0, 0x00, 0x00);
    const QColor text; // invalid: the palette's text colour, black by default

    DialLayout layout;
    layout.shapes = {QRect(135, 105, 1575, 1575), QRect(180, 150, 1575, 1575), QRect(2835, 930, 1575, 1575),
                     QRect(2790, 885, 1575, 1575)};
    layout.lines = {QLineF(975, 825, 615, 1185),    QLineF(735, 1185, 1095, 825),   QLineF(855, 1185, 1215, 825),
                    QLineF(3390, 1860, 3750, 1500), QLineF(3495, 1875, 3855, 1515), QLineF(3630, 1845, 3990, 1485)};
    layout.lineColours = {darkRed, text, text, darkRed, text, text};
    // Label3 "12", Label4 "6", Label5 "3", Label6 "9", then Label7 to Label10 alike for dial B.
    layout.numerals = {QRect(840, 180, 480, 330),   QRect(900, 1380, 480, 330), QRect(1530, 795, 480, 330),
                       QRect(240, 780, 480, 330),   QRect(3480, 945, 480, 330), QRect(3555, 2145, 480, 330),
                       QRect(4170, 1575, 480, 330), QRect(2895, 1575, 480, 330)};
    layout.timeA = QRect(225, 1830, 1455, 255);
    layout.timeB = QRect(2865, 570, 1455, 255);
    layout.numeralFont = Fonts::font(Fonts::sansSerif(), 8.25);
    layout.timeFont = defaultFont();
    layout.baseA = 390;
    layout.baseBX = 3100;
    layout.baseBY = 1150;
    return layout;
}

QFont defaultFont()
{
    return Fonts::font(Fonts::sansSerif(), 9);
}

} // namespace ClockSettingsLayout
