#include "dials/summertimetag.h"

#include "dials/dialface.h"
#include "platform/fonts.h"

#include <QCoreApplication>
#include <QLabel>

namespace SummerTimeTag {

QLabel *make(QWidget *parent, const char *name, const QRect &pixels, Look look)
{
    const QString text = QCoreApplication::translate("SummerTimeTag", "Summer+Time");
    // The main window's tag is heard through its dial; the dialog's caption names the box beside it.
    QLabel *label = look == Look::Tag ? new DialText(text, parent) : new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(pixels);
    label->setAutoFillBackground(true);
    if (look == Look::Caption) {
        label->setFont(Fonts::font(Fonts::sansSerif(), 8.25));
        return label;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0x00, 0x00));
    palette.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0xFF));
    label->setPalette(palette);
    // Roles of their own: a child would take the surface's window-background role otherwise.
    label->setBackgroundRole(QPalette::Window);
    label->setForegroundRole(QPalette::WindowText);
    label->hide();
    return label;
}

} // namespace SummerTimeTag
