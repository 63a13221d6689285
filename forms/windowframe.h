#pragma once

#include <Qt>

/**
 * @brief The frames of the program's windows: fixed in size, with a title bar and a close box.
 */
namespace WindowFrame {

/** The main window: a window menu and a minimise box too, but nothing to resize or maximise. */
inline constexpr Qt::WindowFlags Main = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
    Qt::MSWindowsFixedSizeDialogHint;

/** A dialog: a title and a close box, nothing to resize, minimise or maximise. */
inline constexpr Qt::WindowFlags Dialog = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
    Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

} // namespace WindowFrame
