#include "forms/listname.h"

#include <QComboBox>
#include <QLabel>

void nameList(QComboBox *list, const QString &name)
{
    list->setAccessibleName(name);
    auto *label = new QLabel(name, list->parentWidget());
    label->setBuddy(list);
    label->hide();
}
