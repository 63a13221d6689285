#include "platform/formmouse.h"

#include "platform/twips.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

qint16 buttonCode(Qt::MouseButtons buttons)
{
    qint16 code = 0;
    if (buttons & Qt::LeftButton)
        code |= FormMouse::LeftButton;
    if (buttons & Qt::RightButton)
        code |= FormMouse::RightButton;
    if (buttons & Qt::MiddleButton)
        code |= FormMouse::MiddleButton;
    return code;
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers)
{
    qint16 code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

} // namespace

FormMouse::FormMouse(QWidget *surface, PopUpMenu popUpMenu)
    : QObject(surface)
    , m_surface(surface)
    , m_popUpMenu(std::move(popUpMenu))
    , PixelTwips(Twips::pixelTwipsOf(surface))
{
    surface->installEventFilter(this);
    // The right button's menu is the form's own; the toolkit's context menu would come on top of it.
    surface->setContextMenuPolicy(Qt::PreventContextMenu);
}

bool FormMouse::platformMovesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool FormMouse::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_surface) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            handle(static_cast<QMouseEvent *>(event));
            event->accept();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FormMouse::handle(const QMouseEvent *event)
{
    // The pointer's place in the window is worked out from its place on the screen and where this
    // program last put the window. The position the event carries is relative to where the window
    // stood when the window system saw the pointer, which lags behind a window being dragged.
    m_pointer = event->globalPosition().toPoint();
    const QPointF pixels = m_surface->mapFromGlobal(event->globalPosition());
    const QPointF twips = Twips::toTwips(pixels, PixelTwips);
    const float x = float(twips.x());
    const float y = float(twips.y());
    const qint16 shift = shiftCode(event->modifiers());

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double click is a press like the first
        Form_MouseDown(buttonCode(event->button()), shift, x, y);
        break;
    case QEvent::MouseMove:
        Form_MouseMove(buttonCode(event->buttons()), shift, x, y);
        break;
    default:
        Form_MouseUp(buttonCode(event->button()), shift, x, y);
        break;
    }
}

void FormMouse::Form_MouseDown(qint16 Button, qint16 /*Shift*/, float X, float Y)
{
    if (Button == LeftButton) {
        Dragging = 1;
        DragX = X;
        DragY = Y;
        // Where the program may not place its own window, the platform drags it and keeps the release.
        QWindow *window = m_surface->window()->windowHandle();
        if (platformMovesWindows() && window && window->startSystemMove())
            Dragging = 0;
    } else if (Button == RightButton) {
        // The menu takes the mouse while it is open, so no release would end a drag begun before it.
        Dragging = 0;
        if (m_popUpMenu)
            m_popUpMenu(m_pointer);
    }
}

void FormMouse::Form_MouseMove(qint16 /*Button*/, qint16 /*Shift*/, float X, float Y)
{
    if (Dragging == 0)
        return;
    // Left and Top are the window's outer corner in screen twips; the sums are single precision.
    QWidget *window = m_surface->window();
    const float left = float(window->x() * PixelTwips) - DragX + X;
    const float top = float(window->y() * PixelTwips) - DragY + Y;
    window->move(Twips::toPixels(left, PixelTwips), Twips::toPixels(top, PixelTwips));
}

void FormMouse::Form_MouseUp(qint16 /*Button*/, qint16 /*Shift*/, float /*X*/, float /*Y*/)
{
    Dragging = 0;
}
