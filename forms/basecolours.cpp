#include "forms/basecolours.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

void setBaseColours(QWidget *widget)
{
    const QPalette program = QApplication::palette(widget);
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, program.color(group, QPalette::Base));
        palette.setColor(group, QPalette::WindowText, program.color(group, QPalette::Text));
    }
    widget->setPalette(palette);
}

/** Sets the colours again when the program's palette changes (a desktop switched to high contrast). */
class PaletteFollower : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange)
            setBaseColours(static_cast<QWidget *>(watched));
        return false;
    }
};

} // namespace

namespace BaseColours {

void apply(QWidget *widget)
{
    setBaseColours(widget);
    widget->installEventFilter(new PaletteFollower(widget));
}

} // namespace BaseColours
