#include "forms/menustyle.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>

int MenuStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                         QStyleHintReturn *returnData) const
{
    if (hint == SH_UnderlineShortcut && (qobject_cast<const QMenuBar *>(widget) || qobject_cast<const QMenu *>(widget)))
        return QApplication::keyboardModifiers().testFlag(Qt::AltModifier) ? 1 : 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
