#pragma once

class QWidget;

/**
 * @brief The program's windows are drawn on the palette's base colour (white by default), with text in
 * its text colour: under any palette, dark or high contrast, what is drawn stays legible.
 */
namespace BaseColours {

/**
 * Makes @p widget's window and window-text colours, and so its children's, the program palette's base and
 * text colours, now and whenever the program's palette changes.
 */
void apply(QWidget *widget);

} // namespace BaseColours
