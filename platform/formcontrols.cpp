#include "platform/formcontrols.h"

#include "platform/twips.h"

#include <QComboBox>

namespace FormControls {

void place(QWidget *control, const QRect &twips, int pixelTwips)
{
    control->setGeometry(Twips::toPixels(twips, pixelTwips));
}

int findListEntry(const QComboBox *list, const QString &text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i) == text)
            return i;
    }
    return -1;
}

void selectListEntry(QComboBox *list, int index, const std::function<void()> &clickHandler)
{
    list->setCurrentIndex(index);
    if (clickHandler)
        clickHandler();
}

} // namespace FormControls
