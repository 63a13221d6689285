#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

/**
 * @brief The 36 cities a dial can show, with each city's fixed hour offset.
 *
 * An offset is the city's standard-time difference from Japan time in whole hours. Every city list
 * shows the names in table order, so a list position is a table index.
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

/** The name at list position @p index; empty for -1 (nothing selected) or any other position. */
QString cityNameAt(int index);

/** The position of the city spelled exactly @p name (blanks and letter case count), or -1. */
int cityIndex(const QString &name);
