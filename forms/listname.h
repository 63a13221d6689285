#pragma once

class QComboBox;
class QString;

/**
 * Names the drop-down list @p list in words for screen readers. Some systems read a list by its chosen
 * entry and others by its label, so the name is also a label, kept hidden, with the list as its buddy.
 */
void nameList(QComboBox *list, const QString &name);
