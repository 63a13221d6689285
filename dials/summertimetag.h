#pragma once

class QLabel;
class QRect;
class QWidget;

/** @brief The "Summer+Time" texts of the clock windows. */
namespace SummerTimeTag {

enum class Look {
    Tag, ///< the main window's tag under a dial: white on red, shown while the dial's summer time is on
    Caption, ///< the clock-settings dialog's caption beside a summer-time box: small type on the dialog's ground
};

/** A "Summer+Time" label named @p name at @p pixels on @p parent; a tag starts hidden. */
QLabel *make(QWidget *parent, const char *name, const QRect &pixels, Look look);

} // namespace SummerTimeTag
