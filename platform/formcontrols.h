#pragma once

#include <QRect>
#include <QString>

#include <functional>

class QComboBox;
class QWidget;

/**
 * @brief Placing controls from their twip rectangles, and selecting list entries from code.
 *
 * A list's click handler runs on every selection, by the user or by the program. Qt tells only of
 * the user's choices (activated), so code that selects an entry goes through selectListEntry(),
 * which selects and then runs the handler, as the user's choice would.
 */
namespace FormControls {

void place(QWidget *control, const QRect &twips, int pixelTwips);

/** Position of the entry whose text equals @p text exactly (blanks and letter case count), or -1. */
int findListEntry(const QComboBox *list, const QString &text);

void selectListEntry(QComboBox *list, int index, const std::function<void()> &clickHandler);

} // namespace FormControls
