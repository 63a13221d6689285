#pragma once

#include <QtGlobal>

/**
 * The program-wide hour offsets of dial A and dial B: the hours added to the computer's clock.
 *
 * They are the only state the windows share. The settings readers, the clock-settings dialog's
 * handlers and the main window's city list write them; every tick of every open clock reads them,
 * so a change shows on all clocks at their next tick. All access is on the GUI thread.
 */
extern qint16 HourOffsetA;
extern qint16 HourOffsetB;
