#pragma once

class QComboBox;
class QString;

/** @brief The city lists of the clock windows: the 36 cities in table order, a position per city. */
namespace CityList {

/** Appends the 36 names, Tokyo first, to @p list; nothing is selected afterwards. */
void fill(QComboBox *list);

/** Selects the entry of @p city, or none when the table has no city spelled so. */
void select(QComboBox *list, const QString &city);

} // namespace CityList
