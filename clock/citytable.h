#pragma once

#include <QtGlobal>

#include <array>

class QComboBox;

/**
 * @brief The 36 cities a dial can show, with each city's fixed hour offset.
 *
 * The table assumes a computer whose clock shows Tokyo time: an offset is the city's standard-time
 * difference from Tokyo in whole hours. Every city list shows the names in table order, so a list
 * position is a table index.
 */
struct City
{
    const char *name;
    qint16 zoneOffset;
};

inline constexpr int CityCount = 36;

/** The table, Tokyo first, then the other 35 cities in alphabetical order. */
const std::array<City, CityCount> &cities();

/** The offset of the city at list position @p index; 0 for -1 (nothing selected) or any other position. */
qint16 zoneOffsetAt(int index);

/** Appends the 36 names, Tokyo first, to @p list; nothing is selected afterwards. */
void appendCityNames(QComboBox *list);
