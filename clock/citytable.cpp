#include "clock/citytable.h"

namespace {

// The spellings are the stored ones: the settings file holds these names, so they never change.
constexpr std::array<City, CityCount> CityTable = {{
    {"Tokyo", 0},           {"Bangkok", -2},      {"Beijing", -1},      {"Berlin", -8},          {"Cairo", -7},
    {"Chicago ", -15},      {"Dublin", -9},       {"Helsinki", -7},     {"Hong Kong", -1},       {"Honolulu", -19},
    {"Jakarta", -2},        {"Johannesburg", -7}, {"London", -9},       {"Los Angels", -17},     {"Madrid", -8},
    {"Manila", -1},         {"Melbourne", 1},     {"Mexico City", -15}, {"Moscow", -6},          {"Nairobi", -6},
    {"New York", -14},      {"Oslo", -8},         {"Paris", -8},        {"Rio de Janeiro", -12}, {"Rome", -8},
    {"San Francisco", -17}, {"Seoul", 0},         {"Shanghai", -1},     {"Singapore", -1},       {"Sydney", 1},
    {"Taipei", -1},         {"Toronto", -14},     {"Vancouver", -17},   {"Washigton DC", -14},   {"Wellington", 3},
    {"Zurich", -8},
}};

bool inTable(int index)
{
    return index >= 0 && index < CityCount;
}

} // namespace

const std::array<City, CityCount> &cities()
{
    return CityTable;
}

qint16 zoneOffsetAt(int index)
{
    return inTable(index) ? CityTable[std::size_t(index)].zoneOffset : qint16(0);
}

QString cityNameAt(int index)
{
    return inTable(index) ? QString::fromLatin1(CityTable[std::size_t(index)].name) : QString();
}

int cityIndex(const QString &name)
{
    for (int i = 0; i < CityCount; ++i) {
        if (name == QLatin1String(CityTable[std::size_t(i)].name))
            return i;
    }
    return -1;
}
