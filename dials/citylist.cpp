#include "dials/citylist.h"

#include "clock/citytable.h"

#include <QComboBox>
#include <QStringList>

namespace CityList {

void fill(QComboBox *list)
{
    QStringList names;
    names.reserve(CityCount);
    for (const City &city : cities())
        names.append(QString::fromLatin1(city.name));
    list->addItems(names);
    list->setCurrentIndex(-1);
}

void select(QComboBox *list, const QString &city)
{
    list->setCurrentIndex(cityIndex(city));
}

} // namespace CityList
